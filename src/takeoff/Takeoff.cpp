#include "takeoff/Takeoff.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace Takeoff {

namespace {

const QString kAreas = QStringLiteral("Areas");
const QString kLineal = QStringLiteral("Lineal");

} // namespace

void addArea(AppContext& ctx, const Area& a) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("insert into TempAreas(AreaID,Pitch,Shape,Width1,Width2,Height,"
                                 "Total) values(0,0,?,?,?,?,?)"),
                  {a.shape, a.width1, a.width2, a.height, a.total});
}

void updateArea(AppContext& ctx, qint64 id, const Area& a) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("update tempareas set shape=?, pitch=0, width1=?, width2=?, "
                                 "height=?, total=? where id=?"),
                  {a.shape, a.width1, a.width2, a.height, a.total, id});
}

void deleteArea(AppContext& ctx, const RowIds& row) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    // The stored id as the working row has it, whatever the caller saw.
    const qint64 stored =
        modData::scalar(db, QStringLiteral("select AreaID from tempareas where id=?"), {row.id})
            .toLongLong();
    PendingDeletes::mark(db, kAreas, stored);
    modData::exec(db, QStringLiteral("delete from tempareas where id=?"), {row.id});
}

std::optional<Area> area(AppContext& ctx, qint64 id) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select shape,width1,width2,height,total from tempareas where id=?"), {id});
    if (!q.next())
        return std::nullopt;
    return Area{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                q.value(4).toInt()};
}

void addLineal(AppContext& ctx, const Lineal& l) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("Insert into templineal(linealid,type,name,length,total) "
                                 "values(0,?,?,?,?)"),
                  {l.type, l.name, l.length, l.total});
}

void updateLineal(AppContext& ctx, qint64 id, const Lineal& l) {
    modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("update templineal set name=?, type=?, length=?, total=? where id=?"),
        {l.name, l.type, l.length, l.total, id});
}

void deleteLineal(AppContext& ctx, const RowIds& row) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    const qint64 stored =
        modData::scalar(db, QStringLiteral("select LinealID from templineal where id=?"), {row.id})
            .toLongLong();
    PendingDeletes::mark(db, kLineal, stored);
    modData::exec(db, QStringLiteral("delete from templineal where id=?"), {row.id});
}

std::optional<Lineal> lineal(AppContext& ctx, qint64 id) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select type,name,length,total from templineal where id=?"), {id});
    if (!q.next())
        return std::nullopt;
    return Lineal{q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt(),
                  q.value(3).toInt()};
}

void setQuickFigure(AppContext& ctx, const QuickFigure& f) {
    const QVariantList values = {f.pitch, f.width1, f.height, f.total};
    const int rows =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select count(*) from tempareas"))
            .toInt();
    if (rows == 0) {
        modData::exec(
            ctx, ctx.TempDBConn,
            QStringLiteral("insert into tempareas(pitch,width1,height,total) values(?,?,?,?)"),
            values);
        return;
    }
    const QVariant id =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select max(id) from tempareas"));
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("update tempareas set pitch=?, width1=?, height=?, total=? "
                                 "where id=?"),
                  values + QVariantList{id});
}

void clearAreas(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    QSqlQuery stored =
        modData::exec(db, QStringLiteral("select AreaID from tempareas where AreaID > 0"));
    QList<qint64> ids;
    while (stored.next())
        ids << stored.value(0).toLongLong();
    for (qint64 id : ids)
        PendingDeletes::mark(db, kAreas, id);
    modData::exec(db, QStringLiteral("DELETE from tempareas"));
}

std::optional<QuickFigure> singleTotalArea(AppContext& ctx) {
    if (modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select count(*) from TempAreas"))
            .toInt() != 1)
        return std::nullopt;
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select pitch,width1,height,total from TempAreas order by ID limit 1"));
    if (!q.next() || q.value(0).toInt() == 0)
        return std::nullopt;
    return QuickFigure{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(),
                       q.value(3).toInt()};
}

RoofTotals withTotal(qint64 area, qint64 other) {
    return RoofTotals{area, other, area + other};
}

RoofTotals totals(AppContext& ctx) {
    // With nothing measured a side is 0: a deleted area must not stay counted (a "%" lineal
    // item reads Roof Area).
    const qint64 area =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select sum(total) from tempareas"))
            .toLongLong();
    const qint64 other =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select sum(total) from templineal"))
            .toLongLong();
    return withTotal(area, other);
}

void showAreas(AppContext& ctx, QueryModel& model) {
    model.show(ctx.TempDBConn,
               QStringLiteral("select ID,areaid,shape,width1,width2,height,total from tempareas"),
               {},
               {{QStringLiteral("ID")},
                {QStringLiteral("AreaID")},
                {QStringLiteral("Shape")},
                {QStringLiteral("Width 1")},
                {QStringLiteral("Width 2")},
                {QStringLiteral("Height")},
                {QStringLiteral("Total")}});
}

void showLineals(AppContext& ctx, QueryModel& model) {
    model.show(ctx.TempDBConn,
               QStringLiteral("select ID,linealid,type,name,length,total from templineal"), {},
               {{QStringLiteral("ID")},
                {QStringLiteral("LinID")},
                {QStringLiteral("Type")},
                {QStringLiteral("Name")},
                {QStringLiteral("Length")},
                {QStringLiteral("Total")}});
}

namespace {

const QString kAreaColumns = QStringLiteral("ID,AreaID,Shape,Pitch,Width1,Width2,Height,Total");
const QString kLinealColumns = QStringLiteral("ID,LinealID,Type,Name,Length,Total");

QList<QVariantList> rows(QSqlDatabase db, const QString& table, const QString& columns) {
    QSqlQuery q =
        modData::exec(db, QStringLiteral("select %1 from %2 order by ID").arg(columns, table));
    QList<QVariantList> out;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        out << row;
    }
    return out;
}

void putBack(QSqlDatabase db, const QString& table, const QString& columns,
             const QList<QVariantList>& rows) {
    modData::exec(db, QStringLiteral("delete from %1").arg(table));
    const QString marks = QStringList(columns.count(u',') + 1, QStringLiteral("?")).join(u',');
    for (const QVariantList& row : rows)
        modData::exec(
            db, QStringLiteral("insert into %1(%2) values(%3)").arg(table, columns, marks), row);
}

} // namespace

Snapshot snapshot(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    Snapshot s;
    s.areas = rows(db, QStringLiteral("TempAreas"), kAreaColumns);
    s.lineals = rows(db, QStringLiteral("TempLineal"), kLinealColumns);
    for (const PendingDeletes::Entry& e : PendingDeletes::all(db))
        if (e.table == kAreas || e.table == kLineal)
            s.pending << e;
    return s;
}

void restore(AppContext& ctx, const Snapshot& s) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    putBack(db, QStringLiteral("TempAreas"), kAreaColumns, s.areas);
    putBack(db, QStringLiteral("TempLineal"), kLinealColumns, s.lineals);
    for (const PendingDeletes::Entry& e : PendingDeletes::all(db))
        if (e.table == kAreas || e.table == kLineal)
            PendingDeletes::unmark(db, e.table, e.storedId);
    for (const PendingDeletes::Entry& e : s.pending)
        PendingDeletes::mark(db, e.table, e.storedId);
    t.commit();
}

Change::Change(AppContext& ctx, const QString& text, const QString& procedure,
               std::function<void()> change, Refresh refresh)
    : WorkCommand(*ctx.prompt, text, procedure, Guard::form("frmCorvanel"), std::move(refresh)),
      ctx_(ctx), change_(std::move(change)) {}

void Change::apply() {
    if (made_) {
        restore(ctx_, after_);
        return;
    }
    before_ = snapshot(ctx_);
    {
        QSqlDatabase db = modData::db(ctx_, ctx_.TempDBConn);
        modData::Transaction t(db);
        change_();
        t.commit();
    }
    after_ = snapshot(ctx_);
    made_ = true;
}

void Change::revert() {
    restore(ctx_, before_);
}

} // namespace Takeoff
