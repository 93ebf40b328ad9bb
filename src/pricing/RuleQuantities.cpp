#include "pricing/RuleQuantities.h"

#include "catalogue/TakeoffRules.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "pricing/modGrid.h"
#include "storage/modData.h"

#include <QSqlQuery>
#include <QStringList>

namespace RuleQuantities {
namespace {

class Refresh : public WorkCommand {
public:
    Refresh(AppContext& ctx, const QList<Change>& changes, WorkCommand::Refresh refresh)
        : WorkCommand(*ctx.prompt, QStringLiteral("Refresh Quantities"),
                      QStringLiteral("cmdRefreshQty_Click"), Guard::form("frmCorvanel"),
                      std::move(refresh)),
          ctx_(ctx), changes_(changes) {}
    bool changedAnything() const override { return !changes_.isEmpty(); }

protected:
    void apply() override { put(true); }
    void revert() override { put(false); }

private:
    void put(bool after) {
        QList<QPair<qint64, CurItemRecord>> lines;
        for (const Change& c : changes_) {
            const auto line = modGrid::line(ctx_, c.lineId);
            if (!line)
                throw modData::SqlError::message(QStringLiteral("That line no longer exists"));
            CurItemRecord item = line->item;
            item.Qty = after ? c.after : c.before;
            const std::optional<Money> total = item.Cost.times(item.Qty);
            if (!total)
                throw modData::SqlError::message(
                    QStringLiteral("The total of %1 is too large to figure").arg(item.Name));
            item.LineTotal = *total;
            lines << qMakePair(c.lineId, item);
        }
        // All of them or none.
        modGrid::updateLines(ctx_, lines);
    }

    AppContext& ctx_;
    QList<Change> changes_;
};

} // namespace

QList<Change> plan(AppContext& ctx) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select autoID, ItemID, ItemTable, Name, Qty, Unit, Cost from tpLineItems "
                       "where FromRule <> 0 order by SecOrder, autoID"));
    QList<Change> out;
    while (q.next()) {
        const bool unitItem = q.value(2).toString() == QLatin1String("Unit_Item");
        const auto p =
            TakeoffRules::proposal(ctx, unitItem, q.value(1).toInt(), q.value(5).toString());
        const Quantity before = Quantity::fromRaw(q.value(4).toLongLong());
        if (!p || p->qty == before)
            continue;
        if (!Money::fromRaw(q.value(6).toLongLong()).times(p->qty))
            continue;
        out << Change{q.value(0).toLongLong(), q.value(3).toString(), before, p->qty, p->from};
    }
    return out;
}

WorkCommand* apply(AppContext& ctx, const QList<Change>& changes, WorkCommand::Refresh refresh) {
    return new Refresh(ctx, changes, std::move(refresh));
}

QString describe(const QList<Change>& changes) {
    QStringList lines;
    for (const Change& c : changes)
        lines << QStringLiteral("%1: %2 → %3 (%4)")
                     .arg(c.name, c.before.toText(), c.after.toText(), c.from);
    return lines.join(u'\n');
}

} // namespace RuleQuantities
