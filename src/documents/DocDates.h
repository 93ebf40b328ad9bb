#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Dates as documents print them. A proposal lies in a file for years: a short date always
// carries its four-digit year, in the order the user's locale gives day, month and year.
namespace DocDates {

// "12/7/2026" in the United States, "07.12.2026" in Germany; empty for an invalid date.
QString shortDate(const QDate& date, const QLocale& locale = QLocale());
// The locale's long date without the weekday: "December 7, 2026", "7. Dezember 2026".
QString fullDate(const QDate& date, const QLocale& locale = QLocale());

} // namespace DocDates
