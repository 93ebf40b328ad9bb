#include "pricing/modGrid.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlError>
#include <QSqlQuery>
#include <vector>

namespace modGrid {
namespace {

const QString kModule = Guard::module("modGrid");

QSqlQuery prepared(QSqlDatabase db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw modData::SqlError::from(q.lastError());
    return q;
}

void run(QSqlQuery& q, const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec())
        throw modData::SqlError::from(q.lastError());
}

QVariant money(Money m) {
    return qlonglong(m.raw());
}

} // namespace

void AddLineItem(AppContext& ctx, const QString& mode, std::int32_t lineID,
                 const CurItemRecord& item) {
    bool changed = false;
    Guard::run(*ctx.prompt, QStringLiteral("AddLineItem"), kModule, [&] {
        const CurItemRecord& c = item;
        if (mode == QLatin1String("add")) {
            modData::exec(
                ctx, ctx.TempDBConn,
                QStringLiteral("insert into tpLineItems(EstID,ItemID,SecOrder,Sect,Name,"
                               "ItemTable,Qty,Unit,Cost,LineTotal) values(?,?,?,?,?,?,?,?,?,?)"),
                {ctx.EstID, c.ItemID, c.SecOrder, c.Sect, c.Name, c.ItemTable, c.Qty, c.Unit,
                 money(c.Cost), money(c.LineTotal)});
        } else if (mode == QLatin1String("edit")) {
            modData::exec(ctx, ctx.TempDBConn,
                          QStringLiteral("update tpLineItems set ItemID=?, SecOrder=?, Sect=?, "
                                         "Name=?, ItemTable=?, Qty=?, Unit=?, Cost=?, LineTotal=? "
                                         "where autoID=?"),
                          {c.ItemID, c.SecOrder, c.Sect, c.Name, c.ItemTable, c.Qty, c.Unit,
                           money(c.Cost), money(c.LineTotal), lineID});
        } else if (mode == QLatin1String("delete")) {
            // The stored copy of an opened estimate goes at once; a line never saved has 0.
            const qlonglong stored =
                modData::scalar(ctx, ctx.TempDBConn,
                                QStringLiteral("select LineItemID from tpLineItems where autoID=?"),
                                {lineID})
                    .toLongLong();
            if (ctx.WorkMode == Mode::Open && stored > 0)
                modData::exec(ctx, ctx.EstConn, QStringLiteral("delete from LineItems where ID=?"),
                              {stored});
            modData::exec(ctx, ctx.TempDBConn,
                          QStringLiteral("delete from tpLineItems where autoID=?"), {lineID});
        } else {
            return;
        }
        changed = true;
    });
    if (changed)
        RePopGrid(ctx);
}

std::optional<LineToEdit> LoadLineToEdit(AppContext& ctx, std::int32_t lineID) {
    QSqlQuery q = modData::exec(ctx, ctx.TempDBConn,
                                QStringLiteral("select autoid,itemtable,itemid,qty,unit,name,"
                                               "cost,sect from tplineitems where autoid=?"),
                                {lineID});
    if (!q.next())
        return std::nullopt;
    LineToEdit l;
    l.lineID = q.value(0).toString();
    l.itemTable = q.value(1).toString();
    l.itemID = q.value(2).toString();
    l.qty = q.value(3).toString();
    l.unit = q.value(4).toString();
    l.name = q.value(5).toString();
    l.cost = Money::fromRaw(q.value(6).toLongLong());
    l.sect = q.value(7).toString();
    return l;
}

bool GridHasLine(AppContext& ctx, std::int32_t lineID) {
    return modData::RecordExists(ctx, lineID, QStringLiteral("tplineitemid"),
                                 QStringLiteral("estigrid"), ctx.TempDBConn);
}

void RePopGrid(AppContext& ctx) {
    Guard::run(*ctx.prompt, QStringLiteral("RePopGrid"), kModule, [&] {
        QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
        modData::Transaction t(db);
        modData::exec(db, QStringLiteral("delete from EstiGrid"));
        // Sections that have lines, in their order.
        QSqlQuery sections = modData::exec(
            db, QStringLiteral("select SecDesc, SecOrder from TempSect where SecOrder in (select "
                               "SecOrder from tpLineItems) group by SecOrder order by SecOrder"));
        struct Section {
            QString desc;
            qlonglong order;
        };
        std::vector<Section> list;
        while (sections.next())
            list.push_back({sections.value(0).toString(), sections.value(1).toLongLong()});
        sections.finish();

        QSqlQuery lines = prepared(
            db, QStringLiteral("select autoID,Name,ItemTable,Qty,Unit,Cost,LineTotal,LineItemID "
                               "from tpLineItems where SecOrder=? order by ItemID, autoID"));
        QSqlQuery heading = prepared(db, QStringLiteral("insert into EstiGrid(Name) values(?)"));
        QSqlQuery item = prepared(
            db, QStringLiteral("insert into EstiGrid(tpLineItemID,Name,ItemTable,Qty,Unit,Cost,"
                               "LineTotal,LineItemID,SecOrder) values(?,?,?,?,?,?,?,?,?)"));
        QSqlQuery total = prepared(
            db, QStringLiteral("insert into EstiGrid(Name,SubTotal,SecOrder) values(?,?,?)"));
        const QString separator = QStringLiteral("     * * * * * * * * * *");
        for (const Section& s : list) {
            run(heading, {s.desc});
            run(lines, {s.order});
            qlonglong sum = 0;
            std::vector<QVariantList> rows;
            while (lines.next()) {
                sum += lines.value(6).toLongLong();
                rows.push_back({lines.value(0), lines.value(1), lines.value(2), lines.value(3),
                                lines.value(4), lines.value(5), lines.value(6), lines.value(7),
                                s.order});
            }
            lines.finish();
            for (const QVariantList& r : rows)
                run(item, r);
            run(total, {QStringLiteral("Total for ") + s.desc, sum, s.order});
            run(heading, {separator});
        }
        t.commit();
    });
}

void ShowEstiGrid(AppContext& ctx, QueryModel& model) {
    model.show(ctx.TempDBConn,
               QStringLiteral("select tpLineItemID,Name,ItemTable,Qty,Unit,Cost,LineTotal,"
                              "SubTotal from EstiGrid order by autoID asc"),
               {},
               {{QStringLiteral("ID")},
                {QStringLiteral("Name")},
                {QStringLiteral("Type")},
                {QStringLiteral("Qty")},
                {QStringLiteral("Unit")},
                {QStringLiteral("Cost"), true},
                {QStringLiteral("Line Total"), true},
                {QStringLiteral("Sub Total"), true}});
}

void SaveLineItem(AppContext& ctx, const QString& mode, std::int32_t id, std::int32_t itemID,
                  const QString& sect, std::int32_t secOrder, const QString& name,
                  const QString& itemTable, std::int32_t qty, const QString& unit, Money cost,
                  Money lineTotal) {
    if (mode == QLatin1String("insert")) {
        modData::exec(
            ctx, ctx.EstConn,
            QStringLiteral("insert into LineItems(ItemTable,ItemID,Sect,SecOrder,Qty,"
                           "Unit,Name,Cost,LineTotal) values(?,?,?,?,?,?,?,?,?)"),
            {itemTable, itemID, sect, secOrder, qty, unit, name, money(cost), money(lineTotal)});
    } else if (mode == QLatin1String("update")) {
        modData::exec(ctx, ctx.EstConn,
                      QStringLiteral("update LineItems set ItemTable=?, ItemID=?, Sect=?, "
                                     "SecOrder=?, Qty=?, Unit=?, Name=?, Cost=?, LineTotal=? "
                                     "where ID=?"),
                      {itemTable, itemID, sect, secOrder, qty, unit, name, money(cost),
                       money(lineTotal), id});
    }
}

} // namespace modGrid
