#pragma once

#include "common/AppContext.h"
#include "common/Money.h"
#include "estimates/modEst.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QSqlRecord>

#include <QSqlQuery>
#include <QStringList>

// Helpers that make a started estimate and read back what is stored, row by row.
namespace StoredEstimate {

inline modEst::OwnerFields owner(const QString& last = QStringLiteral("O'Brien")) {
    modEst::OwnerFields f;
    f.name = {QStringLiteral("Zoë"),
              last,
              QStringLiteral("12 Elm St"),
              QStringLiteral("Anytown, MT 54321"),
              QStringLiteral("555-123-4567"),
              QString(),
              QString()};
    f.estType = QStringLiteral("Reroof");
    return f;
}

// A new estimate as Start leaves it, with an empty working database.
inline void start(AppContext& ctx, const QString& name) {
    modTempDB::CreateTempDB(ctx);
    ctx.EstID = modEst::CreateEstID(ctx);
    modEst::startEstimate(ctx, name, owner());
}

inline void area(AppContext& ctx, int shape, int pitch, int w1, int w2, int h, int total) {
    modData::exec(
        ctx, ctx.TempDBConn,
        "insert into TempAreas(Shape,Pitch,Width1,Width2,Height,Total) values(?,?,?,?,?,?)",
        {shape, pitch, w1, w2, h, total});
}

inline void lineal(AppContext& ctx, int type, const QString& name, int length, int total) {
    modData::exec(ctx, ctx.TempDBConn,
                  "insert into TempLineal(Type,Name,Length,Total) values(?,?,?,?)",
                  {type, name, length, total});
}

inline void line(AppContext& ctx, int itemId, const QString& sect, int order, const QString& name,
                 int qty, const QString& cost) {
    const Money c = Money::parse(cost).value();
    modData::exec(ctx, ctx.TempDBConn,
                  "insert into tpLineItems(ItemID,Sect,SecOrder,Name,ItemTable,Qty,Unit,Cost,"
                  "LineTotal) values(?,?,?,?,'Material',?,'sq',?,?)",
                  {itemId, sect, order, name, qlonglong(qty) * 10000, qlonglong(c.raw()),
                   qlonglong(c.raw() * qty)});
}

// Every row of a table as text, for comparing the stored estimate before and after.
inline QStringList dump(AppContext& ctx, const QString& conn, const QString& table) {
    QSqlQuery q = modData::exec(ctx, conn, "select * from " + table + " order by 1");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        rows << cells.join('|');
    }
    return rows;
}

inline int count(AppContext& ctx, const QString& conn, const QString& table) {
    return modData::scalar(ctx, conn, "select count(*) from " + table).toInt();
}

} // namespace StoredEstimate
