#include "storage/Migrations.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "storage/AppSetup.h"
#include "storage/Schema.h"
#include "storage/modData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <vector>

namespace Migrations {
namespace {

// One step takes a database from version n to n + 1; it runs inside the upgrade's transaction
// and throws modData::SqlError on failure.
using Step = std::function<void(QSqlDatabase)>;

// Version 1 is the first versioned layout: the tables are those that files of version 0 already
// have, so the step only records the version.
void firstVersion(QSqlDatabase) {}

bool hasTable(QSqlDatabase db, const char* name) {
    return modData::scalar(db,
                           QStringLiteral("select count(*) from sqlite_master where type='table' "
                                          "and name=? collate nocase"),
                           {QLatin1String(name)})
               .toInt() > 0;
}

bool hasColumn(QSqlDatabase db, const char* table, const char* column) {
    QSqlQuery q =
        modData::exec(db, QStringLiteral("pragma table_info(%1)").arg(QLatin1String(table)));
    while (q.next())
        if (q.value(1).toString().compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// An administrative text ("Fixed-<amount>", "%-<percentage>") with its number in the plain,
// locale-free form; earlier versions stored a fixed amount as currency text of the user's locale
// ("Fixed-$1,234.00") and a percentage as typed. A text that reads as neither stays as it is.
QString plainAdminText(const QString& text) {
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0)
        return text;
    const QString kind = text.left(dash);
    const QString value = text.mid(dash + 1);
    if (kind.trimmed().compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0) {
        if (const auto m = Money::parseStored(value))
            return kind + u'-' + m->toSql();
    } else if (const auto p = Numbers::plainStoredText(value)) {
        return kind + u'-' + *p;
    }
    return text;
}

// Version 2 of an estimate: quantities of line items are ten-thousandths (so 8.5 squares is
// stored as it is priced), and the administrative amounts are plain decimals that read the same
// under every locale.
void quantitiesAndPlainAmounts(QSqlDatabase db) {
    modData::exec(db, QStringLiteral("update LineItems set Qty = Qty * 10000"));
    static const char* const columns[] = {"Overhead", "Profit", "Contingency", "Management"};
    QSqlQuery q = modData::exec(
        db, QStringLiteral("select ID, Overhead, Profit, Contingency, Management from Main"));
    while (q.next()) {
        for (int c = 0; c < 4; ++c) {
            if (q.value(c + 1).isNull())
                continue;
            const QString before = q.value(c + 1).toString();
            const QString after = plainAdminText(before);
            if (after != before)
                modData::exec(db,
                              QStringLiteral("update Main set %1=? where ID=?")
                                  .arg(QLatin1String(columns[c])),
                              {after, q.value(0)});
        }
    }
}

// Version 2 of a working database: quantities in ten-thousandths, every line and grid row knows
// its section by the section's identity, and deletions of stored rows wait in PendingDeletes
// for the save. The units database of the same kind has none of these tables.
void workingQuantitiesSectionsAndDeletions(QSqlDatabase db) {
    if (hasTable(db, "tpLineItems")) {
        modData::exec(db, QStringLiteral("update tpLineItems set Qty = Qty * 10000"));
        if (!hasColumn(db, "tpLineItems", "SectID"))
            modData::exec(
                db, QStringLiteral("alter table tpLineItems add column SectID INTEGER DEFAULT 0"));
        if (hasTable(db, "TempSect"))
            modData::exec(db, QStringLiteral("update tpLineItems set SectID = coalesce((select "
                                             "min(s.autoID) from TempSect s where s.SecDesc = "
                                             "tpLineItems.Sect and s.SecOrder = "
                                             "tpLineItems.SecOrder), 0)"));
    }
    if (hasTable(db, "EstiGrid")) {
        modData::exec(db, QStringLiteral("update EstiGrid set Qty = Qty * 10000"));
        if (!hasColumn(db, "EstiGrid", "SectID"))
            modData::exec(db, QStringLiteral("alter table EstiGrid add column SectID INTEGER"));
        if (hasTable(db, "tpLineItems"))
            modData::exec(db, QStringLiteral("update EstiGrid set SectID = (select SectID from "
                                             "tpLineItems where autoID = EstiGrid.tpLineItemID) "
                                             "where tpLineItemID > 0"));
    }
    if (hasTable(db, "TempSect") && !hasTable(db, "PendingDeletes"))
        modData::exec(db, QStringLiteral("CREATE TABLE PendingDeletes (\n  autoID INTEGER "
                                         "PRIMARY KEY AUTOINCREMENT,\n  TableName TEXT COLLATE "
                                         "NOCASE CHECK(length(TableName) BETWEEN 1 AND 50),\n  "
                                         "StoredID INTEGER\n) STRICT"));
}

// Version 4 of a working database: it records which estimate it belongs to and whether it holds
// unsaved changes (WorkState), so that a start after a crash can offer them back.
void workingStateForRecovery(QSqlDatabase db) {
    if (hasTable(db, "TempSect") && !hasTable(db, "WorkState"))
        Schema::createTable(db, QStringLiteral("WorkState"));
}

// The master list keeps what its lists show and search without opening every estimate: the
// owner's name, the estimate total (ten-thousandths; NULL until it is known) and the order in
// which estimates were last opened or saved. Start-up fills owner and total of the estimates
// already stored from their own databases (EstFacts::fillMissing).
void masterListFacts(QSqlDatabase db) {
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN estowner TEXT COLLATE NOCASE "
                                     "CHECK(length(estowner) <= 126)"));
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN esttotal INTEGER"));
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN estused INTEGER"));
}

// Measurements in ten-thousandths of a foot (they were whole feet), and the quick figure marked
// by Quick instead of by a pitch other than 0, so that a plane can have a pitch of its own.
// Earlier planes had no pitch: their totals stay as they were.
void measurementsAndPlanePitch(QSqlDatabase db, const char* areas, const char* lineal) {
    if (hasTable(db, areas)) {
        const QString t = QLatin1String(areas);
        for (const char* column : {"OnSlope", "Quick"})
            if (!hasColumn(db, areas, column))
                modData::exec(db, QStringLiteral("alter table %1 add column %2 INTEGER DEFAULT 0")
                                      .arg(t, QLatin1String(column)));
        modData::exec(db, QStringLiteral("update %1 set Width1 = Width1 * 10000, Width2 = "
                                         "Width2 * 10000, Height = Height * 10000, OnSlope = 0, "
                                         "Quick = (coalesce(Pitch, 0) <> 0)")
                              .arg(t));
    }
    if (hasTable(db, lineal))
        modData::exec(
            db, QStringLiteral("update %1 set Length = Length * 10000").arg(QLatin1String(lineal)));
}

// Version 3 of an estimate: exact measurements, a pitch per plane, and the waste percentage
// of the estimate (empty: the Setup default).
void measurementsPitchAndWaste(QSqlDatabase db) {
    measurementsAndPlanePitch(db, "Areas", "Lineal");
    if (hasTable(db, "Main") && !hasColumn(db, "Main", "Waste"))
        modData::exec(db, QStringLiteral("alter table Main add column Waste INTEGER"));
}

// Version 3 of a working database: as the estimate's, with the waste in TempRoof.
void workingMeasurementsPitchAndWaste(QSqlDatabase db) {
    measurementsAndPlanePitch(db, "TempAreas", "TempLineal");
    // Lines whose quantity follows their item's take-off rule (none did before).
    if (hasTable(db, "tpLineItems") && !hasColumn(db, "tpLineItems", "FromRule"))
        modData::exec(db, QStringLiteral("alter table tpLineItems add column FromRule INTEGER "
                                         "DEFAULT 0"));
    if (hasTable(db, "TempSect") && !hasTable(db, "TempRoof"))
        modData::exec(db, QStringLiteral("CREATE TABLE TempRoof (\n  ID INTEGER PRIMARY KEY "
                                         "AUTOINCREMENT,\n  Waste INTEGER\n) STRICT"));
}

// Version 4 of an estimate: a line remembers that its quantity follows its item's take-off rule,
// so that "Refresh quantities from roof" still updates it after the estimate is saved and
// opened again. Lines stored before followed nothing.
void lineItemsFollowTheRoof(QSqlDatabase db) {
    if (hasTable(db, "LineItems") && !hasColumn(db, "LineItems", "FromRule"))
        modData::exec(db, QStringLiteral("alter table LineItems add column FromRule INTEGER "
                                         "DEFAULT 0"));
}

// Version 2 of the catalogue: take-off rules, with those of the shipped items that are still
// as shipped (found by name and unit).
void takeoffRules(QSqlDatabase db) {
    QFile f(QStringLiteral(":/sql/takeoffrules.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw modData::SqlError::message(
            QStringLiteral("The program's resource :/sql/takeoffrules.sql is missing"));
    for (const QString& statement : AppSetup::splitStatements(QString::fromUtf8(f.readAll())))
        modData::exec(db, statement);
}

const std::vector<Step>& steps(Kind kind) {
    static const std::vector<Step> catalogue = {firstVersion, takeoffRules};
    static const std::vector<Step> masterList = {firstVersion, masterListFacts};
    static const std::vector<Step> estimate = {firstVersion, quantitiesAndPlainAmounts,
                                               measurementsPitchAndWaste, lineItemsFollowTheRoof};
    static const std::vector<Step> working = {firstVersion, workingQuantitiesSectionsAndDeletions,
                                              workingMeasurementsPitchAndWaste,
                                              workingStateForRecovery};
    switch (kind) {
    case Kind::Catalogue:
        return catalogue;
    case Kind::MasterList:
        return masterList;
    case Kind::Estimate:
        return estimate;
    case Kind::Working:
        break;
    }
    return working;
}

QString kindName(Kind kind) {
    switch (kind) {
    case Kind::Catalogue:
        return QStringLiteral("cost catalogue");
    case Kind::MasterList:
        return QStringLiteral("list of estimates");
    case Kind::Estimate:
        return QStringLiteral("estimate");
    case Kind::Working:
        break;
    }
    return QStringLiteral("working database");
}

bool samePath(const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

int currentVersion(Kind kind) {
    return int(steps(kind).size());
}

std::optional<Kind> kindOf(const AppContext& ctx, const QString& path) {
    if (samePath(path, ctx.CostConn))
        return Kind::Catalogue;
    if (samePath(path, ctx.MastEstConn))
        return Kind::MasterList;
    if (samePath(path, ctx.TempDBConn) || samePath(path, ctx.UnitDBConn))
        return Kind::Working;
    const QString estimates = QDir::cleanPath(QFileInfo(ctx.estimatesDir()).absoluteFilePath());
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!ctx.AppPath.isEmpty() && file.startsWith(estimates + QLatin1Char('/')) &&
        file.endsWith(QLatin1String(".db")))
        return Kind::Estimate;
    return std::nullopt;
}

int versionOf(QSqlDatabase db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

bool upgrade(QSqlDatabase db, Kind kind, const QString& path, QString* error) {
    const int current = currentVersion(kind);
    const int found = versionOf(db);
    if (found == current)
        return true;
    const QString file = QDir::toNativeSeparators(path);
    if (found < 0) {
        if (error)
            *error = QStringLiteral("The %1 %2 could not be read: %3")
                         .arg(kindName(kind), file, db.lastError().text());
        return false;
    }
    if (found > current) {
        if (error)
            *error = QStringLiteral("The %1 %2 was written by a newer version of Corvanel (data "
                                    "version %3; this version knows up to %4). It was not opened "
                                    "and was left unchanged. Please use the newer Corvanel.")
                         .arg(kindName(kind), file)
                         .arg(found)
                         .arg(current);
        return false;
    }
    try {
        modData::Transaction t(db);
        const std::vector<Step>& list = steps(kind);
        for (int v = found; v < current; ++v)
            list[std::size_t(v)](db);
        modData::exec(db, QStringLiteral("PRAGMA user_version = %1").arg(current));
        t.commit();
    } catch (const ProcedureError& e) {
        if (error)
            *error =
                QStringLiteral("The %1 %2 could not be brought up to date (%3). It was left as "
                               "it was.")
                    .arg(kindName(kind), file, e.description);
        return false;
    }
    return true;
}

QString stampStatement(Kind kind) {
    return QStringLiteral("PRAGMA user_version = %1").arg(currentVersion(kind));
}

void stamp(QSqlDatabase db, Kind kind) {
    modData::exec(db, stampStatement(kind));
}

} // namespace Migrations
