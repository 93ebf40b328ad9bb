#pragma once

#include <QDate>
#include <QString>

struct AppContext;

// What start-up does for the backups: databases that fail their check are offered back from the
// newest backup that holds a sound copy, and the daily backup is made.
namespace StartBackup {

// Puts back the data of a restore that was cut short (Backup::undoInterruptedRestore) and says
// so in *warning.
void undoInterruptedRestore(AppContext& ctx, QString* warning);

// Checks the catalogue, the master list and the working databases (PRAGMA quick_check). A
// damaged catalogue or master list is reported by name with the offer to restore it from the
// newest backup whose copy passes; the damaged file is kept beside it. A damaged working
// database is set aside (it is made anew for each estimate). What the user should hear about
// afterwards is appended to *warning. Nothing is overwritten without the user's Yes.
void offerRestoreDamaged(AppContext& ctx, QString* warning);

// Makes the automatic backup of `today` when there is none yet and keeps the newest 14; a
// failure is appended to *warning (the start goes on).
void makeDaily(AppContext& ctx, const QDate& today, QString* warning);

} // namespace StartBackup
