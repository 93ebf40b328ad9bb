#pragma once

#include "common/Money.h"
#include "common/Quantity.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

struct AppContext;

// Copying a stored estimate into the working tables.
namespace modOpenEst {

struct OwnerRecord {
    QString estName, estType, estPath, status;
    std::array<QString, 7> name; // fname, lname, address, citystzip, homeph, workph, ext
};

// The master row of estimate `id` and its Main row; sets ctx.EstConn (and EstName, EstPath).
// Throws modData::SqlError when either is missing or cannot be read.
OwnerRecord OpenOwner(AppContext& ctx, std::int32_t id);

// Copies Areas and Lineal into TempAreas and TempLineal, keeping the stored ids.
void OpenRoof(AppContext& ctx);

// Copies LineItems into tpLineItems, rebuilds TempSect from them and then the grid table.
void OpenLineItems(AppContext& ctx);

// One stored line into tpLineItems; `fromRule`: its quantity still follows its item's take-off
// rule.
void InsertTpLineItem(AppContext& ctx, std::int32_t lineItemID, std::int32_t itemID,
                      const QString& sect, std::int32_t secOrder, const QString& name,
                      const QString& itemTable, Quantity qty, const QString& unit, Money cost,
                      Money lineTotal, bool fromRule = false);

} // namespace modOpenEst
