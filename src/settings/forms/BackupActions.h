#pragma once

#include <QString>
#include <functional>

struct AppContext;

// What Setup's "Back up now…" and "Restore from backup…" do, apart from asking for files.
namespace BackupActions {

// Asks where to save (`saveAs` gets the proposed path, "Corvanel backup <date>.zip" in the data
// folder's backups/, and returns the chosen one or nothing), writes the backup and says where it
// went, or why it could not be made.
void backUpNow(AppContext& ctx, const std::function<QString(const QString& proposed)>& saveAs);

// Restores a backup chosen by `choose` (empty: cancelled): refused while an estimate or figure
// is in work, checked, asked about, then put in place with the replaced data kept as one more
// backup. Returns true when the data was replaced.
bool restore(AppContext& ctx, const std::function<QString()>& choose);

} // namespace BackupActions
