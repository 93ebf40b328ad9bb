#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

struct AppContext;

// Every database the program creates carries its layout's version in `PRAGMA user_version`.
// Files written before versions existed read as version 0. Opening a database of an older
// version upgrades it in one transaction, step by step, by the migration routine of its kind; a
// database of a newer version than this program knows is refused and left untouched.
//
// A change of a table is made in three places together: the CREATE statement (Schema.cpp or the
// seed SQL under resources/sql), one more step in the migration list of its kind (Migrations.cpp),
// and a test that upgrades a file written by the previous version.
namespace Migrations {

enum class Kind {
    Catalogue,  // data/cost.db
    MasterList, // data/MastEst.db
    Estimate,   // estimates/<name>/<name>.db
    Working,    // data/tempdb.db and data/unitdb.db, recreated as the user works
};

// The version this program writes for a kind.
int currentVersion(Kind kind);

// The kind of database at `path` in the installation of `ctx`; nothing for a file that is not
// one of the program's own (the sibling's contacts database, say).
std::optional<Kind> kindOf(const AppContext& ctx, const QString& path);

// The version a database says it has.
int versionOf(QSqlDatabase db);

// Brings an open database up to the current version of its kind in one transaction. Returns
// false with a message for the user in *error when the file is newer than this program (nothing
// is changed then) or when the upgrade failed (it is rolled back).
bool upgrade(QSqlDatabase db, Kind kind, const QString& path, QString* error);

// Marks a database just created with the current layout of its kind. Throws modData::SqlError.
void stamp(QSqlDatabase db, Kind kind);

// The statement that marks a database built from a script with the current layout of its kind.
QString stampStatement(Kind kind);

} // namespace Migrations
