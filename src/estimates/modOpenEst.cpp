#include "estimates/modOpenEst.h"

#include "common/AppContext.h"
#include "estimates/EstFacts.h"
#include "pricing/Sections.h"
#include "pricing/modGrid.h"
#include "storage/modData.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace modOpenEst {

OwnerRecord OpenOwner(AppContext& ctx, std::int32_t id) {
    OwnerRecord r;
    QSqlQuery m = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("select estname,esttype,estpath,eststatus from master where id=?"), {id});
    if (!m.next())
        throw modData::SqlError::message(
            QStringLiteral("There is no estimate with the ID %1").arg(id));
    r.estName = m.value(0).toString();
    r.estType = m.value(1).toString();
    r.estPath = m.value(2).toString();
    r.status = m.value(3).toString();
    ctx.EstName = r.estName;
    ctx.EstPath = r.estPath;
    ctx.EstConn = ctx.estimateDbPath(r.estPath);
    // Opening a missing file would create an empty database in its place.
    if (r.estPath.isEmpty() || !QFileInfo(ctx.EstConn).isFile())
        throw modData::SqlError::message(
            QStringLiteral("The database of estimate %1 is missing").arg(r.estName));
    QSqlQuery o = modData::exec(
        ctx, ctx.EstConn,
        QStringLiteral(
            "select fname,lname,address,citystzip,homeph,workph,ext from main where id=1"));
    if (!o.next())
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
    for (int k = 0; k < 7; ++k)
        r.name[k] = o.value(k).toString();
    EstFacts::markUsed(ctx, id);
    return r;
}

void OpenRoof(AppContext& ctx) {
    QSqlDatabase temp = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(temp);
    QSqlQuery a = modData::exec(
        ctx, ctx.EstConn,
        QStringLiteral("select id,shape,pitch,width1,width2,height,total,onslope,quick from areas "
                       "order by id"));
    while (a.next())
        modData::exec(temp,
                      QStringLiteral("insert into TempAreas(AreaID,Shape,Pitch,Width1,Width2,"
                                     "Height,Total,OnSlope,Quick) values(?,?,?,?,?,?,?,?,?)"),
                      {a.value(0), a.value(1), a.value(2), a.value(3), a.value(4), a.value(5),
                       a.value(6), a.value(7), a.value(8)});
    QSqlQuery l =
        modData::exec(ctx, ctx.EstConn,
                      QStringLiteral("select ID,Type,Name,Length,total from Lineal order by ID"));
    while (l.next())
        modData::exec(temp,
                      QStringLiteral("insert into TempLineal(LinealID,Type,Name,Length,Total) "
                                     "values(?,?,?,?,?)"),
                      {l.value(0), l.value(1), l.value(2), l.value(3), l.value(4)});
    // The estimate's waste percentage; none stored (an estimate of an earlier version) leaves
    // the Setup default.
    modData::exec(temp, QStringLiteral("delete from TempRoof"));
    const QVariant waste =
        modData::scalar(ctx, ctx.EstConn, QStringLiteral("select Waste from Main where ID=1"));
    if (!waste.isNull())
        modData::exec(temp, QStringLiteral("insert into TempRoof(Waste) values(?)"), {waste});
    t.commit();
}

void InsertTpLineItem(AppContext& ctx, std::int32_t lineItemID, std::int32_t itemID,
                      const QString& sect, std::int32_t secOrder, const QString& name,
                      const QString& itemTable, Quantity qty, const QString& unit, Money cost,
                      Money lineTotal, bool fromRule) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("insert into tplineitems(lineitemid,itemid,sect,secorder,name,"
                                 "itemtable,qty,unit,cost,linetotal,fromrule) "
                                 "values(?,?,?,?,?,?,?,?,?,?,?)"),
                  {lineItemID, itemID, sect, secOrder, name, itemTable, qlonglong(qty.raw()), unit,
                   qlonglong(cost.raw()), qlonglong(lineTotal.raw()), int(fromRule)});
}

void OpenLineItems(AppContext& ctx) {
    QSqlDatabase temp = modData::db(ctx, ctx.TempDBConn);
    {
        modData::Transaction t(temp);
        QSqlQuery q = modData::exec(
            ctx, ctx.EstConn,
            QStringLiteral("select id,itemid,sect,secorder,name,itemtable,qty,unit,cost,linetotal,"
                           "fromrule from lineitems order by id"));
        while (q.next())
            InsertTpLineItem(ctx, q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(),
                             q.value(3).toInt(), q.value(4).toString(), q.value(5).toString(),
                             Quantity::fromRaw(q.value(6).toLongLong()), q.value(7).toString(),
                             Money::fromRaw(q.value(8).toLongLong()),
                             Money::fromRaw(q.value(9).toLongLong()), q.value(10).toInt() != 0);
        // One section per name and position, in the stored order; each line then knows its
        // section by the section's identity.
        modData::exec(temp, QStringLiteral("insert into TempSect(SecDesc,SecOrder) select sect, "
                                           "secorder from tpLineItems group by sect, secorder "
                                           "order by secorder asc"));
        Sections::adoptLines(temp);
        t.commit();
    }
    modGrid::RePopGrid(ctx);
}

} // namespace modOpenEst
