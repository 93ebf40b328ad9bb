#pragma once

#include "common/Money.h"

#include <QString>
#include <cstdint>

struct AppContext;
class QueryModel;

// The working line items and the estimate grid built from them.
namespace modGrid {

// Adds (mode "add"), changes ("edit") or deletes ("delete") the working line `lineID` from
// ctx.CurItem, then rebuilds the grid. Reports its own errors.
void AddLineItem(AppContext& ctx, const QString& mode, std::int32_t lineID);
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
