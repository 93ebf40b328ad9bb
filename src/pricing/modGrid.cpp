#include "pricing/modGrid.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "pricing/Sections.h"
#include "storage/PendingDeletes.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlError>
#include <QSqlQuery>
#include <vector>

namespace modGrid {
namespace {

const QString kModule = Guard::module("modGrid");
const QString kLineItems = QStringLiteral("LineItems");

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
QVariant quantity(Quantity q) {
    return qlonglong(q.raw());
}

// The section a line goes into: the one it names by identity, else the one of its name (at its
// position, where two share the name), made when there is none. Its name and position are
// written into the line as the section has them.
Sections::Section sectionFor(QSqlDatabase db, const CurItemRecord& c) {
    QSqlQuery q = modData::exec(
        db,
        QStringLiteral("select SecDesc, SecOrder, autoID from TempSect where autoID=? or (?=0 "
                       "and SecDesc=?) order by autoID<>?, SecOrder<>?, autoID limit 1"),
        {c.SectID, c.SectID, c.Sect, c.SectID, c.SecOrder});
    if (q.next())
        return {q.value(0).toString(), std::int32_t(q.value(1).toLongLong()),
                q.value(2).toLongLong()};
    if (c.SectID != 0)
        throw modData::SqlError::message(QStringLiteral("The section of this line is missing"));
    const auto order = std::int32_t(
        modData::scalar(db, QStringLiteral("select coalesce(max(SecOrder) + 1, 0) from TempSect"))
            .toLongLong());
    QSqlQuery ins = modData::exec(
        db, QStringLiteral("insert into TempSect(SecDesc,SecOrder) values(?,?)"), {c.Sect, order});
    return {c.Sect, order, ins.lastInsertId().toLongLong()};
}

} // namespace

void rebuildGrid(QSqlDatabase db) {
    modData::exec(db, QStringLiteral("delete from EstiGrid"));
    Sections::adoptLines(db);
    const QList<Sections::Section> list = Sections::withLines(db);

    QSqlQuery lines = prepared(
        db, QStringLiteral("select autoID,Name,ItemTable,Qty,Unit,Cost,LineTotal,LineItemID "
                           "from tpLineItems where SectID=? order by ItemID, autoID"));
    QSqlQuery heading =
        prepared(db, QStringLiteral("insert into EstiGrid(Name,SectID) values(?,?)"));
    QSqlQuery item = prepared(
        db, QStringLiteral("insert into EstiGrid(tpLineItemID,Name,ItemTable,Qty,Unit,Cost,"
                           "LineTotal,LineItemID,SecOrder,SectID) values(?,?,?,?,?,?,?,?,?,?)"));
    QSqlQuery total = prepared(
        db, QStringLiteral("insert into EstiGrid(Name,SubTotal,SecOrder,SectID) values(?,?,?,?)"));
    const QString separator = QStringLiteral("     * * * * * * * * * *");
    for (const Sections::Section& s : list) {
        run(heading, {s.name, s.id});
        run(lines, {s.id});
        qlonglong sum = 0;
        std::vector<QVariantList> rows;
        while (lines.next()) {
            sum += lines.value(6).toLongLong();
            rows.push_back({lines.value(0), lines.value(1), lines.value(2), lines.value(3),
                            lines.value(4), lines.value(5), lines.value(6), lines.value(7),
                            s.secOrder, s.id});
        }
        lines.finish();
        for (const QVariantList& r : rows)
            run(item, r);
        run(total, {QStringLiteral("Total for ") + s.name, sum, s.secOrder, s.id});
        run(heading, {separator, QVariant()});
    }
}

namespace {

void writeLine(QSqlDatabase db, const QString& sql, const CurItemRecord& c,
               const QVariantList& extra) {
    const Sections::Section s = sectionFor(db, c);
    modData::exec(db, sql,
                  QVariantList{c.ItemID, s.secOrder, s.name, c.Name, c.ItemTable, quantity(c.Qty),
                               c.Unit, money(c.Cost), money(c.LineTotal), s.id, int(c.FromRule)} +
                      extra);
}

const QString kColumns = QStringLiteral("ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,"
                                        "LineTotal,SectID,FromRule");

} // namespace

qint64 insertLine(AppContext& ctx, const WorkingLine& l) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    writeLine(db,
              QStringLiteral("insert into tpLineItems(%1,EstID,LineItemID,autoID) "
                             "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                  .arg(kColumns),
              l.item,
              {l.id > 0 ? l.estId : qint64(ctx.EstID), l.storedId,
               l.id > 0 ? QVariant(l.id) : QVariant()});
    const qint64 id =
        modData::scalar(db, QStringLiteral("select last_insert_rowid()")).toLongLong();
    rebuildGrid(db);
    t.commit();
    return id;
}

void updateLine(AppContext& ctx, qint64 lineID, const CurItemRecord& item) {
    updateLines(ctx, {{lineID, item}});
}

void updateLines(AppContext& ctx, const QList<QPair<qint64, CurItemRecord>>& lines) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    for (const auto& [lineID, item] : lines)
        writeLine(db,
                  QStringLiteral("update tpLineItems set ItemID=?, SecOrder=?, Sect=?, Name=?, "
                                 "ItemTable=?, Qty=?, Unit=?, Cost=?, LineTotal=?, SectID=?, "
                                 "FromRule=? where autoID=?"),
                  item, {lineID});
    rebuildGrid(db);
    t.commit();
}

void deleteLine(AppContext& ctx, qint64 lineID) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    const qlonglong stored =
        modData::scalar(db, QStringLiteral("select LineItemID from tpLineItems where autoID=?"),
                        {lineID})
            .toLongLong();
    PendingDeletes::mark(db, kLineItems, stored);
    modData::exec(db, QStringLiteral("delete from tpLineItems where autoID=?"), {lineID});
    rebuildGrid(db);
    t.commit();
}

void restoreLine(AppContext& ctx, const WorkingLine& l) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    PendingDeletes::unmark(db, kLineItems, l.storedId);
    writeLine(db,
              QStringLiteral("insert into tpLineItems(%1,EstID,LineItemID,autoID) "
                             "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                  .arg(kColumns),
              l.item, {l.estId, l.storedId, l.id});
    rebuildGrid(db);
    t.commit();
}

std::optional<WorkingLine> line(AppContext& ctx, qint64 lineID) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select autoID,LineItemID,%1,EstID from tpLineItems where autoID=?")
            .arg(kColumns),
        {lineID});
    if (!q.next())
        return std::nullopt;
    WorkingLine l;
    l.id = q.value(0).toLongLong();
    l.storedId = q.value(1).toLongLong();
    CurItemRecord& c = l.item;
    c.ItemID = q.value(2).toInt();
    c.SecOrder = q.value(3).toInt();
    c.Sect = q.value(4).toString();
    c.Name = q.value(5).toString();
    c.ItemTable = q.value(6).toString();
    c.Qty = Quantity::fromRaw(q.value(7).toLongLong());
    c.Unit = q.value(8).toString();
    c.Cost = Money::fromRaw(q.value(9).toLongLong());
    c.LineTotal = Money::fromRaw(q.value(10).toLongLong());
    c.SectID = q.value(11).toLongLong();
    c.FromRule = q.value(12).toInt() != 0;
    c.Picked = true;
    l.estId = q.value(13).toLongLong();
    return l;
}

void AddLineItem(AppContext& ctx, const QString& mode, std::int32_t lineID,
                 const CurItemRecord& item) {
    Guard::run(*ctx.prompt, QStringLiteral("AddLineItem"), kModule, [&] {
        if (mode == QLatin1String("add"))
            insertLine(ctx, {0, 0, item});
        else if (mode == QLatin1String("edit"))
            updateLine(ctx, lineID, item);
        else if (mode == QLatin1String("delete"))
            deleteLine(ctx, lineID);
    });
}

std::optional<LineToEdit> LoadLineToEdit(AppContext& ctx, std::int32_t lineID) {
    const std::optional<WorkingLine> w = line(ctx, lineID);
    if (!w)
        return std::nullopt;
    LineToEdit l;
    l.lineID = QString::number(w->id);
    l.itemTable = w->item.ItemTable;
    l.itemID = QString::number(w->item.ItemID);
    l.qty = w->item.Qty;
    l.unit = w->item.Unit;
    l.name = w->item.Name;
    l.cost = w->item.Cost;
    l.lineTotal = w->item.LineTotal;
    l.sect = w->item.Sect;
    l.sectID = w->item.SectID;
    l.fromRule = w->item.FromRule;
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
        rebuildGrid(db);
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
                {QStringLiteral("Qty"), false, true},
                {QStringLiteral("Unit")},
                {QStringLiteral("Cost"), true},
                {QStringLiteral("Line Total"), true},
                {QStringLiteral("Sub Total"), true}});
}

void SaveLineItem(AppContext& ctx, const QString& mode, std::int32_t id, std::int32_t itemID,
                  const QString& sect, std::int32_t secOrder, const QString& name,
                  const QString& itemTable, Quantity qty, const QString& unit, Money cost,
                  Money lineTotal) {
    if (mode == QLatin1String("insert")) {
        modData::exec(ctx, ctx.EstConn,
                      QStringLiteral("insert into LineItems(ItemTable,ItemID,Sect,SecOrder,Qty,"
                                     "Unit,Name,Cost,LineTotal) values(?,?,?,?,?,?,?,?,?)"),
                      {itemTable, itemID, sect, secOrder, quantity(qty), unit, name, money(cost),
                       money(lineTotal)});
    } else if (mode == QLatin1String("update")) {
        modData::exec(ctx, ctx.EstConn,
                      QStringLiteral("update LineItems set ItemTable=?, ItemID=?, Sect=?, "
                                     "SecOrder=?, Qty=?, Unit=?, Name=?, Cost=?, LineTotal=? "
                                     "where ID=?"),
                      {itemTable, itemID, sect, secOrder, quantity(qty), unit, name, money(cost),
                       money(lineTotal), id});
    }
}

Money linesTotal(AppContext& ctx, qint64 exceptLineID) {
    return Money::fromRaw(modData::scalar(ctx, ctx.TempDBConn,
                                          QStringLiteral("select coalesce(sum(LineTotal),0) from "
                                                         "tpLineItems where autoID<>?"),
                                          {exceptLineID})
                              .toLongLong());
}

} // namespace modGrid
