#include "storage/Schema.h"

#include "storage/modData.h"

#include <QHash>
#include <QSqlQuery>

namespace Schema {
namespace {

// Helpers that spell one column each.
QString key(const char* n) {
    return QStringLiteral("%1 INTEGER PRIMARY KEY AUTOINCREMENT").arg(QLatin1String(n));
}
QString lng(const char* n) {
    return QStringLiteral("%1 INTEGER").arg(QLatin1String(n));
}
QString lng0(const char* n) {
    return QStringLiteral("%1 INTEGER DEFAULT 0").arg(QLatin1String(n));
}
QString cur(const char* n) {
    return QStringLiteral("%1 INTEGER").arg(QLatin1String(n));
}
// Quantities of line items: ten-thousandths, as money.
QString qty(const char* n) {
    return QStringLiteral("%1 INTEGER").arg(QLatin1String(n));
}
QString qty0(const char* n) {
    return QStringLiteral("%1 INTEGER DEFAULT 0").arg(QLatin1String(n));
}
QString sgl(const char* n) {
    return QStringLiteral("%1 REAL").arg(QLatin1String(n));
}
// Text that refuses the empty string (as the working and estimate tables do).
QString txt(const char* n, int len) {
    return QStringLiteral("%1 TEXT COLLATE NOCASE CHECK(length(%1) BETWEEN 1 AND %2)")
        .arg(QLatin1String(n))
        .arg(len);
}
// Text that accepts the empty string.
QString txtE(const char* n, int len) {
    return QStringLiteral("%1 TEXT COLLATE NOCASE CHECK(length(%1) <= %2)")
        .arg(QLatin1String(n))
        .arg(len);
}
QString memo(const char* n) {
    return QStringLiteral("%1 TEXT COLLATE NOCASE CHECK(length(%1) >= 1)").arg(QLatin1String(n));
}

QString table(const char* name, const QStringList& cols) {
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n) STRICT")
        .arg(QLatin1String(name), cols.join(QStringLiteral(",\n  ")));
}

const QHash<QString, QString>& all() {
    static const QHash<QString, QString> t = [] {
        QHash<QString, QString> h;
        h[QStringLiteral("tempsect")] =
            table("TempSect", {key("autoID"), txt("SecDesc", 50), lng("SecOrder")});
        // A catalogue item may have no unit, so units may be empty.
        // Name is wider than a section name so that "Total for " + a full-length name fits.
        // Quantities are ten-thousandths, as money is. SectID is the section's TempSect.autoID,
        // which tells sections apart when their positions do not.
        h[QStringLiteral("estigrid")] =
            table("EstiGrid", {key("autoID"), lng("tpLineItemID"), lng("EstID"), lng("LineItemID"),
                               lng("ItemID"), lng("SecOrder"), lng("SortOrder"), txt("Name", 60),
                               txt("ItemTable", 50), qty("Qty"), txtE("Unit", 50), cur("Cost"),
                               cur("LineTotal"), cur("SubTotal"), lng("SectID")});
        h[QStringLiteral("tplineitems")] =
            table("tpLineItems", {key("autoID"), lng0("LineItemID"), lng0("EstID"), lng0("ItemID"),
                                  lng0("SecOrder"), txt("Sect", 50), txt("Name", 50),
                                  txt("ItemTable", 50), qty0("Qty"), txtE("Unit", 50), cur("Cost"),
                                  cur("LineTotal"), lng0("SectID"), lng0("FromRule")});
        // Stored rows the user deleted from the estimate in work: they go from the estimate's
        // own database only when it is saved (TableName is Areas, Lineal or LineItems).
        h[QStringLiteral("pendingdeletes")] =
            table("PendingDeletes", {key("autoID"), txt("TableName", 50), lng("StoredID")});
        // Which estimate the working copy belongs to, in which mode, and whether it holds changes
        // not saved yet (with the totals tab's texts, which live nowhere else until the save):
        // what a start after a crash offers to recover. At most one row.
        h[QStringLiteral("workstate")] =
            table("WorkState", {key("autoID"), lng0("EstID"), txtE("Mode", 10), lng0("Changed"),
                                txtE("Overhead", 20), txtE("Profit", 20), txtE("Contingency", 20),
                                txtE("Management", 20), QStringLiteral("Summary TEXT"),
                                QStringLiteral("Terms TEXT")});
        // Measurements (Width1, Width2, Height, Length) are ten-thousandths of a foot; totals
        // whole square or lineal feet. Pitch is the plane's pitch (n in 12, 0 for none); Quick
        // marks the quick figure's one row; OnSlope a plane measured on the slope.
        h[QStringLiteral("tempareas")] =
            table("TempAreas",
                  {key("ID"), lng0("AreaID"), lng0("Shape"), lng0("Pitch"), lng0("Width1"),
                   lng0("Width2"), lng0("Height"), lng0("Total"), lng0("OnSlope"), lng0("Quick")});
        h[QStringLiteral("templineal")] =
            table("TempLineal", {key("ID"), lng0("LinealID"), lng0("Type"), txt("Name", 50),
                                 lng0("Length"), lng0("Total")});
        // The roof of the estimate in work beyond its planes: the waste percentage
        // (ten-thousandths of a percent); no row means the Setup default.
        h[QStringLiteral("temproof")] = table("TempRoof", {key("ID"), lng("Waste")});
        h[QStringLiteral("sectsort")] =
            table("SectSort", {key("autoID"), lng("EstID"), txt("SectName", 50), lng("SecOrder")});
        h[QStringLiteral("tempunit")] =
            table("tempunit", {key("ID"), lng("mainID"), lng("unitID"), lng("ItemID"), sgl("Qty"),
                               txt("Unit", 50), txt("Name", 50), cur("Cost"), cur("LineTotal")});
        h[QStringLiteral("main")] =
            table("Main",
                  {key("ID"), txt("FName", 25), txt("LName", 100), txt("Address", 100),
                   txt("CityStZip", 100), txtE("HomePH", 12), txtE("WorkPH", 12), txtE("Ext", 8),
                   txt("Overhead", 20), txt("Profit", 20), txt("Contingency", 20),
                   txt("Management", 20), memo("PaymentTerms"), memo("EstSummary"), lng("Waste")});
        h[QStringLiteral("lineitems")] =
            table("LineItems", {key("ID"), lng0("ItemID"), lng("SecOrder"), txt("Sect", 50),
                                txt("Name", 50), txt("ItemTable", 50), qty("Qty"), txtE("Unit", 50),
                                cur("Cost"), cur("LineTotal"), lng0("FromRule")});
        h[QStringLiteral("areas")] =
            table("Areas", {key("ID"), lng("Shape"), lng("Pitch"), lng("Width1"), lng("Width2"),
                            lng("Height"), lng("Total"), lng0("OnSlope"), lng0("Quick")});
        h[QStringLiteral("lineal")] =
            table("Lineal", {key("ID"), lng("Type"), txt("Name", 50), lng("Length"), lng("Total")});
        return h;
    }();
    return t;
}

} // namespace

QString ddl(const QString& name) {
    return all().value(name.toLower());
}

void createTable(QSqlDatabase db, const QString& name) {
    const QString sql = ddl(name);
    if (sql.isEmpty())
        throw modData::SqlError::message(QStringLiteral("Unknown table %1").arg(name));
    modData::exec(db, sql);
}

QStringList tempTables() {
    return {QStringLiteral("TempSect"),    QStringLiteral("EstiGrid"),
            QStringLiteral("tpLineItems"), QStringLiteral("TempAreas"),
            QStringLiteral("TempLineal"),  QStringLiteral("PendingDeletes"),
            QStringLiteral("WorkState"),   QStringLiteral("TempRoof")};
}

QStringList estimateTables() {
    return {QStringLiteral("Main"), QStringLiteral("Areas"), QStringLiteral("Lineal"),
            QStringLiteral("LineItems")};
}

} // namespace Schema
