#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct AppContext;

// Backups of the user's data in one zip file that can be carried to another machine: every
// database of the data folder (each copied consistently with VACUUM INTO, never a live file),
// every other file of it (estimates' documents, templates, the logo), and the settings file.
// A manifest (manifest.json) names each file with its size and SHA-256, so a backup is checked
// before anything is replaced. Not in a backup: the backups themselves, the lock file and the
// working databases, which are made anew for each estimate.
namespace Backup {

enum class Kind { Manual, Automatic, BeforeRestore };

// The data folder's backups/ folder.
QString folder(const AppContext& ctx);
// The file name proposed for a backup made on `date` ("Corvanel backup 2026-12-07.zip").
QString proposedName(const QDate& date);

// Writes a backup to `zipPath` (first as a partial file renamed into place only when complete,
// so a backup cut short never looks whole). Returns false with the reason in *error.
bool create(const AppContext& ctx, const QString& zipPath, Kind kind, QString* error);

// One backup as it is listed.
struct Info {
    QString path;
    QDateTime created; // from its manifest; the file's time when the manifest cannot be read
    qint64 size = 0;   // of the zip file, in bytes
    Kind kind = Kind::Manual;
    bool readable = false; // its manifest could be read
};
// The backups in backups/, newest first.
QList<Info> list(const AppContext& ctx);
// The facts of one backup file.
Info describe(const QString& zipPath);

// Checks a backup: every file of its manifest is there with its size and checksum, nothing else
// is, no name leads out of the data folder, and each database passes PRAGMA integrity_check.
// Returns false with the first problem in *error.
bool verify(const QString& zipPath, QString* error);

// Moves a file or folder; tests pass one that fails on purpose.
using Mover = std::function<bool(const QString& from, const QString& to)>;
bool rename(const QString& from, const QString& to);

// Replaces the user's data with a backup: extracted next to the data, checked, the current data
// kept as one more backup ("before restore"), then swapped in. Any failure before the swap is
// complete puts the old data back as it was. Every connection is closed first; the caller makes
// sure no estimate is in work. *keptAs names the backup of the replaced data.
bool restore(AppContext& ctx, const QString& zipPath, QString* error, QString* keptAs = nullptr,
             const Mover& move = rename);

// A restore cut short (the program killed during the swap) leaves the replaced data aside in the
// data folder. This puts it back as it was before that restore, keeping what had been moved in
// aside until it is put back too; the backup being restored is still whole, and the data before
// it also kept as a backup. Returns how many interrupted restores were undone; run at start,
// before anything reads the data folder.
int undoInterruptedRestore(const AppContext& ctx);

// The daily backup: made when the newest automatic one is not from today, then only the newest
// 14 automatic ones are kept (backups made by hand and before a restore are never removed).
// Returns the path written, or nothing when one of today existed; throws nothing.
struct Daily {
    QString written;
    QString error;
    int pruned = 0;
};
Daily makeDaily(const AppContext& ctx, const QDate& today);
constexpr int keptAutomatic = 14;

// Whether a database file passes PRAGMA quick_check (and holds tables at all: an emptied file
// reads as a database without any). *problem says what is wrong.
bool databaseSound(const QString& path, QString* problem);

// The newest backup in backups/ whose copy of `relativePath` (inside the data folder, such as
// "data/MastEst.db") is whole and passes its check.
std::optional<Info> newestHolding(const AppContext& ctx, const QString& relativePath);

// Puts one database back from a backup: the damaged file is kept beside it as
// <name>.damaged-<date and time>; the copy is checked before it takes the file's place.
bool restoreFile(AppContext& ctx, const QString& zipPath, const QString& relativePath,
                 QString* error, QString* keptAs = nullptr);

} // namespace Backup
