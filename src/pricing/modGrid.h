#pragma once

#include "common/Money.h"
#include "common/Quantity.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <cstdint>
#include <optional>

struct AppContext;
class QueryModel;

// The line being added or edited, as the item picker hands it over.
struct CurItemRecord {
    std::int32_t ItemID = 0;
    QString ItemTable;
    QString Name;
    QString Unit;
    Quantity Qty;
    Money Cost;
    Money LineTotal;
    QString Sect;
    std::int32_t SecOrder = 0;
    // The section's identity (TempSect.autoID); 0 lets the line find its section by Sect.
    qint64 SectID = 0;
    bool Picked = false;
    // The quantity is the one the item's take-off rule proposed, so "Refresh quantities from
    // roof" keeps it following the roof; a quantity typed by hand does not follow.
    bool FromRule = false;
    bool operator==(const CurItemRecord&) const = default;
};

// The working line items and the estimate grid built from them.
namespace modGrid {

// A working line with both of its ids: its own (tpLineItems.autoID) and that of its stored copy
// (0 when never saved), so that a deleted line can be put back exactly as it was.
struct WorkingLine {
    qint64 id = 0;
    qint64 storedId = 0;
    CurItemRecord item;
    // tpLineItems.EstID as the line has it (a new line: the estimate in work).
    qint64 estId = 0;
    bool operator==(const WorkingLine&) const = default;
};

// Adds `item` as a new working line (mode "add"), makes working line `lineID` that item
// ("edit"), or deletes working line `lineID` ("delete", no item), then rebuilds the grid.
// Reports its own errors.
void AddLineItem(AppContext& ctx, const QString& mode, std::int32_t lineID,
                 const CurItemRecord& item = CurItemRecord());

// The steps of AddLineItem on their own, each in one transaction with the rebuild of the grid,
// throwing modData::SqlError (nothing changes then).
// Adds a line (with `id` 0 a new one of the estimate in work, else back under that id as it
// was) and returns its id.
qint64 insertLine(AppContext& ctx, const WorkingLine& line);
void updateLine(AppContext& ctx, qint64 lineID, const CurItemRecord& item);
// Several lines changed together, in one transaction with the rebuild of the grid.
void updateLines(AppContext& ctx, const QList<QPair<qint64, CurItemRecord>>& lines);
// Deletes a working line. A line stored before is only marked for deletion from the estimate's
// database, which happens when the estimate is saved (modSaveEst); until then closing without
// saving leaves it stored.
void deleteLine(AppContext& ctx, qint64 lineID);
// Puts a deleted line back with its ids, and takes back the deletion of its stored copy.
void restoreLine(AppContext& ctx, const WorkingLine& line);

// Working line `lineID` (tpLineItems.autoID) as stored; nothing when there is no such line.
// Throws modData::SqlError.
std::optional<WorkingLine> line(AppContext& ctx, qint64 lineID);

// A working line as the picker offers it for a change: its texts as stored, and its price.
struct LineToEdit {
    QString lineID, itemTable, itemID, unit, name, sect;
    Quantity qty;
    Money cost;
    Money lineTotal;
    qint64 sectID = 0;
    // The quantity follows the item's take-off rule.
    bool fromRule = false;
};
// Working line `lineID` (tpLineItems.autoID); nothing when there is no such line. Throws
// modData::SqlError.
std::optional<LineToEdit> LoadLineToEdit(AppContext& ctx, std::int32_t lineID);
// Whether the grid shows working line `lineID` (EstiGrid.tpLineItemID). Throws
// modData::SqlError.
bool GridHasLine(AppContext& ctx, std::int32_t lineID);
// Rebuilds EstiGrid from TempSect and tpLineItems: each section that has lines, in the order of
// the sections, under its own heading with its own total.
void RePopGrid(AppContext& ctx);
// The same inside the caller's transaction on the working database. Throws modData::SqlError.
void rebuildGrid(QSqlDatabase working);
// Shows EstiGrid in a grid's model: ID, Name, Type, Qty, Unit and the three money columns.
// Throws modData::SqlError.
void ShowEstiGrid(AppContext& ctx, QueryModel& model);
// Writes one working line into the estimate database at ctx.EstConn: mode "insert" or
// "update" (of LineItems.ID = id). Throws modData::SqlError on failure, so that a save can
// stop and roll back as a whole.
void SaveLineItem(AppContext& ctx, const QString& mode, std::int32_t id, std::int32_t itemID,
                  const QString& sect, std::int32_t secOrder, const QString& name,
                  const QString& itemTable, Quantity qty, const QString& unit, Money cost,
                  Money lineTotal);

// The sum of the working lines' totals without line `exceptLineID` (0: all lines). Throws
// modData::SqlError.
Money linesTotal(AppContext& ctx, qint64 exceptLineID = 0);

} // namespace modGrid
