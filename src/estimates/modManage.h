#pragma once

#include "estimates/EstList.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

struct AppContext;

// The Manage window's work on the master list: lists by status, one estimate's status, date,
// validity and type, deleting an estimate with its folder, and its owner.
namespace modManage {

// The words of the filter list, in their order ("All" is never stored).
QStringList filterWords();

// Mode "All": name 21, date 10, status at most 8 ("#" between them); any other mode: name 29,
// date 10 ("*" between them).
QString BuildListItem(const QString& mode, const QString& joined);
// The lines of List1 for a filter word, in stored order; "None" (id 0) when there are none.
// With search words (TextSearch::words) only the estimates whose name, owner or address holds
// every word are listed.
QList<EstList::Line> PopList(AppContext& ctx, const QString& filter, const QStringList& words = {});

struct Record {
    QString name, address, type, status;
    QDate date;
    int length = 0;
};
std::optional<Record> load(AppContext& ctx, std::int32_t id);

// A date typed in the user's short date format (two-digit years fall in 1950 to 2049), or in
// ISO form; invalid when it is neither.
QDate parseDate(const QString& text);
QString showDate(const QDate& d);

// Writes status, date, validity and type (bound values; the caller has checked them).
bool update(AppContext& ctx, std::int32_t id, const Record& r);

// Deletes the master row and the estimate's folder. Returns the folder that is left behind
// (could not be removed), or an empty text.
struct DeleteResult {
    bool rowDeleted = false;
    QString folderLeft;
};
DeleteResult remove(AppContext& ctx, std::int32_t id);

// The owner of estimate `id` (its Main row), through its estpath; sets ctx.EstConn.
struct Owner {
    QString estName;
    std::array<QString, 7> name;
};
Owner loadOwner(AppContext& ctx, std::int32_t id); // throws modData::SqlError
// Writes the owner row and the master address; throws modData::SqlError.
void updateOwner(AppContext& ctx, std::int32_t id, const std::array<QString, 7>& name);

} // namespace modManage
