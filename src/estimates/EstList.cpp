#include "estimates/EstList.h"

#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "storage/modData.h"

#include <QLocale>
#include <QSqlQuery>

namespace EstList {
namespace {

// The part padded with blanks to `width` and cut to it.
QString column(const QString& part, int width) {
    return part.leftJustified(width, QLatin1Char(' '), true);
}

QString shortDate(const QVariant& stored) {
    const QDate d = QDate::fromString(stored.toString(), Qt::ISODate);
    return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : stored.toString();
}

} // namespace

QString BuildListItem(const QString& tag, const QString& text) {
    if (tag == QLatin1String("WAIT")) {
        const int at = text.indexOf(QLatin1Char('*'));
        const QString name = at < 0 ? text : text.left(at);
        const QString address = at < 0 ? QString() : text.mid(at + 1);
        return column(name, 20) + QStringLiteral("  ") + address.left(28);
    }
    // Names cannot hold "#", addresses can ("Apt #4"): the name ends at the first one and the
    // date begins after the last one.
    const int first = text.indexOf(QLatin1Char('#'));
    const QString name = first < 0 ? text : text.left(first);
    const QString rest = first < 0 ? QString() : text.mid(first + 1);
    if (tag == QLatin1String("EXPIRE"))
        return column(name, 25) + QLatin1Char(' ') + column(rest, 25);
    const int last = rest.lastIndexOf(QLatin1Char('#'));
    const QString address = last < 0 ? rest : rest.left(last);
    const QString date = last < 0 ? QString() : rest.mid(last + 1);
    return column(name, 16) + QLatin1Char(' ') + column(address, 17) + QLatin1Char(' ') +
           column(date, 10);
}

QString expiryNote(const QDate& estdate, int length, const QDate& today) {
    const qint64 left = today.daysTo(estdate.addDays(length));
    if (!estdate.isValid() || left < 1)
        return QStringLiteral("**EXPIRED**");
    return QStringLiteral("Expires in %1 days").arg(left);
}

QList<Line> PopEstList(AppContext& ctx, int index, const QDate& today) {
    static const char* const status[] = {"Working", "Pending", "Accepted", "Rejected"};
    QList<Line> lines;
    if (index < 0 || index > 3)
        return lines;
    QSqlQuery q = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("select coalesce(estname,''),coalesce(estaddress,''),id,estdate,estlength "
                       "from master where eststatus=? order by estdate asc, id asc"),
        {QString::fromLatin1(status[index])});
    while (q.next()) {
        const QString name = q.value(0).toString();
        const QString address = q.value(1).toString();
        const std::int32_t id = q.value(2).toInt();
        switch (index) {
        case 0:
            lines.append(
                {BuildListItem(QStringLiteral("WAIT"), name + QLatin1Char('*') + address), id});
            break;
        case 1: {
            const QDate date = QDate::fromString(q.value(3).toString(), Qt::ISODate);
            const QString note = expiryNote(date, q.value(4).toInt(), today);
            lines.append(
                {BuildListItem(QStringLiteral("EXPIRE"), name + QLatin1Char('#') + note), id});
            lines.append({QStringLiteral(" "), 0});
            break;
        }
        default:
            lines.append(
                {BuildListItem(index == 2 ? QStringLiteral("ACCEPT") : QStringLiteral("REJECT"),
                               name + QLatin1Char('#') + address + QLatin1Char('#') +
                                   shortDate(q.value(3))),
                 id});
        }
    }
    if (lines.isEmpty())
        lines.append({QStringLiteral("None"), 0});
    return lines;
}

namespace {

const QString kRowColumns = QStringLiteral(
    "select id, coalesce(estname,''), coalesce(estowner,''), coalesce(estaddress,''), "
    "coalesce(esttype,''), coalesce(eststatus,''), estdate, coalesce(estlength,0), esttotal "
    "from master");

QList<Row> readRows(QSqlQuery q) {
    QList<Row> out;
    while (q.next()) {
        Row r;
        r.id = q.value(0).toInt();
        r.name = q.value(1).toString();
        r.owner = q.value(2).toString();
        r.address = q.value(3).toString();
        r.type = q.value(4).toString();
        r.status = q.value(5).toString();
        r.date = QDate::fromString(q.value(6).toString(), Qt::ISODate);
        r.length = q.value(7).toInt();
        if (!q.value(8).isNull())
            r.total = Money::fromRaw(q.value(8).toLongLong());
        // A separator no search word holds, so that words never match across two fields.
        r.folded = TextSearch::fold(r.name + QChar(0x1F) + r.owner + QChar(0x1F) + r.address);
        out.append(std::move(r));
    }
    return out;
}

} // namespace

std::optional<qint64> Row::daysLeft(const QDate& today) const {
    if (status.compare(QLatin1String("Pending"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // An undated pending estimate has expired, as its list line says.
    if (!date.isValid())
        return 0;
    return today.daysTo(date.addDays(length));
}

QString Row::daysLeftText(const QDate& today) const {
    const std::optional<qint64> left = daysLeft(today);
    if (!left)
        return QString();
    if (*left < 1)
        return QStringLiteral("Expired");
    return *left == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(*left);
}

bool Row::matches(const QStringList& words) const {
    return TextSearch::matchesAll(folded, words);
}

QList<Row> rows(AppContext& ctx) {
    return readRows(
        modData::exec(ctx, ctx.MastEstConn, kRowColumns + QStringLiteral(" order by id")));
}

QList<Row> recent(AppContext& ctx, int count) {
    return readRows(modData::exec(
        ctx, ctx.MastEstConn,
        kRowColumns + QStringLiteral(" where estused is not null and estpath is not null and "
                                     "estpath <> '' order by estused desc limit ?"),
        {count}));
}

int expiringWithin(AppContext& ctx, const QDate& today, int days) {
    int n = 0;
    const QList<Row> pending = readRows(
        modData::exec(ctx, ctx.MastEstConn, kRowColumns + QStringLiteral(" where eststatus=?"),
                      {QStringLiteral("Pending")}));
    for (const Row& r : pending) {
        const std::optional<qint64> left = r.daysLeft(today);
        if (left && *left >= 1 && *left <= days)
            ++n;
    }
    return n;
}

} // namespace EstList
