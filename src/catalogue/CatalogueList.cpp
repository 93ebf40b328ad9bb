#include "catalogue/CatalogueList.h"

#include "catalogue/CostItems.h"
#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "storage/modData.h"

#include <QSqlQuery>
#include <algorithm>
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
QString signature(QSqlDatabase db) {
    QSqlQuery q = modData::exec(db, QStringLiteral("select (select data_version from "
                                                   "pragma_data_version()), total_changes()"));
    return q.next() ? q.value(0).toString() + QLatin1Char('/') + q.value(1).toString() : QString();
}

std::shared_ptr<const Catalogue> read(QSqlDatabase db) {
    auto c = std::make_shared<Catalogue>();
    // One pass over the table in its stored order: reading it type by type through the index
    // costs a read of the file for nearly every row of a large catalogue.
    const QStringList& types = CostItems::CostTypes();
    std::vector<std::vector<Item>> byType(std::size_t(types.size()));
    QSqlQuery q = modData::exec(
        db, QStringLiteral("select ID, costtype, coalesce(cat,''), coalesce(costname,''), "
                           "coalesce(manufacturer,''), coalesce(sku,''), coalesce(unit,''), "
                           "coalesce(descrip,''), coalesce(amount,0) from costitem order by ID"));
    while (q.next()) {
        const QString stored = q.value(1).toString();
        qsizetype t = types.indexOf(stored);
        if (t < 0)
            for (t = 0; t < types.size(); ++t)
                if (types[t].compare(stored, Qt::CaseInsensitive) == 0)
                    break;
        if (t >= types.size())
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
    // The same orders as the lists always had: materials by category, name and manufacturer
    // as SQLite's NOCASE compares them, the other types by ID.
    std::stable_sort(byType[0].begin(), byType[0].end(), [](const Item& a, const Item& b) {
        if (const int c = compareNoCase(a.cat, b.cat))
            return c < 0;
        if (const int c = compareNoCase(a.name, b.name))
            return c < 0;
        return compareNoCase(a.manufacturer, b.manufacturer) < 0;
    });
    std::size_t total = 0;
    for (const auto& v : byType)
        total += v.size();
    c->items.reserve(total + 1024);
    for (auto& v : byType)
        std::move(v.begin(), v.end(), std::back_inserter(c->items));
    QSqlQuery u = modData::exec(
        db, QStringLiteral("SELECT costunit.ID, coalesce(costunit.mlcat,''), "
                           "coalesce(costunit.mlname,''), coalesce(costunit.mlunit,''), "
                           "coalesce(costunit.mldesc,''), sum(UnitQry.\"Line Total\") "
                           "FROM UnitQry INNER JOIN costunit ON UnitQry.ID = costunit.ID "
                           "GROUP BY costunit.ID ORDER BY costunit.ID"));
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
        c->items.push_back(std::move(it));
    }
    return c;
}

} // namespace

std::shared_ptr<const Catalogue> load(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    const QString sig = signature(db);
    Cache* cache = ctx.catalogueCache.get();
    if (cache && cache->catalogue && cache->file == ctx.CostConn && cache->signature == sig)
        return cache->catalogue;
    auto c = read(db);
    // The signature read before the catalogue: a change between the two reads it again.
    ctx.catalogueCache = std::make_shared<Cache>(Cache{ctx.CostConn, sig, c});
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
