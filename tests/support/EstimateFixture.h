#pragma once

#include "common/AppContext.h"
#include "common/Money.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QSqlQuery>

#include <QDir>
#include <QStringList>

// An estimate as the documents find it: a master row, its own database with the owner row and
// stored lines, and the working tables filled as opening it would fill them.
struct EstimateFixture {
    AppContext& ctx;
    QString name;

    explicit EstimateFixture(AppContext& c, const QString& estName = QStringLiteral("Smith"),
                             const QStringList& admin = {"%-15", "%-15", "Fixed-100", "%-2"})
        : ctx(c), name(estName) {
        modTempDB::CreateTempDB(ctx);
        QDir().mkpath(ctx.estimatesDir() + "/" + name);
        modTempDB::CreateEstDB(ctx, name);
        const QString estpath = name + "/" + name + ".db";
        modData::exec(ctx, ctx.MastEstConn,
                      "insert into master(estname,esttype,estaddress,estpath,eststatus,estdate,"
                      "estlength) values(?,?,?,?,?,?,?)",
                      {name, "Re-roof", "12 Elm St", estpath, "Working", "2026-03-01", 30});
        ctx.EstID = modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
        ctx.EstConn = ctx.estimateDbPath(estpath);
        ctx.EstName = name;
        modData::exec(ctx, ctx.EstConn,
                      "insert into Main(ID,FName,LName,Address,CityStZip,HomePH,WorkPH,Ext,"
                      "Overhead,Profit,Contingency,Management,PaymentTerms,EstSummary) "
                      "values(1,?,?,?,?,'','','',?,?,?,?,?,?)",
                      {"Mary", "O'Brien", "12 Elm St", "Anytown, MT 54321", admin[0], admin[1],
                       admin[2], admin[3], "Half down, half on completion",
                       "Tear off and re-roof the house"});
    }

    void section(const QString& desc, int order) {
        modData::exec(ctx, ctx.TempDBConn, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                      {desc, order});
    }

    // A stored line and its working copy, linked as opening the estimate links them, so a save
    // updates the stored line instead of storing it a second time. `qty` is whole units
    // (quantities are stored as ten-thousandths).
    void line(int order, const QString& sect, const QString& item, const QString& type, int qty,
              const QString& unit, Money cost) {
        const Money total = Money::fromRaw(cost.raw() * qty);
        ++itemId;
        const QSqlQuery stored = modData::exec(
            ctx, ctx.EstConn,
            "insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,LineTotal) "
            "values(?,?,?,?,?,?,?,?,?)",
            {itemId, order, sect, item, type, qlonglong(qty) * 10000, unit, qlonglong(cost.raw()),
             qlonglong(total.raw())});
        modData::exec(
            ctx, ctx.TempDBConn,
            "insert into tpLineItems(LineItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,"
            "LineTotal,ItemID) values(?,?,?,?,?,?,?,?,?,?)",
            {stored.lastInsertId(), order, sect, item, type, qlonglong(qty) * 10000, unit,
             qlonglong(cost.raw()), qlonglong(total.raw()), itemId});
    }

    void area(int shape, int pitch, int w1, int w2, int h, int total) {
        modData::exec(ctx, ctx.TempDBConn,
                      "insert into TempAreas(Shape,Pitch,Width1,Width2,Height,Total) "
                      "values(?,?,?,?,?,?)",
                      {shape, pitch, w1, w2, h, total});
    }

    int itemId = 0;
};
