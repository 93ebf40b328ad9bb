#pragma once

#include "common/Money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

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

// One estimate as the table of every estimate shows it.
struct Row {
    std::int32_t id = 0;
    QString name, owner, address, type, status;
    QDate date;
    int length = 0;
    std::optional<Money> total; // nothing while it is not known
    QString folded;             // name, owner and address as searches compare them

    // Days until a pending estimate expires (0 or less: expired); nothing for other statuses.
    std::optional<qint64> daysLeft(const QDate& today) const;
    // "12 days", "1 day" or "Expired" for a pending estimate; empty for the others.
    QString daysLeftText(const QDate& today) const;
    // Whether every word of a search (TextSearch::words) is in its name, owner or address.
    bool matches(const QStringList& words) const;
};

// Every estimate of the master list, by id. Throws modData::SqlError.
QList<Row> rows(AppContext& ctx);
// The `count` estimates opened or saved last, the last first. Throws modData::SqlError.
QList<Row> recent(AppContext& ctx, int count);
// How many pending estimates expire within `days` days of `today` (not those expired
// already). Throws modData::SqlError.
int expiringWithin(AppContext& ctx, const QDate& today, int days);

} // namespace EstList
