#include "catalogue/LaborRates.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace LaborRates {

std::array<float, 4> DefaultPercents(AppContext& ctx) {
    static const char* keys[4] = {"Fringe", "WorkComp", "EmpTaxes", "OtherCosts"};
    std::array<float, 4> out{};
    for (int i = 0; i < 4; ++i)
        out[i] =
            float(Numbers::value(ctx.settings->get(QStringLiteral("Op"), QLatin1String(keys[i]))));
    return out;
}

double Burden(double base, double percent) {
    return base * (percent * 0.01);
}

double RoundBurden(double v) {
    return Numbers::roundHalfEven(v, 3);
}

std::optional<Rates> Load(AppContext& ctx, std::int32_t costID) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("select baserate,fringe,workcomp,taxes,other from "
                                               "laborcost where costid=?"),
                                {costID});
    if (!q.next())
        return std::nullopt;
    auto m = [&](int i) { return Money::fromRaw(q.value(i).toLongLong()); };
    return Rates{m(0), m(1), m(2), m(3), m(4)};
}

std::optional<JobTitle> LoadJobTitle(AppContext& ctx, std::int32_t costID) {
    QSqlQuery q =
        modData::exec(ctx, ctx.CostConn,
                      QStringLiteral("select costname,descrip from costitem where id=?"), {costID});
    if (!q.next())
        return std::nullopt;
    JobTitle t{q.value(0).toString(), std::nullopt};
    if (!q.value(1).isNull())
        t.notes = q.value(1).toString();
    return t;
}

std::int32_t CreateJobTitle(AppContext& ctx, const QString& title) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    QSqlQuery ins = modData::exec(db,
                                  QStringLiteral("insert into costitem(costtype,cat,costname,unit,"
                                                 "amount) values('Labor','Hourly',?,'hr',0)"),
                                  {title});
    const auto id = std::int32_t(ins.lastInsertId().toLongLong());
    modData::exec(db,
                  QStringLiteral("insert into laborcost(costid,baserate,fringe,workcomp,taxes,"
                                 "other) values(?,0,0,0,0,0)"),
                  {id});
    t.commit();
    return id;
}

void Save(AppContext& ctx, std::int32_t costID, const Rates& r, const QString& notes) {
    auto raw = [](Money m) { return QVariant::fromValue<qlonglong>(m.raw()); };
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    modData::exec(
        db,
        QStringLiteral("UPDATE laborcost set baserate=?, fringe=?, workcomp=?, taxes=?, "
                       "other=? where costid=?"),
        {raw(r.base), raw(r.fringe), raw(r.workcomp), raw(r.taxes), raw(r.other), costID});
    modData::exec(db, QStringLiteral("UPDATE costitem set descrip=?, amount=? where ID=?"),
                  {notes, raw(r.total().roundedToCents()), costID});
    t.commit();
}

} // namespace LaborRates
