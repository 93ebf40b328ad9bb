#include "estimates/EstFacts.h"

#include "common/AppContext.h"
#include "pricing/Totals.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <optional>
#include <vector>

namespace EstFacts {
namespace {

// The next number of the order of use: one above every estimate used so far.
const QString kNextUse = QStringLiteral("(select coalesce(max(estused), 0) + 1 from master)");

struct Gap {
    std::int32_t id;
    QString path;
};

struct Filled {
    std::int32_t id;
    QString owner;
    Money total;
};

// The owner and total of one stored estimate, read without changing its file; nothing when
// it cannot be read.
std::optional<Filled> readEstimate(AppContext& ctx, const Gap& gap) {
    if (!QFileInfo(gap.path).isFile())
        return std::nullopt;
    const bool wasOpen = ctx.connections->isOpen(gap.path);
    std::optional<Filled> out;
    {
        QSqlDatabase db = ctx.connections->readOnly(gap.path);
        if (db.isOpen()) {
            try {
                QSqlQuery q =
                    modData::exec(db, QStringLiteral("select fname,lname from main where id=1"));
                if (q.next())
                    out = Filled{gap.id, ownerName(q.value(0).toString(), q.value(1).toString()),
                                 storedTotal(db)};
            } catch (const modData::SqlError&) {
                out.reset();
            }
        }
    }
    // A read-only connection left open would serve the next save of this estimate.
    if (!wasOpen)
        ctx.connections->close(gap.path);
    return out;
}

} // namespace

QString ownerName(const QString& first, const QString& last) {
    return (first.trimmed() + QLatin1Char(' ') + last.trimmed()).trimmed();
}

Money storedTotal(QSqlDatabase estimate) {
    QSqlQuery q = modData::exec(
        estimate,
        QStringLiteral("select overhead,profit,contingency,management from main where id=1"));
    if (!q.next())
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
    QStringList admin;
    for (int i = 0; i < 4; ++i)
        admin << q.value(i).toString();
    return Totals::estimateTotal(Totals::sumStoredByType(estimate), admin);
}

void setOwner(AppContext& ctx, std::int32_t id, const QString& owner) {
    modData::exec(ctx, ctx.MastEstConn, QStringLiteral("update master set estowner=? where id=?"),
                  {owner, id});
}

void recordSave(QSqlDatabase db, const QString& schema, std::int32_t id, Money total) {
    const QString master = schema + QStringLiteral(".master");
    modData::exec(db,
                  QStringLiteral("update %1 set esttotal=?, estused=(select coalesce(max(estused), "
                                 "0) + 1 from %1) where id=?")
                      .arg(master),
                  {qlonglong(total.raw()), id});
}

void markUsed(AppContext& ctx, std::int32_t id) {
    modData::exec(ctx, ctx.MastEstConn,
                  QStringLiteral("update master set estused=") + kNextUse +
                      QStringLiteral(" where id=?"),
                  {id});
}

int fillMissing(AppContext& ctx) {
    std::vector<Gap> gaps;
    {
        QSqlQuery q = modData::exec(
            ctx, ctx.MastEstConn,
            QStringLiteral("select id, estpath from master where estpath is not null and "
                           "estpath <> '' and (esttotal is null or estowner is null)"));
        while (q.next())
            gaps.push_back({q.value(0).toInt(), ctx.estimateDbPath(q.value(1).toString())});
    }
    std::vector<Filled> filled;
    for (const Gap& g : gaps)
        if (const auto f = readEstimate(ctx, g))
            filled.push_back(*f);
    if (filled.empty())
        return 0;
    QSqlDatabase db = modData::db(ctx, ctx.MastEstConn);
    modData::Transaction t(db);
    // What is already known stays: only the gaps are filled.
    for (const Filled& f : filled)
        modData::exec(db,
                      QStringLiteral("update master set estowner=coalesce(estowner, ?), "
                                     "esttotal=coalesce(esttotal, ?) where id=?"),
                      {f.owner, qlonglong(f.total.raw()), f.id});
    t.commit();
    return int(filled.size());
}

} // namespace EstFacts
