#include "catalogue/CatalogueList.h"

#include "catalogue/CostItems.h"
#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace CatalogueList {
namespace {

// A separator no search word holds, so that a word never matches across two fields.
const QChar kApart(0x1F);

void finish(Item& it) {
    it.folded = TextSearch::fold(it.name + kApart + it.descrip + kApart + it.manufacturer + kApart +
                                 it.sku);
}

// The rows of one cost type, under its own spelling whatever the case stored.
void readCostItems(QSqlQuery q, const QString& type, std::vector<Item>& out) {
    while (q.next()) {
        Item it;
        it.id = q.value(0).toInt();
        it.type = type;
        it.cat = q.value(2).toString();
        it.name = q.value(3).toString();
        it.manufacturer = q.value(4).toString();
        it.sku = q.value(5).toString();
        it.unit = q.value(6).toString();
        it.descrip = q.value(7).toString();
        it.amount = Money::fromRaw(q.value(8).toLongLong());
        finish(it);
        out.push_back(std::move(it));
    }
}

} // namespace

QString Catalogue::longestName(const QString& type) const {
    QString longest;
    for (const Item& it : items)
        if (it.name.size() > longest.size() && it.type == type)
            longest = it.name;
    return longest;
}

std::shared_ptr<const Catalogue> load(AppContext& ctx) {
    auto c = std::make_shared<Catalogue>();
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    const QString columns = QStringLiteral(
        "select ID, costtype, coalesce(cat,''), coalesce(costname,''), "
        "coalesce(manufacturer,''), coalesce(sku,''), coalesce(unit,''), coalesce(descrip,''), "
        "coalesce(amount,0) from costitem where costtype=?");
    // The same orders as the lists always had.
    for (const QString& type : CostItems::CostTypes()) {
        const bool material = type == QLatin1String("Material");
        readCostItems(modData::exec(db,
                                    columns + (material ? QStringLiteral(" order by cat,costname,"
                                                                         "manufacturer asc")
                                                        : QStringLiteral(" order by id asc")),
                                    {type}),
                      type, c->items);
    }
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
