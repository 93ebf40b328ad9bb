#include "estimates/EstList.h"

#include "common/AppContext.h"
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

} // namespace EstList
