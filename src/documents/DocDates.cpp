#include "documents/DocDates.h"

#include <QRegularExpression>

namespace DocDates {

QString shortDate(const QDate& date, const QLocale& locale) {
    if (!date.isValid())
        return QString();
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // Some locales already print the whole year; a two-digit one is widened where it stands.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return locale.toString(date, format);
}

QString fullDate(const QDate& date, const QLocale& locale) {
    if (!date.isValid())
        return QString();
    QString format = locale.dateFormat(QLocale::LongFormat);
    // The weekday and what separates it from the date ("dddd, " or ", dddd").
    static const QRegularExpression weekday(QStringLiteral("\\s*d{4}[,.]?\\s*"));
    format.replace(weekday, QStringLiteral(" "));
    format = format.trimmed();
    while (format.startsWith(QLatin1Char(',')))
        format = format.mid(1).trimmed();
    while (format.endsWith(QLatin1Char(',')))
        format.chop(1);
    return locale.toString(date, format);
}

} // namespace DocDates
