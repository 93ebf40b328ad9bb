#pragma once

#include "common/Money.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstdint>
#include <optional>

struct AppContext;
class QueryModel;

// The cost items of the catalogue (table costitem) and the unit items listed beside them.
namespace CostItems {

// The cost types, which are also the captions of the catalogue tabs.
const QStringList& CostTypes();

// One statement with its bound values.
struct Statement {
    QString sql;
    QVariantList params;
};

// The rows of one cost type, narrowed to a category unless it is empty or "All". Material rows
// carry eight columns (with manufacturer and SKU), the others six. `materialById` orders the
// material rows by ID as the component chooser does.
Statement ListSql(const QString& costType, const QString& category = QString(),
                  bool materialById = false);
// Unit items with their price (the sum of their components' line totals); a unit item without
// components has no price and is not listed.
Statement UnitListSql();
// Shows the rows of ListSql (captions, money column) in a grid's model. Throws modData::SqlError.
void ShowList(AppContext& ctx, QueryModel& model, const QString& costType,
              const QString& category = QString());
// Shows the rows of UnitListSql in a grid's model. Throws modData::SqlError.
void ShowUnitList(AppContext& ctx, QueryModel& model);

// "All" followed by the distinct categories of one cost type.
QStringList Categories(AppContext& ctx, const QString& costType);
// "All" followed by the distinct categories of unit items.
QStringList UnitCategories(AppContext& ctx);
// Distinct non-empty values of one costitem column in ascending order (cat, unit, manufacturer).
QStringList DistinctValues(AppContext& ctx, const QString& column);

struct CostItem {
    std::int32_t ID = 0;
    QString costtype, cat, costname, manufacturer, sku, unit, descrip;
    Money amount;
};

std::optional<CostItem> Load(AppContext& ctx, std::int32_t id);
// A unit item as a line is made from it: name, unit, its price as amount and the table
// "Unit_Item" as costtype. Nothing when it has no components.
std::optional<CostItem> LoadUnit(AppContext& ctx, std::int32_t id);
// Adds (item.ID 0) or updates the item; reports failures through ActionQuery. Returns the ID
// or 0 on failure.
std::int32_t Save(AppContext& ctx, const CostItem& item);
bool Delete(AppContext& ctx, std::int32_t id);
// Deletes a unit item and its components together.
bool DeleteUnitItem(AppContext& ctx, std::int32_t id);

} // namespace CostItems
