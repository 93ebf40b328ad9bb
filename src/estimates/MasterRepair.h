#pragma once

#include <QString>
#include <QStringList>

struct AppContext;

// Keeping the master list (data/MastEst.db) and the estimates folder in agreement at start.
namespace MasterRepair {

// The estimates below the estimates folder: each folder <name> holding <name>.db, by name.
QStringList estimatesOnDisk(const AppContext& ctx);

// Whether the file at `path` is a master list SQLite can read through (PRAGMA quick_check, and
// its table is there: an emptied file reads as a database without tables).
bool readable(const QString& path);

// Builds a new master list from the shipped seed and lists every estimate of the estimates
// folder in it: name and path from its folder, address from its own database, status "Working",
// dated today, valid 30 days. An existing list file is first kept aside as
// MastEst.db.damaged-<date and time>. Returns the number listed; throws modData::SqlError.
int rebuild(AppContext& ctx);

// Lists the estimates of the estimates folder that the master list lacks (after an older copy of
// the list was put back from a backup), as rebuild() lists them. Returns how many were listed;
// throws modData::SqlError.
int listMissing(AppContext& ctx);

// What an interrupted Start leaves behind: master rows reserved but never named, and folders
// no master row lists whose database holds no work yet (no area, lineal item or line). Both
// are removed; returns how many of each went. Throws modData::SqlError.
struct Removed {
    int rows = 0;
    int folders = 0;
};
Removed removeOrphans(AppContext& ctx);

} // namespace MasterRepair
