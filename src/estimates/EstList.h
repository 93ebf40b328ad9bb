#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>

struct AppContext;

// The lines of the four estimate lists of the Open window (Working, Pending, Accepted,
// Rejected). Each line carries its master id; "None" and the blank separators carry 0.
namespace EstList {

struct Line {
    QString text;
    std::int32_t id = 0;
};

// Lays `text` out in the columns of `tag` ("WAIT", "EXPIRE", "ACCEPT", "REJECT").
QString BuildListItem(const QString& tag, const QString& text);

// The expiry note of a pending estimate dated `estdate`, valid `length` days, seen on `today`.
QString expiryNote(const QDate& estdate, int length, const QDate& today);

// List `index` (0 Working, 1 Pending, 2 Accepted, 3 Rejected), oldest first. Throws
// modData::SqlError.
QList<Line> PopEstList(AppContext& ctx, int index, const QDate& today);

} // namespace EstList
