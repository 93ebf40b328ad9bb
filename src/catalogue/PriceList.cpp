#include "catalogue/PriceList.h"

#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace PriceList {
namespace {

const QString kCostItem = QStringLiteral("Cost item");
const QString kUnitItem = QStringLiteral("Unit item");
const QString kComponent = QStringLiteral("Component");
const QString kLayouts = QStringLiteral("PriceListLayouts");

QString plain(Money m) {
    return m.toSql();
}

QString column(const QSqlQuery& q, int i) {
    return q.value(i).toString();
}

} // namespace

// ---- Out -------------------------------------------------------------------------------------

const QStringList& ExportHeader() {
    static const QStringList h = {
        QStringLiteral("Kind"),         QStringLiteral("ID"),        QStringLiteral("Cost type"),
        QStringLiteral("Category"),     QStringLiteral("Name"),      QStringLiteral("Manufacturer"),
        QStringLiteral("SKU"),          QStringLiteral("Unit"),      QStringLiteral("Description"),
        QStringLiteral("Price"),        QStringLiteral("Base rate"), QStringLiteral("Fringe"),
        QStringLiteral("Workers comp"), QStringLiteral("Taxes"),     QStringLiteral("Other"),
        QStringLiteral("Unit item ID"), QStringLiteral("Quantity")};
    return h;
}

QString ExportCsv(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    QString out = CsvText::line(ExportHeader());
    QSqlQuery q = modData::exec(
        db, QStringLiteral("select c.ID, c.costtype, coalesce(c.cat,''), coalesce(c.costname,''), "
                           "coalesce(c.manufacturer,''), coalesce(c.sku,''), coalesce(c.unit,''), "
                           "coalesce(c.descrip,''), coalesce(c.amount,0), l.baserate, l.fringe, "
                           "l.workcomp, l.taxes, l.other from costitem c left join laborcost l "
                           "on l.costid = c.ID order by c.costtype, c.ID"));
    while (q.next()) {
        QStringList row{kCostItem};
        for (int i = 0; i < 8; ++i)
            row << column(q, i);
        row << plain(Money::fromRaw(q.value(8).toLongLong()));
        // Hourly labor: its rates, whose sum is its price.
        for (int i = 9; i < 14; ++i)
            row << (q.value(i).isNull() ? QString()
                                        : plain(Money::fromRaw(q.value(i).toLongLong())));
        row << QString() << QString();
        out += CsvText::line(row);
    }
    QSqlQuery u = modData::exec(
        db, QStringLiteral("select u.ID, coalesce(u.mlcat,''), coalesce(u.mlname,''), "
                           "coalesce(u.mlunit,''), coalesce(u.mldesc,''), "
                           "(select coalesce(sum(\"Line Total\"),0) from UnitQry where "
                           "UnitQry.ID = u.ID) from costunit u order by u.ID"));
    QSqlQuery parts(db);
    parts.prepare(QStringLiteral(
        "select c.ID, c.costtype, coalesce(c.cat,''), coalesce(c.costname,''), "
        "coalesce(c.manufacturer,''), coalesce(c.sku,''), coalesce(c.unit,''), "
        "coalesce(c.descrip,''), coalesce(c.amount,0), i.itemqty from unititems i join costitem c "
        "on c.ID = i.itemid where i.matlaborid = ? order by i.ID"));
    while (u.next()) {
        out += CsvText::line({kUnitItem, column(u, 0), QStringLiteral("Unit_Item"), column(u, 1),
                              column(u, 2), QString(), QString(), column(u, 3), column(u, 4),
                              plain(Money::fromRaw(u.value(5).toLongLong())), QString(), QString(),
                              QString(), QString(), QString(), QString(), QString()});
        parts.addBindValue(u.value(0));
        if (!parts.exec())
            throw modData::SqlError::from(parts.lastError());
        while (parts.next()) {
            QStringList row{kComponent};
            for (int i = 0; i < 8; ++i)
                row << column(parts, i);
            row << plain(Money::fromRaw(parts.value(8).toLongLong())) << QString() << QString()
                << QString() << QString() << QString() << column(u, 0)
                << QString::number(parts.value(9).toDouble(), 'g', 15);
            out += CsvText::line(row);
        }
    }
    return out;
}

QString ExportFile(AppContext& ctx, const QString& path) {
    const QByteArray bytes = "\xEF\xBB\xBF" + ExportCsv(ctx).toUtf8();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return QStringLiteral("The price list could not be written to %1: %2.")
            .arg(path, f.errorString());
    return QString();
}

// ---- In --------------------------------------------------------------------------------------

QString FieldCaption(Field f) {
    switch (f) {
    case Sku:
        return QStringLiteral("SKU");
    case Name:
        return QStringLiteral("Name");
    case Unit:
        return QStringLiteral("Unit");
    case Price:
        return QStringLiteral("Price");
    case Category:
        return QStringLiteral("Category");
    case CostType:
        return QStringLiteral("Cost type");
    case Manufacturer:
        return QStringLiteral("Manufacturer");
    case Description:
        return QStringLiteral("Description");
    case Kind:
        return QStringLiteral("Kind");
    case Fields:
        break;
    }
    return QString();
}

std::array<int, Fields> GuessColumns(const QStringList& header) {
    // The names suppliers and spreadsheets give their columns, best first.
    static const std::array<QStringList, Fields> names = {
        QStringList{"sku", "item number", "item no", "item #", "part number", "part no", "article",
                    "product code", "code"},
        QStringList{"name", "item name", "product name", "product", "item", "bezeichnung",
                    "designation", "nom"},
        QStringList{"unit", "uom", "unit of measure", "units", "einheit", "unite", "unidad"},
        QStringList{"price", "unit price", "net price", "cost", "amount", "preis", "prix",
                    "precio"},
        QStringList{"category", "cat", "group", "product group"},
        QStringList{"cost type", "costtype", "type"},
        QStringList{"manufacturer", "brand", "maker", "make"},
        QStringList{"description", "desc", "details"},
        QStringList{"kind"}};
    QStringList folded;
    for (const QString& h : header)
        folded << TextSearch::fold(h.trimmed());
    std::array<int, Fields> out;
    out.fill(-1);
    for (int f = 0; f < Fields; ++f)
        for (const QString& n : names[std::size_t(f)]) {
            const int at = int(folded.indexOf(n));
            if (at >= 0 && std::find(out.begin(), out.end(), at) == out.end()) {
                out[std::size_t(f)] = at;
                break;
            }
        }
    // A list with a description but no name names its items by their description.
    if (out[Name] < 0 && out[Description] >= 0)
        std::swap(out[Name], out[Description]);
    return out;
}

QChar DetectDecimal(const std::vector<CsvText::Row>& rows, int column) {
    static const QRegularExpression comma(QStringLiteral("\\d,\\d{1,2}\\D*$"));
    static const QRegularExpression period(QStringLiteral("\\d\\.\\d{1,4}\\D*$"));
    int commas = 0, periods = 0;
    for (const CsvText::Row& r : rows) {
        if (column < 0 || column >= r.fields.size())
            continue;
        const QString& v = r.fields[column];
        if (v.contains(comma))
            ++commas;
        else if (v.contains(period))
            ++periods;
    }
    return commas > periods ? QLatin1Char(',') : QLatin1Char('.');
}

namespace {

QString layoutKey(const QStringList& header) {
    QStringList folded;
    for (const QString& h : header)
        folded << TextSearch::fold(h.trimmed());
    return QString::fromLatin1(
        QCryptographicHash::hash(folded.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Md5)
            .toHex());
}

void splitRows(Source& s) {
    CsvText::Table t = CsvText::read(s.bytes, s.layout.separator, s.layout.encoding);
    s.error = t.error;
    s.header.clear();
    s.rows.clear();
    if (t.rows.empty()) {
        if (s.error.isEmpty())
            s.error = QStringLiteral("The file holds no rows.");
        return;
    }
    s.header = t.rows.front().fields;
    s.rows.assign(std::make_move_iterator(t.rows.begin() + 1),
                  std::make_move_iterator(t.rows.end()));
}

} // namespace

void Remember(SettingsStore& store, const QStringList& header, const Layout& l) {
    QStringList cols;
    for (int c : l.column)
        cols << QString::number(c);
    store.set(kLayouts, layoutKey(header),
              QStringLiteral("%1|%2|%3|%4|%5")
                  .arg(l.encoding == CsvText::Encoding::Utf8 ? QStringLiteral("utf8")
                                                             : QStringLiteral("cp1252"))
                  .arg(int(l.separator))
                  .arg(int(l.decimal.unicode()))
                  .arg(l.defaultType, cols.join(QLatin1Char(' '))));
}

std::optional<Layout> Remembered(const SettingsStore& store, const QStringList& header) {
    const QStringList parts = store.get(kLayouts, layoutKey(header)).split(QLatin1Char('|'));
    if (parts.size() != 5)
        return std::nullopt;
    Layout l;
    l.encoding = parts[0] == QLatin1String("cp1252") ? CsvText::Encoding::Windows1252
                                                     : CsvText::Encoding::Utf8;
    const int sep = parts[1].toInt();
    if (sep != ',' && sep != ';' && sep != '\t')
        return std::nullopt;
    l.separator = char(sep);
    l.decimal = parts[2].toInt() == ',' ? QLatin1Char(',') : QLatin1Char('.');
    if (CostItems::CostTypes().contains(parts[3]))
        l.defaultType = parts[3];
    const QStringList cols = parts[4].split(QLatin1Char(' '));
    if (cols.size() != Fields)
        return std::nullopt;
    for (int f = 0; f < Fields; ++f) {
        const int c = cols[f].toInt();
        l.column[std::size_t(f)] = c >= 0 && c < header.size() ? c : -1;
    }
    return l;
}

Source Read(QByteArray bytes, const SettingsStore* remembered) {
    Source s;
    s.bytes = std::move(bytes);
    s.layout.encoding = CsvText::detectEncoding(s.bytes);
    s.layout.separator = CsvText::detectSeparator(s.bytes);
    splitRows(s);
    if (s.header.isEmpty())
        return s;
    if (const auto l = remembered ? Remembered(*remembered, s.header) : std::nullopt;
        l && l->encoding == s.layout.encoding && l->separator == s.layout.separator) {
        s.layout = *l;
        return s;
    }
    s.layout.column = GuessColumns(s.header);
    s.layout.decimal = DetectDecimal(s.rows, s.layout.column[Price]);
    return s;
}

Source Open(const QString& path, const SettingsStore* remembered) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        Source s;
        s.error = QStringLiteral("The file %1 could not be opened: %2.").arg(path, f.errorString());
        return s;
    }
    return Read(f.readAll(), remembered);
}

void Reread(Source& s, CsvText::Encoding encoding, char separator) {
    const QStringList before = s.header;
    s.layout.encoding = encoding;
    s.layout.separator = separator;
    splitRows(s);
    if (s.header != before) {
        s.layout.column = GuessColumns(s.header);
        s.layout.decimal = DetectDecimal(s.rows, s.layout.column[Price]);
    }
}

std::optional<Money> ReadPrice(const QString& raw, QChar decimal) {
    QString t;
    t.reserve(raw.size());
    for (QChar c : raw) {
        if (c.isSpace() || c.category() == QChar::Symbol_Currency || c == QLatin1Char('\''))
            continue;
        if (c == decimal)
            t += QLatin1Char('.');
        else if (c == QLatin1Char('.') || c == QLatin1Char(','))
            continue; // grouping
        else
            t += c;
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!number.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 1e11)
        return std::nullopt;
    return Money::fromDouble(v);
}

std::optional<double> PriceChange::percent() const {
    if (before.raw() == 0)
        return std::nullopt;
    return double(after.raw() - before.raw()) * 100.0 / double(before.raw());
}

namespace {

struct Stored {
    std::int32_t id;
    QString type, name, unit;
    Money amount;
    bool hourly;
};

QString matchKey(const QString& name, const QString& unit, const QString& type) {
    return name.trimmed().toCaseFolded() + QChar(0x1F) + unit.trimmed().toCaseFolded() +
           QChar(0x1F) + type.toCaseFolded();
}

struct Limits {
    Field field;
    int max;
    const char* what;
};
constexpr Limits kLimits[] = {
    {Name, 50, "name"}, {Category, 15, "category"}, {Manufacturer, 50, "manufacturer"},
    {Sku, 50, "SKU"},   {Unit, 10, "unit"},         {Description, 255, "description"}};

} // namespace

Preview Compare(AppContext& ctx, const Source& s, const Layout& l) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    std::vector<Stored> stored;
    QHash<QString, int> bySku, byKey;
    QSqlQuery q = modData::exec(
        db, QStringLiteral("select c.ID, c.costtype, coalesce(c.costname,''), coalesce(c.unit,''), "
                           "coalesce(c.sku,''), coalesce(c.amount,0), exists(select 1 from "
                           "laborcost l where l.costid = c.ID) from costitem c order by c.ID"));
    while (q.next()) {
        const int at = int(stored.size());
        QString type = q.value(1).toString();
        for (const QString& t : CostItems::CostTypes())
            if (t.compare(type, Qt::CaseInsensitive) == 0)
                type = t;
        stored.push_back({q.value(0).toInt(), type, q.value(2).toString(), q.value(3).toString(),
                          Money::fromRaw(q.value(5).toLongLong()), q.value(6).toBool()});
        const QString sku = q.value(4).toString().trimmed().toCaseFolded();
        if (!sku.isEmpty() && !bySku.contains(sku))
            bySku.insert(sku, at);
        const QString key = matchKey(stored.back().name, stored.back().unit, type);
        if (!byKey.contains(key))
            byKey.insert(key, at);
    }

    Preview p;
    QHash<int, int> seenStored;  // stored position -> line
    QHash<QString, int> seenNew; // match key of a new item -> line
    QHash<QString, int> seenNewSku;
    QHash<std::int32_t, Money> newPrice;
    auto field = [&](const CsvText::Row& r, Field f) {
        const int c = l.column[std::size_t(f)];
        return c >= 0 && c < r.fields.size() ? r.fields[c].trimmed() : QString();
    };
    for (const CsvText::Row& r : s.rows) {
        if (l.column[Kind] >= 0) {
            const QString kind = field(r, Kind);
            if (!kind.isEmpty() && kind.compare(kCostItem, Qt::CaseInsensitive) != 0) {
                ++p.skipped;
                continue;
            }
        }
        auto problem = [&](const QString& why) { p.problems.push_back({r.line, why}); };
        const QString name = field(r, Name);
        if (name.isEmpty()) {
            problem(QStringLiteral("The row has no name."));
            continue;
        }
        QString type = l.column[CostType] >= 0 ? field(r, CostType) : l.defaultType;
        bool known = false;
        for (const QString& t : CostItems::CostTypes())
            if (t.compare(type, Qt::CaseInsensitive) == 0) {
                type = t;
                known = true;
            }
        if (!known) {
            problem(QStringLiteral("The cost type \"%1\" is not one of Material, Labor, SubCon, "
                                   "Equip or Fee.")
                        .arg(type));
            continue;
        }
        const QString priceText = field(r, Price);
        const std::optional<Money> price = ReadPrice(priceText, l.decimal);
        if (priceText.isEmpty()) {
            problem(QStringLiteral("The row has no price."));
            continue;
        }
        if (!price) {
            problem(QStringLiteral("The price \"%1\" is not a number.").arg(priceText));
            continue;
        }
        if (price->raw() < 0) {
            problem(QStringLiteral("The price %1 is below zero.").arg(priceText));
            continue;
        }
        bool tooLong = false;
        for (const Limits& lim : kLimits)
            if (field(r, lim.field).size() > lim.max) {
                problem(QStringLiteral("The %1 is longer than %2 characters.")
                            .arg(QLatin1String(lim.what))
                            .arg(lim.max));
                tooLong = true;
                break;
            }
        if (tooLong)
            continue;

        const QString sku = field(r, Sku);
        const QString unit = field(r, Unit);
        const QString key = matchKey(name, unit, type);
        const QString skuKey = sku.toCaseFolded();
        int at = -1;
        if (!skuKey.isEmpty())
            at = bySku.value(skuKey, -1);
        if (at < 0)
            at = byKey.value(key, -1);
        if (at >= 0) {
            if (const int first = seenStored.value(at, 0)) {
                problem(QStringLiteral("The same item as line %1.").arg(first));
                continue;
            }
            const Stored& it = stored[std::size_t(at)];
            PriceChange c{r.line, it.id, it.type, it.name, it.unit, it.amount, *price};
            if (it.amount == *price) {
                seenStored.insert(at, r.line);
                p.unchanged.push_back(c);
                continue;
            }
            if (it.hourly) {
                problem(QStringLiteral("Hourly labor is priced from its rates; change \"%1\" in "
                                       "the rate builder.")
                            .arg(it.name));
                continue;
            }
            seenStored.insert(at, r.line);
            newPrice.insert(it.id, *price);
            p.changed.push_back(c);
            continue;
        }
        const int first = !skuKey.isEmpty() && seenNewSku.contains(skuKey)
                              ? seenNewSku.value(skuKey)
                              : seenNew.value(key, 0);
        if (first) {
            problem(QStringLiteral("The same item as line %1.").arg(first));
            continue;
        }
        seenNew.insert(key, r.line);
        if (!skuKey.isEmpty())
            seenNewSku.insert(skuKey, r.line);
        NewItem n;
        n.line = r.line;
        n.item.costtype = type;
        n.item.cat = field(r, Category);
        n.item.costname = name;
        n.item.manufacturer = field(r, Manufacturer);
        n.item.sku = sku;
        n.item.unit = unit;
        n.item.descrip = field(r, Description);
        n.item.amount = *price;
        p.added.push_back(std::move(n));
    }

    // Unit items priced from a component whose price changes, as UnitQry figures them.
    if (!newPrice.isEmpty()) {
        QHash<std::int32_t, Money> oldPrice;
        for (const Stored& it : stored)
            oldPrice.insert(it.id, it.amount);
        QSqlQuery u = modData::exec(
            db, QStringLiteral("select u.ID, coalesce(u.mlname,''), coalesce(u.mlunit,''), "
                               "i.itemid, i.itemqty from costunit u join unititems i on "
                               "i.matlaborid = u.ID order by u.ID"));
        UnitChange cur;
        bool touched = false;
        auto finish = [&] {
            if (cur.id && touched && cur.before != cur.after)
                p.units.push_back(cur);
        };
        while (u.next()) {
            const std::int32_t id = u.value(0).toInt();
            if (id != cur.id) {
                finish();
                cur = UnitChange{id, u.value(1).toString(), u.value(2).toString(), {}, {}};
                touched = false;
            }
            const std::int32_t item = u.value(3).toInt();
            if (!oldPrice.contains(item))
                continue; // a component whose item is gone prices nothing, as in UnitQry
            const double qty = u.value(4).toDouble();
            const Money before = oldPrice.value(item);
            const Money after = newPrice.value(item, before);
            touched = touched || newPrice.contains(item);
            cur.before += Money::fromRaw(std::llround(qty * double(before.raw())));
            cur.after += Money::fromRaw(std::llround(qty * double(after.raw())));
        }
        finish();
    }
    return p;
}

void Apply(AppContext& ctx, const Preview& p) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    QSqlQuery upd(db), ins(db);
    upd.prepare(QStringLiteral("update costitem set amount=? where ID=?"));
    ins.prepare(QStringLiteral("insert into costitem(costtype,cat,costname,manufacturer,sku,unit,"
                               "descrip,amount) values(?,?,?,?,?,?,?,?)"));
    for (const PriceChange& c : p.changed) {
        upd.addBindValue(qlonglong(c.after.raw()));
        upd.addBindValue(c.id);
        if (!upd.exec())
            throw modData::SqlError::from(upd.lastError());
    }
    // Stored as the item forms store them: an empty text, never NULL.
    auto text = [](const QString& s) { return QVariant(s.isNull() ? QStringLiteral("") : s); };
    for (const NewItem& n : p.added) {
        const CostItems::CostItem& i = n.item;
        ins.addBindValue(i.costtype);
        ins.addBindValue(text(i.cat));
        ins.addBindValue(i.costname);
        ins.addBindValue(text(i.manufacturer));
        ins.addBindValue(text(i.sku));
        ins.addBindValue(text(i.unit));
        ins.addBindValue(text(i.descrip));
        ins.addBindValue(qlonglong(i.amount.raw()));
        if (!ins.exec())
            throw modData::SqlError::from(ins.lastError());
    }
    t.commit();
}

} // namespace PriceList
