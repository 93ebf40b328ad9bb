#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The layout of every table the program creates. Text columns compare without regard to case
// and carry their maximum length as a check, so nothing is silently cut or silently too long.
// Money columns and the quantities of line items hold ten-thousandths as integers. Dates are
// TEXT "YYYY-MM-DD".
namespace Schema {

// CREATE TABLE statements, keyed by table name.
QString ddl(const QString& table);

// Creates one table in `db`; throws modData::SqlError on failure.
void createTable(QSqlDatabase db, const QString& table);

// The tables of each database, in the order they are created.
// TempSect, EstiGrid, tpLineItems, TempAreas, TempLineal, PendingDeletes
QStringList tempTables();
QStringList estimateTables(); // Main, Areas, Lineal, LineItems

// Maximum lengths used by input boxes (they match the checks of the schema).
namespace Len {
constexpr int Name = 50; // section, item, lineal, unit names in the working tables
constexpr int FName = 25;
constexpr int LName = 100;
constexpr int Address = 100;
constexpr int CityStZip = 100;
constexpr int Phone = 12;
constexpr int Ext = 8;
constexpr int EstType = 25;
constexpr int EstName = 50;
constexpr int Admin = 20;
constexpr int CostCat = 15;
constexpr int CostName = 50;
constexpr int Manufacturer = 50;
constexpr int Sku = 50;
constexpr int CostUnit = 10;
constexpr int Descrip = 255;
} // namespace Len

} // namespace Schema
