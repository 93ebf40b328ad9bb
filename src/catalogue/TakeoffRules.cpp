#include "catalogue/TakeoffRules.h"

#include "common/AppContext.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace TakeoffRules {
namespace {
QString tableOf(bool unitItem) {
    return unitItem ? QStringLiteral("costunit") : QStringLiteral("costitem");
}
} // namespace

std::optional<TakeoffRule::Rule> ruleOf(AppContext& ctx, bool unitItem, std::int32_t id) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("select measure, kinds, amount, permeasure from "
                                               "takeoffrule where itemtable=? and itemid=?"),
                                {tableOf(unitItem), id});
    if (!q.next())
        return std::nullopt;
    return TakeoffRule::Rule{TakeoffRule::Measure(q.value(0).toInt()), q.value(1).toInt(),
                             q.value(2).toLongLong(), q.value(3).toInt() != 0};
}

void setRule(AppContext& ctx, bool unitItem, std::int32_t id, const TakeoffRule::Rule& r) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    modData::exec(db, QStringLiteral("delete from takeoffrule where itemtable=? and itemid=?"),
                  {tableOf(unitItem), id});
    if (r.measure != TakeoffRule::Measure::None && r.amount > 0)
        modData::exec(db,
                      QStringLiteral("insert into takeoffrule(itemtable,itemid,measure,kinds,"
                                     "amount,permeasure) values(?,?,?,?,?,?)"),
                      {tableOf(unitItem), id, int(r.measure), r.kinds, qlonglong(r.amount),
                       int(r.perMeasure)});
    t.commit();
}

std::optional<TakeoffRule::Proposal> proposal(AppContext& ctx, bool unitItem, std::int32_t id,
                                              const QString& unit) {
    // A proposal is a help, never a hindrance: a catalogue or roof that cannot be read (no
    // estimate in work, say) proposes nothing and the user types the quantity.
    try {
        const std::optional<TakeoffRule::Rule> r = ruleOf(ctx, unitItem, id);
        if (!r)
            return std::nullopt;
        return TakeoffRule::propose(*r, TakeoffRule::measures(ctx), unit);
    } catch (const modData::SqlError&) {
        return std::nullopt;
    }
}

} // namespace TakeoffRules
