#pragma once

#include "common/Money.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

struct AppContext;

// The whole catalogue in memory, as the browser and the picker list and search it: read once
// when a window opens, so that a search over a hundred thousand items follows every keystroke.
namespace CatalogueList {

// The table name the unit items are listed under, as lines name it.
inline const QString kUnitItem = QStringLiteral("Unit_Item");

struct Item {
    std::int32_t id = 0;
    QString type; // the cost type, or kUnitItem
    QString cat, name, manufacturer, sku, unit, descrip;
    Money amount;   // a unit item's price is the sum of its components
    QString folded; // name, description, manufacturer and SKU as searches compare them
};

struct Catalogue {
    // Material items by category, name and manufacturer; the other types and the unit items
    // by id (a unit item without components has no price and is not listed).
    std::vector<Item> items;
    // The longest name of each type (by characters), for sizing the name column.
    QString longestName(const QString& type) const;
};

// The catalogue read last and the state of its file then.
struct Cache {
    QString file;
    QString signature;
    std::shared_ptr<const Catalogue> catalogue;
    qint64 dataVersion = -1; // changes when another connection wrote the file
};

// The catalogue: read again only when its file changed since the last read (kept in
// ctx.catalogueCache). When only the program's own connection changed it, only the items it
// changed (and the unit items they price) are read again. Throws modData::SqlError.
std::shared_ptr<const Catalogue> load(AppContext& ctx);

// The positions in `c.items` of the items of `type` in `category` (empty or "All": every
// category) that hold every search word (TextSearch::words), in list order.
std::vector<int> select(const Catalogue& c, const QString& type, const QString& category,
                        const QStringList& words);

// The position of item `id` of `type` (cost items and unit items are numbered apart); -1 when
// it is not listed.
int find(const Catalogue& c, const QString& type, std::int32_t id);

} // namespace CatalogueList
