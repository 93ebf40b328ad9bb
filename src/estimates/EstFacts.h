#pragma once

#include "common/Money.h"

#include <QSqlDatabase>
#include <QString>
#include <cstdint>

struct AppContext;

// What the master list keeps of each estimate beyond its status, so that lists can show and
// search it without opening every estimate: the owner's name, the estimate total and the order
// in which estimates were last opened or saved.
namespace EstFacts {

// The owner as lists show it: first and last name joined by a blank (either may be empty).
QString ownerName(const QString& first, const QString& last);

// The total of a stored estimate, from its own database: its lines by cost type under its
// stored administrative amounts, figured as the totals tab figures them. Throws
// modData::SqlError (also when the estimate has no owner row).
Money storedTotal(QSqlDatabase estimate);

// Writes the owner's name of estimate `id`. Throws modData::SqlError.
void setOwner(AppContext& ctx, std::int32_t id, const QString& owner);
// A save of estimate `id`: its total, and it becomes the estimate used last; on a connection
// where the master list is attached as `schema`, inside the save's own transaction. Throws
// modData::SqlError.
void recordSave(QSqlDatabase db, const QString& schema, std::int32_t id, Money total);
// Estimate `id` was opened: it becomes the estimate used last. Throws modData::SqlError.
void markUsed(AppContext& ctx, std::int32_t id);

// Fills the owner and the total of every stored estimate whose master row lacks them, from the
// estimate's own database, in one transaction. An estimate whose database is missing or cannot
// be read keeps its gap (its total shows blank) and is tried again on the next start. Returns
// how many estimates were filled. Throws modData::SqlError when the master list cannot be
// read or written.
int fillMissing(AppContext& ctx);

} // namespace EstFacts
