#include "takeoff/Takeoff.h"

#include "common/AppContext.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace Takeoff {
namespace {

// A working row goes, and its stored copy with it when there is one. Each statement reports its
// own failure; the working row goes even when its stored copy could not.
bool deleteRow(AppContext& ctx, const RowIds& row, const QString& stored, const QString& working) {
    bool ok = true;
    if (row.stored != 0 && !ctx.EstConn.isEmpty())
        ok = modData::ActionQuery(ctx, QStringLiteral("delete from %1 where id=?").arg(stored),
                                  {row.stored}, ctx.EstConn);
    return modData::ActionQuery(ctx, QStringLiteral("delete from %1 where id=?").arg(working),
                                {row.id}, ctx.TempDBConn) &&
           ok;
}

} // namespace

bool addArea(AppContext& ctx, const Area& a) {
    return modData::ActionQuery(ctx,
                                QStringLiteral("insert into TempAreas(AreaID,Pitch,Shape,Width1,"
                                               "Width2,Height,Total) values(0,0,?,?,?,?,?)"),
                                {a.shape, a.width1, a.width2, a.height, a.total}, ctx.TempDBConn);
}

bool updateArea(AppContext& ctx, qint64 id, const Area& a) {
    return modData::ActionQuery(ctx,
                                QStringLiteral("update tempareas set shape=?, pitch=0, width1=?, "
                                               "width2=?, height=?, total=? where id=?"),
                                {a.shape, a.width1, a.width2, a.height, a.total, id},
                                ctx.TempDBConn);
}

bool deleteArea(AppContext& ctx, const RowIds& row) {
    return deleteRow(ctx, row, QStringLiteral("areas"), QStringLiteral("tempareas"));
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

bool addLineal(AppContext& ctx, const Lineal& l) {
    return modData::ActionQuery(ctx,
                                QStringLiteral("Insert into templineal(linealid,type,name,length,"
                                               "total) values(0,?,?,?,?)"),
                                {l.type, l.name, l.length, l.total}, ctx.TempDBConn);
}

bool updateLineal(AppContext& ctx, qint64 id, const Lineal& l) {
    return modData::ActionQuery(
        ctx, QStringLiteral("update templineal set name=?, type=?, length=?, total=? where id=?"),
        {l.name, l.type, l.length, l.total, id}, ctx.TempDBConn);
}

bool deleteLineal(AppContext& ctx, const RowIds& row) {
    return deleteRow(ctx, row, QStringLiteral("lineal"), QStringLiteral("templineal"));
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

void clearAreas(AppContext& ctx, bool estimateStored) {
    if (estimateStored)
        modData::exec(ctx, ctx.EstConn, QStringLiteral("delete from areas"));
    modData::exec(ctx, ctx.TempDBConn, QStringLiteral("DELETE from tempareas"));
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

} // namespace Takeoff
