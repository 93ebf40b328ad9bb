#include "catalogue/CostItems.h"

#include "common/AppContext.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace CostItems {

const QStringList& CostTypes() {
    static const QStringList t = {QStringLiteral("Material"), QStringLiteral("Labor"),
                                  QStringLiteral("SubCon"), QStringLiteral("Equip"),
                                  QStringLiteral("Fee")};
    return t;
}

Statement ListSql(const QString& costType, const QString& category, bool materialById) {
    const bool material = costType.compare(QLatin1String("Material"), Qt::CaseInsensitive) == 0;
    Statement s;
    s.sql = material && !materialById
                ? QStringLiteral("select ID,Cat,CostName,manufacturer,sku,Unit,Descrip,Amount")
                : QStringLiteral("select ID,Cat,CostName,Unit,Descrip,Amount");
    s.sql += QStringLiteral(" from costitem where costtype=?");
    s.params << costType;
    if (!category.isEmpty() && category != QLatin1String("All")) {
        s.sql += QStringLiteral(" and cat=?");
        s.params << category;
    }
    s.sql += material && !materialById ? QStringLiteral(" order by cat,costname,manufacturer asc")
                                       : QStringLiteral(" order by id asc");
    return s;
}

Statement UnitListSql() {
    return {QStringLiteral("SELECT costunit.ID, costunit.mlcat, costunit.mlname, costunit.mlunit, "
                           "costunit.mldesc, sum(UnitQry.\"Line Total\") AS \"Line Total\" "
                           "FROM UnitQry INNER JOIN costunit ON UnitQry.ID = costunit.ID "
                           "GROUP BY costunit.ID ORDER BY costunit.ID"),
            {}};
}

static QList<QueryColumn> listColumns(bool material) {
    if (material)
        return {{QStringLiteral("ID")},   {QStringLiteral("Category")},
                {QStringLiteral("Name")}, {QStringLiteral("Manufacturer")},
                {QStringLiteral("SKU")},  {QStringLiteral("Unit")},
                {QStringLiteral("Desc")}, {QStringLiteral("Cost"), true}};
    return {{QStringLiteral("ID")},   {QStringLiteral("Cat")},  {QStringLiteral("Name")},
            {QStringLiteral("Unit")}, {QStringLiteral("Desc")}, {QStringLiteral("Cost"), true}};
}

void ShowList(AppContext& ctx, QueryModel& model, const QString& costType,
              const QString& category) {
    const bool material = costType.compare(QLatin1String("Material"), Qt::CaseInsensitive) == 0;
    const Statement s = ListSql(costType, category);
    model.show(ctx.CostConn, s.sql, s.params, listColumns(material));
}

void ShowUnitList(AppContext& ctx, QueryModel& model) {
    const Statement s = UnitListSql();
    model.show(ctx.CostConn, s.sql, s.params, listColumns(false));
}

namespace {
QStringList withAll(QSqlQuery q) {
    QStringList out{QStringLiteral("All")};
    while (q.next())
        if (!q.value(0).isNull())
            out << q.value(0).toString();
    return out;
}
} // namespace

QStringList Categories(AppContext& ctx, const QString& costType) {
    return withAll(modData::exec(ctx, ctx.CostConn,
                                 QStringLiteral("select distinct cat from costitem where "
                                                "costtype=? order by cat"),
                                 {costType}));
}

QStringList UnitCategories(AppContext& ctx) {
    return withAll(modData::exec(
        ctx, ctx.CostConn, QStringLiteral("select distinct mlcat from costunit order by mlcat")));
}

QStringList DistinctValues(AppContext& ctx, const QString& column) {
    static const QStringList allowed = {QStringLiteral("cat"), QStringLiteral("unit"),
                                        QStringLiteral("manufacturer")};
    if (!allowed.contains(column))
        return {};
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("select distinct %1 from costitem where %1 is not "
                                               "null and %1<>'' order by %1 asc")
                                    .arg(column));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

std::optional<CostItem> Load(AppContext& ctx, std::int32_t id) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("select costtype,cat,costname,unit,descrip,amount,"
                                               "manufacturer,sku from costitem where id=?"),
                                {id});
    if (!q.next())
        return std::nullopt;
    CostItem c;
    c.ID = id;
    c.costtype = q.value(0).toString();
    c.cat = q.value(1).toString();
    c.costname = q.value(2).toString();
    c.unit = q.value(3).toString();
    c.descrip = q.value(4).toString();
    c.amount = Money::fromRaw(q.value(5).toLongLong());
    c.manufacturer = q.value(6).toString();
    c.sku = q.value(7).toString();
    return c;
}

std::optional<CostItem> LoadUnit(AppContext& ctx, std::int32_t id) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn,
                                QStringLiteral("SELECT costunit.mlname, costunit.mlunit, "
                                               "sum(UnitQry.\"Line Total\") FROM UnitQry INNER "
                                               "JOIN costunit ON UnitQry.ID = costunit.ID WHERE "
                                               "costunit.ID=? GROUP BY costunit.ID"),
                                {id});
    if (!q.next())
        return std::nullopt;
    CostItem c;
    c.ID = id;
    c.costtype = QStringLiteral("Unit_Item");
    c.costname = q.value(0).toString();
    c.unit = q.value(1).toString();
    c.amount = Money::fromRaw(q.value(2).toLongLong());
    return c;
}

std::int32_t Save(AppContext& ctx, const CostItem& c) {
    const QVariantList values{
        c.costtype, c.cat,  c.manufacturer, c.sku,
        c.costname, c.unit, c.descrip,      QVariant::fromValue<qlonglong>(c.amount.raw())};
    if (c.ID == 0)
        return std::int32_t(
            modData::ActionInsert(ctx,
                                  QStringLiteral("insert into costitem(costtype,cat,manufacturer,"
                                                 "sku,costname,unit,descrip,amount)values(?,?,?,?,"
                                                 "?,?,?,?)"),
                                  values, ctx.CostConn));
    QVariantList p = values;
    p << c.ID;
    return modData::ActionQuery(ctx,
                                QStringLiteral("UPDATE costitem set costtype=?, cat=?, "
                                               "manufacturer=?, sku=?, costname=?, unit=?, "
                                               "descrip=?, amount=? where ID=?"),
                                p, ctx.CostConn)
               ? c.ID
               : 0;
}

bool Delete(AppContext& ctx, std::int32_t id) {
    return modData::ActionQuery(ctx, QStringLiteral("DELETE from costitem where id=?"), {id},
                                ctx.CostConn);
}

bool DeleteUnitItem(AppContext& ctx, std::int32_t id) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    modData::exec(db, QStringLiteral("DELETE from costunit where id=?"), {id});
    modData::exec(db, QStringLiteral("DELETE from unititems where matlaborid=?"), {id});
    t.commit();
    return true;
}

} // namespace CostItems
