#include "estimates/modSaveEst.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "estimates/EstFacts.h"
#include "pricing/Totals.h"
#include "storage/Attached.h"
#include "storage/Connections.h"
#include "storage/PendingDeletes.h"
#include "storage/modData.h"
#include "takeoff/Takeoff.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <vector>

// The save runs on the working database's connection with the estimate and the master list
// attached, in one transaction over the three files. SQLite commits such a transaction
// atomically (a super-journal names the journals of all three), so the stored estimate, its
// status in the master list and the stored ids written back into the working rows either all
// change or none does: a failure can never leave an estimate saved while the working rows still
// look unsaved, which would store them a second time on the next save.
namespace modSaveEst {
namespace {

const QString kEst = QStringLiteral("est");
const QString kMaster = QStringLiteral("mast");

class Writer {
public:
    Writer(QSqlDatabase db, const SaveInput& in) : db_(std::move(db)), in_(in) {}

    QSqlQuery run(const QString& sql, const QVariantList& params = {}) {
        step();
        return modData::exec(db_, sql, params);
    }
    void step() {
        if (in_.beforeStatement)
            in_.beforeStatement(statement_);
        ++statement_;
    }
    QSqlQuery prepare(const QString& sql) {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            throw modData::SqlError::from(q.lastError());
        return q;
    }
    QSqlDatabase db() const { return db_; }

private:
    QSqlDatabase db_;
    const SaveInput& in_;
    int statement_ = 0;
};

void execPrepared(QSqlQuery& q, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        throw modData::SqlError::from(q.lastError());
}

// Working rows not stored yet: their working key and the values to store, read completely
// before the first insert so that no read is open on a table being written.
struct NewRow {
    qlonglong workingKey;
    QVariantList values;
};

std::vector<NewRow> newRows(Writer& w, const QString& select, int valueCount) {
    std::vector<NewRow> rows;
    QSqlQuery q = w.run(select);
    while (q.next()) {
        NewRow r{q.value(0).toLongLong(), {}};
        for (int i = 1; i <= valueCount; ++i)
            r.values.append(q.value(i));
        rows.push_back(std::move(r));
    }
    return rows;
}

// Inserts each new row into the estimate and writes the id the insert gave it back into its
// working row (within the save's transaction).
void storeNewRows(Writer& w, const std::vector<NewRow>& rows, const QString& insert,
                  const QString& writeBack) {
    if (rows.empty())
        return;
    w.step();
    QSqlQuery ins = w.prepare(insert);
    QSqlQuery back = w.prepare(writeBack);
    for (const NewRow& r : rows) {
        execPrepared(ins, r.values);
        const QVariant id = ins.lastInsertId();
        if (!id.isValid() || id.toLongLong() <= 0)
            throw modData::SqlError::message(QStringLiteral("A new row got no id"));
        execPrepared(back, {id, r.workingKey});
    }
    w.step();
}

void saveAreas(Writer& w) {
    w.run(QStringLiteral("update est.Areas set Shape=t.Shape, Pitch=t.Pitch, Width1=t.Width1, "
                         "Width2=t.Width2, Height=t.Height, Total=t.Total, OnSlope=t.OnSlope, "
                         "Quick=t.Quick from main.TempAreas t where t.AreaID > 0 and Areas.ID = "
                         "t.AreaID"));
    storeNewRows(w,
                 newRows(w,
                         QStringLiteral("select ID,Shape,Pitch,Width1,Width2,Height,Total,OnSlope,"
                                        "Quick from main.TempAreas where AreaID = 0 order by ID"),
                         8),
                 QStringLiteral("insert into est.Areas(Shape,Pitch,Width1,Width2,Height,Total,"
                                "OnSlope,Quick) values(?,?,?,?,?,?,?,?)"),
                 QStringLiteral("update main.TempAreas set AreaID=? where ID=?"));
}

void saveLineals(Writer& w) {
    w.run(QStringLiteral("update est.Lineal set Type=t.Type, Name=t.Name, Length=t.Length, "
                         "Total=t.Total from main.TempLineal t where t.LinealID > 0 and "
                         "Lineal.ID = t.LinealID"));
    storeNewRows(w,
                 newRows(w,
                         QStringLiteral("select ID,Type,Name,Length,Total from main.TempLineal "
                                        "where LinealID = 0 order by ID"),
                         4),
                 QStringLiteral("insert into est.Lineal(Type,Name,Length,Total) values(?,?,?,?)"),
                 QStringLiteral("update main.TempLineal set LinealID=? where ID=?"));
}

// A line is stored under its section's name and position as the section has them now.
const char* const kLineSource =
    "select l.autoID as autoID, l.LineItemID as LineItemID, l.ItemTable as ItemTable, "
    "l.ItemID as ItemID, coalesce(s.SecDesc,l.Sect) as Sect, coalesce(s.SecOrder,l.SecOrder) as "
    "SecOrder, l.Qty as Qty, l.Unit as Unit, l.Name as Name, l.Cost as Cost, l.LineTotal as "
    "LineTotal, l.FromRule as FromRule from main.tpLineItems l left join main.TempSect s on "
    "s.autoID = l.SectID";

void saveLineItems(Writer& w) {
    const QString source = QString::fromLatin1(kLineSource);
    w.run(QStringLiteral("update est.LineItems set ItemTable=t.ItemTable, ItemID=t.ItemID, "
                         "Sect=t.Sect, SecOrder=t.SecOrder, Qty=t.Qty, Unit=t.Unit, Name=t.Name, "
                         "Cost=t.Cost, LineTotal=t.LineTotal, FromRule=t.FromRule from (%1 where "
                         "l.LineItemID > 0) t "
                         "where LineItems.ID = t.LineItemID")
              .arg(source));
    const std::vector<NewRow> rows = newRows(
        w,
        QStringLiteral("select autoID,ItemTable,ItemID,Sect,SecOrder,Qty,Unit,Name,Cost,"
                       "LineTotal,FromRule from (%1 where l.LineItemID = 0) order by autoID")
            .arg(source),
        10);
    storeNewRows(w, rows,
                 QStringLiteral("insert into est.LineItems(ItemTable,ItemID,Sect,SecOrder,Qty,Unit,"
                                "Name,Cost,LineTotal,FromRule) values(?,?,?,?,?,?,?,?,?,?)"),
                 QStringLiteral("update main.tpLineItems set LineItemID=? where autoID=?"));
    if (!rows.empty())
        w.run(QStringLiteral("update main.EstiGrid set LineItemID=(select LineItemID from "
                             "main.tpLineItems where autoID=EstiGrid.tpLineItemID) where "
                             "tpLineItemID > 0"));
}

void saveEstimateTotals(Writer& w, const SaveInput& in, std::int64_t waste) {
    QVariantList v;
    for (int i = 0; i < 4; ++i)
        v.append(in.admin.value(i));
    v.append(storedSummary(in.summary));
    v.append(storedTerms(in.terms));
    v.append(qlonglong(waste));
    QSqlQuery q = w.run(QStringLiteral("UPDATE est.Main set overhead=?, Profit=?, contingency=?, "
                                       "management=?, EstSummary=?, PaymentTerms=?, Waste=? "
                                       "where ID=1"),
                        v);
    if (q.numRowsAffected() != 1)
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
}

} // namespace

QString storedSummary(const QString& text) {
    return text.isEmpty() ? QStringLiteral("No summary") : text;
}
QString storedTerms(const QString& text) {
    return text.isEmpty() ? QStringLiteral("No terms") : text;
}

void saveEstimate(AppContext& ctx, const SaveInput& in) {
    // The total the lists show, figured from the working rows before they are written.
    const Money total = Totals::estimateTotal(Totals::sumByType(ctx), in.admin);
    const std::int64_t waste = Takeoff::waste(ctx);
    // Opened through their own connections first, so that an older file is brought up to date
    // (or a newer one refused) before it is written. The estimate's own connection is closed
    // then: a read left open on it would hold the file against the save's commit.
    modData::db(ctx, ctx.EstConn);
    ctx.connections->close(ctx.EstConn);
    modData::db(ctx, ctx.MastEstConn);
    QSqlDatabase working = modData::db(ctx, ctx.TempDBConn);
    Attached estimate(working, ctx.EstConn, kEst);
    Attached master(working, ctx.MastEstConn, kMaster);
    Writer w(working, in);
    modData::Transaction t(working);
    // What the user deleted goes now, with the rest of the save or not at all.
    w.step();
    PendingDeletes::applyTo(working, kEst);
    saveAreas(w);
    saveLineals(w);
    saveLineItems(w);
    saveEstimateTotals(w, in, waste);
    // The master list's total and order of use change with the estimate or not at all.
    w.step();
    EstFacts::recordSave(working, kMaster, ctx.EstID, total);
    w.step();
    PendingDeletes::clear(working);
    if (in.complete)
        w.run(QStringLiteral("UPDATE mast.master set estdate=?, eststatus='Pending' where ID=?"),
              {QDate::currentDate().toString(Qt::ISODate), ctx.EstID});
    w.step();
    t.commit();
}

} // namespace modSaveEst
