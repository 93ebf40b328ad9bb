#include "catalogue/UnitItems.h"

#include "common/AppContext.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QSqlQuery>

namespace UnitItems {

namespace {
QVariant raw(Money m) {
    return QVariant::fromValue<qlonglong>(m.raw());
}
QVariant text(const QString& s) {
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
}
} // namespace

double StoredQty(float qty) {
    // The float's own shortest digits, so 0.1 is kept and figured as 0.1 and not as
    // 0.100000001490116.
    return QString::number(qty, 'g', 7).toDouble();
}

Money LineTotal(Money cost, float qty) {
    return Money::fromDouble(cost.toDouble() * StoredQty(qty));
}

void Begin(AppContext& ctx) {
    modTempDB::CreateUnitDB(ctx);
}

void PopTempTable(AppContext& ctx, std::int32_t unitID) {
    QSqlDatabase work = modData::db(ctx, ctx.UnitDBConn);
    modData::Transaction t(work);
    modData::exec(work, QStringLiteral("delete from tempunit"));
    QSqlQuery q = modData::exec(
        ctx, ctx.CostConn,
        QStringLiteral("select unititems.id,unititems.itemid,unititems.itemqty,costitem.unit,"
                       "costitem.costname,costitem.amount from unititems,costitem where "
                       "costitem.id=unititems.itemid and unititems.matlaborid=? "
                       "order by unititems.id"),
        {unitID});
    while (q.next()) {
        const float qty = float(q.value(2).toDouble());
        const Money cost = Money::fromRaw(q.value(5).toLongLong());
        modData::exec(work,
                      QStringLiteral("insert into tempunit(mainid,unitid,itemid,qty,unit,name,"
                                     "cost,linetotal)values(?,?,?,?,?,?,?,?)"),
                      {q.value(0), unitID, q.value(1), StoredQty(qty), text(q.value(3).toString()),
                       text(q.value(4).toString()), raw(cost), raw(LineTotal(cost, qty))});
    }
    t.commit();
}

void AddComponent(AppContext& ctx, std::int32_t unitID, std::int32_t itemID, float qty,
                  const QString& unit, const QString& name, Money cost) {
    modData::exec(ctx, ctx.UnitDBConn,
                  QStringLiteral("insert into tempunit(mainid,unitid,itemid,qty,unit,name,cost,"
                                 "linetotal)values(0,?,?,?,?,?,?,?)"),
                  {unitID, itemID, StoredQty(qty), text(unit), text(name), raw(cost),
                   raw(LineTotal(cost, qty))});
}

void SetQty(AppContext& ctx, std::int32_t tempID, float qty) {
    QSqlQuery q =
        modData::exec(ctx, ctx.UnitDBConn,
                      QStringLiteral("select mainid,cost from tempunit where id=?"), {tempID});
    if (!q.next())
        return;
    const qlonglong mainID = q.value(0).toLongLong();
    const Money cost = Money::fromRaw(q.value(1).toLongLong());
    if (mainID != 0)
        modData::exec(ctx, ctx.CostConn,
                      QStringLiteral("UPDATE unititems set itemqty=? where ID=?"),
                      {StoredQty(qty), mainID});
    modData::exec(ctx, ctx.UnitDBConn,
                  QStringLiteral("UPDATE tempunit set qty=?, linetotal=? where id=?"),
                  {StoredQty(qty), raw(LineTotal(cost, qty)), tempID});
}

void DeleteComponent(AppContext& ctx, std::int32_t tempID) {
    const QVariant mainID = modData::scalar(
        ctx, ctx.UnitDBConn, QStringLiteral("select mainid from tempunit where id=?"), {tempID});
    if (mainID.toLongLong() != 0)
        modData::exec(ctx, ctx.CostConn, QStringLiteral("delete from unititems where id=?"),
                      {mainID});
    modData::exec(ctx, ctx.UnitDBConn, QStringLiteral("delete from tempunit where id=?"), {tempID});
}

Money Total(AppContext& ctx) {
    return Money::fromRaw(
        modData::scalar(ctx, ctx.UnitDBConn, QStringLiteral("select sum(linetotal) from tempunit"))
            .toLongLong());
}

QStringList DistinctUnits(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("select distinct mlunit from costunit where mlunit "
                                               "is not null and mlunit<>'' order by mlunit asc"));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

std::int32_t Save(AppContext& ctx, std::int32_t unitID, const Header& h) {
    QSqlDatabase cost = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(cost);
    const QVariantList header{text(h.name), text(h.cat), text(h.unit), text(h.desc)};
    std::int32_t id = unitID;
    if (id == 0) {
        QSqlQuery ins = modData::exec(
            cost, QStringLiteral("insert into costunit(mlname,mlcat,mlunit,mldesc)values(?,?,?,?)"),
            header);
        id = std::int32_t(ins.lastInsertId().toLongLong());
    } else {
        QVariantList p = header;
        p << id;
        modData::exec(cost,
                      QStringLiteral("UPDATE costunit set mlname=?, mlcat=?, mlunit=?, mldesc=? "
                                     "where ID=?"),
                      p);
    }
    QSqlQuery rows =
        modData::exec(ctx, ctx.UnitDBConn,
                      QStringLiteral("select mainid,itemid,qty,id from tempunit order by id"));
    QList<QPair<qlonglong, qlonglong>> stored; // scratch row, the unititems row made for it
    while (rows.next()) {
        const qlonglong mainID = rows.value(0).toLongLong();
        if (mainID == 0)
            stored << qMakePair(rows.value(3).toLongLong(),
                                modData::exec(cost,
                                              QStringLiteral("insert into unititems(matlaborid,"
                                                             "itemid,itemqty)values(?,?,?)"),
                                              {id, rows.value(1), rows.value(2).toDouble()})
                                    .lastInsertId()
                                    .toLongLong());
        else
            modData::exec(cost,
                          QStringLiteral("UPDATE unititems set matlaborid=?, itemid=?, itemqty=? "
                                         "where ID=?"),
                          {id, rows.value(1), rows.value(2).toDouble(), mainID});
    }
    t.commit();
    // The scratch rows now name what they were stored as, so that saving again (after a step
    // that followed this one failed) updates them instead of storing them twice.
    for (const auto& [tempID, mainID] : stored)
        modData::exec(ctx, ctx.UnitDBConn,
                      QStringLiteral("update tempunit set mainid=? where id=?"), {mainID, tempID});
    return id;
}

void ShowComponents(AppContext& ctx, QueryModel& model) {
    model.show(ctx.UnitDBConn,
               QStringLiteral("select ID,mainid,unitid,itemid,qty,Unit,name,cost,linetotal "
                              "from tempunit order by id asc"),
               {},
               {{QStringLiteral("ID")},
                {QStringLiteral("MID")},
                {QStringLiteral("UID")},
                {QStringLiteral("IID")},
                {QStringLiteral("Qty")},
                {QStringLiteral("Unit")},
                {QStringLiteral("Name")},
                {QStringLiteral("Cost"), true},
                {QStringLiteral("Line Total"), true}});
}

} // namespace UnitItems
