#pragma once

#include <QString>

struct AppContext;

// Creating the working databases from nothing and emptying them. Errors of the creators are
// thrown (modData::SqlError) to the calling handler, which reports them.
namespace modTempDB {

// Recreates data/tempdb.db with TempSect, EstiGrid, tpLineItems, TempAreas, TempLineal,
// PendingDeletes and WorkState.
void CreateTempDB(AppContext& ctx);
// Adds the scratch table SectSort to the working database.
void CreateSectSort(AppContext& ctx);
// Drops one working table; a table that is not there is silently ignored.
void DropTempTable(AppContext& ctx, const QString& name);
// Empties the working tables (each statement reports its own failure).
void ClearTempTables(AppContext& ctx);
// Recreates data/unitdb.db with tempunit.
void CreateUnitDB(AppContext& ctx);
// Creates estimates/<name>/<name>.db with Main, Areas, Lineal and LineItems. The folder must
// exist. Never call it for an estimate that still exists: the file at that path is replaced.
void CreateEstDB(AppContext& ctx, const QString& name);
// Deletes the file (and its SQLite side files) when it exists, closing its connection first.
void KillIfExists(AppContext& ctx, const QString& path);

} // namespace modTempDB
