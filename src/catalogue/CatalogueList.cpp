#include "catalogue/CatalogueList.h"

#include "catalogue/CostItems.h"
#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "storage/modData.h"

#include <QSet>
#include <QSqlQuery>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <iterator>

namespace CatalogueList {
namespace {

// A separator no search word holds, so that a word never matches across two fields.
const QChar kApart(0x1F);

void finish(Item& it) {
    it.folded = TextSearch::fold(it.name + kApart + it.descrip + kApart + it.manufacturer + kApart +
                                 it.sku);
}

// Text compared as SQLite's NOCASE collation compares it: only A-Z fold to a-z.
int compareNoCase(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* x = a.constData();
    const QChar* y = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t u = x[i].unicode(), v = y[i].unicode();
        if (u >= u'A' && u <= u'Z')
            u += 32;
        if (v >= u'A' && v <= u'Z')
            v += 32;
        if (u != v)
            return u < v ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

QString Catalogue::longestName(const QString& type) const {
    QString longest;
    for (const Item& it : items)
        if (it.name.size() > longest.size() && it.type == type)
            longest = it.name;
    return longest;
}

namespace {

// Changes when the file changes: data_version when another connection committed,
// total_changes when this one wrote.
struct Signature {
    qint64 dataVersion = -1;
    qint64 changes = -1;
    QString text() const { return QStringLiteral("%1/%2").arg(dataVersion).arg(changes); }
};

Signature signature(QSqlDatabase db) {
    QSqlQuery q = modData::exec(db, QStringLiteral("select (select data_version from "
                                                   "pragma_data_version()), total_changes()"));
    Signature s;
    if (q.next()) {
        s.dataVersion = q.value(0).toLongLong();
        s.changes = q.value(1).toLongLong();
    }
    return s;
}

// The rows this connection wrote since the catalogue was last read, noted by temporary
// triggers (kind 0: a cost item, 1: a unit item), so that a change of a few items re-reads
// those few and not the whole catalogue. Temporary objects live and die with the connection:
// a connection opened again (another file put in place) has none, and is read whole.
const QString kTouched = QStringLiteral("temp.catalogue_touched");

const char* const kTriggers[] = {
    "catalogue_cost_insert AFTER INSERT ON main.costitem BEGIN "
    "INSERT INTO catalogue_touched VALUES(0, new.ID); END",
    "catalogue_cost_update AFTER UPDATE ON main.costitem BEGIN "
    "INSERT INTO catalogue_touched VALUES(0, old.ID), (0, new.ID); END",
    "catalogue_cost_delete AFTER DELETE ON main.costitem BEGIN "
    "INSERT INTO catalogue_touched VALUES(0, old.ID); END",
    "catalogue_unit_insert AFTER INSERT ON main.costunit BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, new.ID); END",
    "catalogue_unit_update AFTER UPDATE ON main.costunit BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, old.ID), (1, new.ID); END",
    "catalogue_unit_delete AFTER DELETE ON main.costunit BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, old.ID); END",
    "catalogue_part_insert AFTER INSERT ON main.unititems BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, new.matlaborid); END",
    "catalogue_part_update AFTER UPDATE ON main.unititems BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, old.matlaborid), (1, new.matlaborid); END",
    "catalogue_part_delete AFTER DELETE ON main.unititems BEGIN "
    "INSERT INTO catalogue_touched VALUES(1, old.matlaborid); END",
};
constexpr int kTriggerCount = int(std::size(kTriggers));

// More touched rows than this and the whole catalogue is read again (an imported price list):
// one pass over the table is then quicker than looking each row up.
constexpr int kMostTouched = 5000;

// Whether the triggers were already in place; when they were not (a new connection, or a table
// made again), they are made now and what was read before cannot be trusted.
bool watch(QSqlDatabase db) {
    const int present =
        modData::scalar(db, QStringLiteral("select count(*) from temp.sqlite_master where "
                                           "type='trigger' and name like 'catalogue\\_%' "
                                           "escape '\\'"))
            .toInt();
    const bool table =
        modData::scalar(db, QStringLiteral("select count(*) from temp.sqlite_master where "
                                           "type='table' and name='catalogue_touched'"))
            .toInt() == 1;
    if (present == kTriggerCount && table)
        return true;
    modData::exec(db, QStringLiteral("create temp table if not exists catalogue_touched("
                                     "kind integer not null, id integer)"));
    for (const char* t : kTriggers)
        modData::exec(db, QStringLiteral("create temp trigger if not exists ") +
                              QString::fromLatin1(t));
    return false;
}

void forget(QSqlDatabase db) {
    modData::exec(db, QStringLiteral("delete from ") + kTouched);
}

QString costColumns() {
    return QStringLiteral("select ID, costtype, coalesce(cat,''), coalesce(costname,''), "
                          "coalesce(manufacturer,''), coalesce(sku,''), coalesce(unit,''), "
                          "coalesce(descrip,''), coalesce(amount,0) from costitem");
}

QString unitColumns() {
    return QStringLiteral("SELECT costunit.ID, coalesce(costunit.mlcat,''), "
                          "coalesce(costunit.mlname,''), coalesce(costunit.mlunit,''), "
                          "coalesce(costunit.mldesc,''), sum(UnitQry.\"Line Total\") "
                          "FROM UnitQry INNER JOIN costunit ON UnitQry.ID = costunit.ID");
}

// The position of a stored cost type in CostTypes (matched without case), or -1.
qsizetype typeIndex(const QStringList& types, const QString& stored) {
    qsizetype t = types.indexOf(stored);
    if (t >= 0)
        return t;
    for (t = 0; t < types.size(); ++t)
        if (types[t].compare(stored, Qt::CaseInsensitive) == 0)
            return t;
    return -1;
}

// The cost items of a query over costColumns(), by the position of their type.
std::vector<std::vector<Item>> costItems(QSqlQuery& q) {
    const QStringList& types = CostItems::CostTypes();
    std::vector<std::vector<Item>> byType(std::size_t(types.size()));
    while (q.next()) {
        const qsizetype t = typeIndex(types, q.value(1).toString());
        if (t < 0)
            continue;
        Item it;
        it.id = q.value(0).toInt();
        it.type = types[t];
        it.cat = q.value(2).toString();
        it.name = q.value(3).toString();
        it.manufacturer = q.value(4).toString();
        it.sku = q.value(5).toString();
        it.unit = q.value(6).toString();
        it.descrip = q.value(7).toString();
        it.amount = Money::fromRaw(q.value(8).toLongLong());
        finish(it);
        byType[std::size_t(t)].push_back(std::move(it));
    }
    return byType;
}

std::vector<Item> unitItems(QSqlQuery& u) {
    std::vector<Item> out;
    while (u.next()) {
        Item it;
        it.id = u.value(0).toInt();
        it.type = kUnitItem;
        it.cat = u.value(1).toString();
        it.name = u.value(2).toString();
        it.unit = u.value(3).toString();
        it.descrip = u.value(4).toString();
        it.amount = Money::fromRaw(u.value(5).toLongLong());
        finish(it);
        out.push_back(std::move(it));
    }
    return out;
}

// The list orders: materials by category, name and manufacturer as SQLite's NOCASE compares
// them (then by ID, the order they were read in), the other types and the unit items by ID.
bool byMaterialOrder(const Item& a, const Item& b) {
    if (const int c = compareNoCase(a.cat, b.cat))
        return c < 0;
    if (const int c = compareNoCase(a.name, b.name))
        return c < 0;
    if (const int c = compareNoCase(a.manufacturer, b.manufacturer))
        return c < 0;
    return a.id < b.id;
}

bool byId(const Item& a, const Item& b) {
    return a.id < b.id;
}

std::shared_ptr<const Catalogue> read(QSqlDatabase db) {
    auto c = std::make_shared<Catalogue>();
    // One pass over the table in its stored order: reading it type by type through the index
    // costs a read of the file for nearly every row of a large catalogue.
    QSqlQuery q = modData::exec(db, costColumns() + QStringLiteral(" order by ID"));
    std::vector<std::vector<Item>> byType = costItems(q);
    std::stable_sort(byType[0].begin(), byType[0].end(), byMaterialOrder);
    std::size_t total = 0;
    for (const auto& v : byType)
        total += v.size();
    c->items.reserve(total + 1024);
    for (auto& v : byType)
        std::move(v.begin(), v.end(), std::back_inserter(c->items));
    QSqlQuery u = modData::exec(
        db, unitColumns() + QStringLiteral(" GROUP BY costunit.ID ORDER BY costunit.ID"));
    std::vector<Item> units = unitItems(u);
    std::move(units.begin(), units.end(), std::back_inserter(c->items));
    return c;
}

// `old` with the touched rows read again, in the same order a whole read gives; nothing when
// so many rows were touched that a whole read is quicker.
std::shared_ptr<const Catalogue> refresh(QSqlDatabase db,
                                         const std::shared_ptr<const Catalogue>& before) {
    const Catalogue& old = *before;
    // A unit item is priced from its parts: a part's new price is the unit item's new price.
    modData::exec(db, QStringLiteral("insert into temp.catalogue_touched select distinct 1, "
                                     "matlaborid from unititems where itemid in (select id from "
                                     "temp.catalogue_touched where kind=0)"));
    QSqlQuery t =
        modData::exec(db, QStringLiteral("select distinct kind, id from temp.catalogue_touched"));
    QSet<std::int32_t> touched[2];
    while (t.next()) {
        const int kind = t.value(0).toInt();
        if (kind == 0 || kind == 1)
            touched[kind].insert(t.value(1).toInt());
        if (touched[0].size() + touched[1].size() > kMostTouched)
            return nullptr;
    }
    // A write that changed no listed item (a labor burden, a take-off rule, a rolled back
    // change) keeps the catalogue as it is.
    if (touched[0].isEmpty() && touched[1].isEmpty())
        return before;
    QSqlQuery q = modData::exec(
        db, costColumns() + QStringLiteral(" where ID in (select id from temp.catalogue_touched "
                                           "where kind=0) order by ID"));
    std::vector<std::vector<Item>> fresh = costItems(q);
    QSqlQuery u = modData::exec(
        db, unitColumns() + QStringLiteral(" WHERE costunit.ID in (select id from "
                                           "temp.catalogue_touched where kind=1) GROUP BY "
                                           "costunit.ID ORDER BY costunit.ID"));
    fresh.push_back(unitItems(u));

    // Each type's items as they were, less the touched ones, merged with the touched ones as
    // they are now. A whole read leaves the types one after the other, in the order of
    // CostTypes and the unit items last; so does this.
    const QStringList& types = CostItems::CostTypes();
    auto c = std::make_shared<Catalogue>();
    c->items.reserve(old.items.size() + 1024);
    std::size_t at = 0;
    for (std::size_t t = 0; t < fresh.size(); ++t) {
        const bool unit = t == std::size_t(types.size());
        const QString& type = unit ? kUnitItem : types[qsizetype(t)];
        const QSet<std::int32_t>& gone = touched[unit ? 1 : 0];
        const auto less = t == 0 ? byMaterialOrder : byId;
        std::vector<Item>& now = fresh[t];
        std::sort(now.begin(), now.end(), less);
        std::size_t k = 0;
        for (; at < old.items.size() && old.items[at].type == type; ++at) {
            const Item& it = old.items[at];
            if (gone.contains(it.id))
                continue;
            while (k < now.size() && less(now[k], it))
                c->items.push_back(std::move(now[k++]));
            c->items.push_back(it);
        }
        while (k < now.size())
            c->items.push_back(std::move(now[k++]));
    }
    // Items left over were not where a whole read puts them: read it whole.
    if (at != old.items.size())
        return nullptr;
    return c;
}

// The whole catalogue read on the calling thread (a preload's own) over a read-only connection
// of its own, opened and removed here: a connection serves only the thread that made it. Null
// when the file cannot be read; the first load() then reads it whole and reports why.
std::shared_ptr<const Catalogue> readAlone(const QString& path) noexcept {
    // One preload at a time runs on a thread: the thread names its connection.
    const QString name =
        QStringLiteral("catalogue-preload-%1").arg(quintptr(QThread::currentThreadId()));
    std::shared_ptr<const Catalogue> c;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            try {
                // One snapshot for the cost items and the unit items they price.
                modData::Transaction t(db);
                c = read(db);
            } catch (...) {
                c = nullptr;
            }
        }
        db.close();
    } catch (...) {
        c = nullptr;
    }
    QSqlDatabase::removeDatabase(name);
    return c;
}

// A finished (or unfinished: it is waited for) preload taken as the catalogue read last, with
// the state of the file before it began: what was written since is noted or seen by the
// signature, as after any read.
void settle(Cache& cache) {
    const Pending p = *cache.pending;
    cache.pending.reset();
    cache.catalogue = p.result.get();
    cache.signature = p.signature;
    cache.dataVersion = p.dataVersion;
}

} // namespace

bool preload(AppContext& ctx) {
    try {
        QSqlDatabase db = modData::db(ctx, ctx.CostConn);
        // Writes from here on are noted; those before are in what the thread reads.
        watch(db);
        forget(db);
        const Signature sig = signature(db);
        auto cache = std::make_shared<Cache>();
        cache->file = ctx.CostConn;
        cache->pending = Pending{std::async(std::launch::async, readAlone, db.databaseName()),
                                 sig.text(), sig.dataVersion};
        ctx.catalogueCache = std::move(cache);
        return true;
    } catch (const modData::SqlError&) {
        return false;
    } catch (const std::system_error&) {
        // No thread to be had: the first window reads the catalogue as it always did.
        return false;
    }
}

bool preloading(const AppContext& ctx) {
    const Cache* cache = ctx.catalogueCache.get();
    return cache && cache->pending &&
           cache->pending->result.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

std::shared_ptr<const Catalogue> load(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    Cache* cache = ctx.catalogueCache.get();
    if (cache && cache->pending)
        settle(*cache);
    const bool watched = watch(db);
    Signature sig = signature(db);
    const bool known = watched && cache && cache->catalogue && cache->file == ctx.CostConn;
    if (known && cache->signature == sig.text())
        return cache->catalogue;
    std::shared_ptr<const Catalogue> c;
    // Only this connection wrote since: what it wrote is noted.
    if (known && cache->dataVersion == sig.dataVersion)
        c = refresh(db, cache->catalogue);
    if (!c)
        c = read(db);
    // What was noted is now in the catalogue; the signature is taken once the notes are gone.
    forget(db);
    sig = signature(db);
    ctx.catalogueCache =
        std::make_shared<Cache>(Cache{ctx.CostConn, sig.text(), c, sig.dataVersion, std::nullopt});
    return c;
}

std::vector<int> select(const Catalogue& c, const QString& type, const QString& category,
                        const QStringList& words) {
    const bool anyCategory = category.isEmpty() || category == QLatin1String("All");
    std::vector<int> out;
    for (int i = 0; i < int(c.items.size()); ++i) {
        const Item& it = c.items[std::size_t(i)];
        if (it.type != type)
            continue;
        if (!anyCategory && it.cat.compare(category, Qt::CaseInsensitive) != 0)
            continue;
        if (!TextSearch::matchesAll(it.folded, words))
            continue;
        out.push_back(i);
    }
    return out;
}

int find(const Catalogue& c, const QString& type, std::int32_t id) {
    for (int i = 0; i < int(c.items.size()); ++i)
        if (c.items[std::size_t(i)].id == id && c.items[std::size_t(i)].type == type)
            return i;
    return -1;
}

} // namespace CatalogueList
