#pragma once

#include "common/Money.h"

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
    std::int32_t Qty = 0;
    Money Cost;
    Money LineTotal;
    QString Sect;
    std::int32_t SecOrder = 0;
    bool Picked = false;
};

// The working line items and the estimate grid built from them.
namespace modGrid {

// Adds `item` as a new working line (mode "add"), makes working line `lineID` that item
// ("edit"), or deletes working line `lineID` ("delete", no item), then rebuilds the grid.
// Reports its own errors.
void AddLineItem(AppContext& ctx, const QString& mode, std::int32_t lineID,
                 const CurItemRecord& item = CurItemRecord());

// A working line as the picker offers it for a change: its texts as stored, and its price.
struct LineToEdit {
    QString lineID, itemTable, itemID, qty, unit, name, sect;
    Money cost;
};
// Working line `lineID` (tpLineItems.autoID); nothing when there is no such line. Throws
// modData::SqlError.
std::optional<LineToEdit> LoadLineToEdit(AppContext& ctx, std::int32_t lineID);
// Whether the grid shows working line `lineID` (EstiGrid.tpLineItemID). Throws
// modData::SqlError.
bool GridHasLine(AppContext& ctx, std::int32_t lineID);
// Rebuilds EstiGrid from TempSect and tpLineItems.
void RePopGrid(AppContext& ctx);
// Shows EstiGrid in a grid's model: ID, Name, Type, Qty, Unit and the three money columns.
// Throws modData::SqlError.
void ShowEstiGrid(AppContext& ctx, QueryModel& model);
// Writes one working line into the estimate database at ctx.EstConn: mode "insert" or
// "update" (of LineItems.ID = id). Throws modData::SqlError on failure, so that a save can
// stop and roll back as a whole.
void SaveLineItem(AppContext& ctx, const QString& mode, std::int32_t id, std::int32_t itemID,
                  const QString& sect, std::int32_t secOrder, const QString& name,
                  const QString& itemTable, std::int32_t qty, const QString& unit, Money cost,
                  Money lineTotal);

} // namespace modGrid
