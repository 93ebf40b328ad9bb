#pragma once

#include "common/Money.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
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

// The catalogue being read in the background (preload) and the state of its file just before
// the read began. The result is null when the read failed.
struct Pending {
    std::shared_future<std::shared_ptr<const Catalogue>> result;
    QString signature;
    qint64 dataVersion = -1;
};

// The catalogue read last and the state of its file then. Dropping the last copy of a cache
// whose read is still pending waits for that read to end (std::async's future does).
struct Cache {
    QString file;
    QString signature;
    std::shared_ptr<const Catalogue> catalogue;
    qint64 dataVersion = -1; // changes when another connection wrote the file
    std::optional<Pending> pending;
};

// The catalogue: read again only when its file changed since the last read (kept in
// ctx.catalogueCache). When only the program's own connection changed it, only the items it
// changed (and the unit items they price) are read again. Throws modData::SqlError.
// A read still in the background is waited for and taken as the catalogue read last.
std::shared_ptr<const Catalogue> load(AppContext& ctx);

// Starts reading the whole catalogue on a thread of its own, over a read-only connection of its
// own, so that the first window to list it after start-up finds it read. Writes through the
// program's connection from now on are noted, so that load() re-reads what they touched; a
// write by another connection makes load() read it whole again. False (and nothing started)
// when the catalogue cannot be opened now: the first load() reports that as it always did.
bool preload(AppContext& ctx);

// Whether a preload is still reading.
bool preloading(const AppContext& ctx);

// The positions in `c.items` of the items of `type` in `category` (empty or "All": every
// category) that hold every search word (TextSearch::words), in list order.
std::vector<int> select(const Catalogue& c, const QString& type, const QString& category,
                        const QStringList& words);

// The position of item `id` of `type` (cost items and unit items are numbered apart); -1 when
// it is not listed.
int find(const Catalogue& c, const QString& type, std::int32_t id);

} // namespace CatalogueList
