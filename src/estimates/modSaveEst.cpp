#include "estimates/modSaveEst.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "pricing/modGrid.h"
#include "storage/PendingDeletes.h"
#include "storage/modData.h"
#include "takeoff/Takeoff.h"

#include <QDate>
#include <QSqlQuery>
#include <vector>

namespace modSaveEst {
namespace {

// A working row stored for the first time, remembered so its new id can be written back.
struct NewId {
    qlonglong workingId;
    qlonglong storedId;
};

class Writer {
public:
    Writer(AppContext& ctx, const SaveInput& in)
        : ctx_(ctx), in_(in), db_(modData::db(ctx, ctx.EstConn)) {}

    QSqlQuery run(const QString& sql, const QVariantList& params) {
        step();
        return modData::exec(db_, sql, params);
    }
    void step() {
        if (in_.beforeStatement)
            in_.beforeStatement(statement_);
        ++statement_;
    }
    qlonglong lastId(const QString& table) {
        return modData::scalar(db_, QStringLiteral("select max(ID) from ") + table).toLongLong();
    }
    QSqlDatabase db() const { return db_; }

private:
    AppContext& ctx_;
    const SaveInput& in_;
    QSqlDatabase db_;
    int statement_ = 0;
};

std::vector<NewId> SaveAreas(AppContext& ctx, Writer& w) {
    std::vector<NewId> added;
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select ID,AreaID,Shape,Pitch,Width1,Width2,Height,Total,OnSlope,Quick "
                       "from TempAreas order by ID"));
    while (q.next()) {
        const QVariantList v = {q.value(2), q.value(3), q.value(4), q.value(5),
                                q.value(6), q.value(7), q.value(8), q.value(9)};
        const qlonglong areaId = q.value(1).toLongLong();
        if (areaId == 0) {
            QSqlQuery ins = w.run(QStringLiteral("insert into Areas(Shape,Pitch,Width1,Width2,"
                                                 "Height,Total,OnSlope,Quick) "
                                                 "values(?,?,?,?,?,?,?,?)"),
                                  v);
            added.push_back({q.value(0).toLongLong(), ins.lastInsertId().toLongLong()});
        } else {
            w.run(QStringLiteral("update Areas set Shape=?,Pitch=?,Width1=?,Width2=?,Height=?,"
                                 "Total=?,OnSlope=?,Quick=? where ID=?"),
                  v + QVariantList{areaId});
        }
    }
    return added;
}

std::vector<NewId> SaveLineals(AppContext& ctx, Writer& w) {
    std::vector<NewId> added;
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select ID,LinealID,Type,Name,Length,Total from TempLineal order by ID"));
    while (q.next()) {
        const QVariantList v = {q.value(2), q.value(3), q.value(4), q.value(5)};
        const qlonglong linealId = q.value(1).toLongLong();
        if (linealId == 0) {
            QSqlQuery ins = w.run(
                QStringLiteral("insert into Lineal(Type,Name,Length,Total) values(?,?,?,?)"), v);
            added.push_back({q.value(0).toLongLong(), ins.lastInsertId().toLongLong()});
        } else {
            w.run(QStringLiteral("update Lineal set Type=?,Name=?,Length=?,Total=? where ID=?"),
                  v + QVariantList{linealId});
        }
    }
    return added;
}

std::vector<NewId> SaveLineItems(AppContext& ctx, Writer& w) {
    std::vector<NewId> added;
    // A line is stored under its section's name and position as the section has them now.
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select l.autoID,l.LineItemID,l.ItemID,coalesce(s.SecOrder,l.SecOrder),"
                       "coalesce(s.SecDesc,l.Sect),l.Name,l.ItemTable,l.Qty,l.Unit,l.Cost,"
                       "l.LineTotal from tpLineItems l left join TempSect s on s.autoID = "
                       "l.SectID order by l.autoID asc"));
    while (q.next()) {
        const std::int32_t lineId = q.value(1).toInt();
        w.step();
        modGrid::SaveLineItem(
            ctx, lineId == 0 ? QStringLiteral("insert") : QStringLiteral("update"), lineId,
            q.value(2).toInt(), q.value(4).toString(), q.value(3).toInt(), q.value(5).toString(),
            q.value(6).toString(), Quantity::fromRaw(q.value(7).toLongLong()),
            q.value(8).toString(), Money::fromRaw(q.value(9).toLongLong()),
            Money::fromRaw(q.value(10).toLongLong()));
        if (lineId == 0)
            added.push_back({q.value(0).toLongLong(), w.lastId(QStringLiteral("LineItems"))});
    }
    return added;
}

void SaveEstimateTotals(AppContext& ctx, Writer& w, const SaveInput& in) {
    QVariantList v;
    for (int i = 0; i < 4; ++i)
        v.append(in.admin.value(i));
    v.append(storedSummary(in.summary));
    v.append(storedTerms(in.terms));
    v.append(qlonglong(Takeoff::waste(ctx)));
    QSqlQuery q = w.run(QStringLiteral("UPDATE main set overhead=?, Profit=?, contingency=?, "
                                       "management=?, EstSummary=?, PaymentTerms=?, Waste=? "
                                       "where ID=1"),
                        v);
    if (q.numRowsAffected() != 1)
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
}

void writeBack(AppContext& ctx, const QString& table, const QString& idColumn,
               const QString& keyColumn, const std::vector<NewId>& ids) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    const QString sql =
        QStringLiteral("update %1 set %2=? where %3=?").arg(table, idColumn, keyColumn);
    for (const NewId& n : ids)
        modData::exec(db, sql, {n.storedId, n.workingId});
}

} // namespace

QString storedSummary(const QString& text) {
    return text.isEmpty() ? QStringLiteral("No summary") : text;
}
QString storedTerms(const QString& text) {
    return text.isEmpty() ? QStringLiteral("No terms") : text;
}

void saveEstimate(AppContext& ctx, const SaveInput& in) {
    Writer w(ctx, in);
    std::vector<NewId> areas, lineals, lines;
    QSqlDatabase working = modData::db(ctx, ctx.TempDBConn);
    {
        modData::Transaction t(w.db());
        // What the user deleted goes now, with the rest of the save or not at all.
        w.step();
        PendingDeletes::applyTo(working, w.db());
        areas = SaveAreas(ctx, w);
        lineals = SaveLineals(ctx, w);
        lines = SaveLineItems(ctx, w);
        SaveEstimateTotals(ctx, w, in);
        t.commit();
    }
    // The stored ids go back into the working rows in one transaction of their own.
    {
        modData::Transaction t(modData::db(ctx, ctx.TempDBConn));
        writeBack(ctx, QStringLiteral("TempAreas"), QStringLiteral("AreaID"), QStringLiteral("ID"),
                  areas);
        writeBack(ctx, QStringLiteral("TempLineal"), QStringLiteral("LinealID"),
                  QStringLiteral("ID"), lineals);
        writeBack(ctx, QStringLiteral("tpLineItems"), QStringLiteral("LineItemID"),
                  QStringLiteral("autoID"), lines);
        PendingDeletes::clear(working);
        if (!lines.empty())
            modData::exec(working,
                          QStringLiteral("update EstiGrid set LineItemID=(select LineItemID from "
                                         "tpLineItems where autoID=EstiGrid.tpLineItemID) where "
                                         "tpLineItemID > 0"));
        t.commit();
    }
    if (in.complete)
        modData::exec(ctx, ctx.MastEstConn,
                      QStringLiteral("UPDATE master set estdate=?, eststatus='Pending' where ID=?"),
                      {QDate::currentDate().toString(Qt::ISODate), ctx.EstID});
}

} // namespace modSaveEst
