#pragma once

#include <QString>
#include <QStringList>

struct AppContext;

// Paths, connections and the shipped databases of one installation.
namespace AppSetup {

// The per-user data folder ($XDG_DATA_HOME/Corvanel) and settings folder ($XDG_CONFIG_HOME).
QString defaultDataRoot();
QString defaultConfigRoot();

// Fills the paths, connection strings, connection registry and settings store of a context.
// The prompt is left to the caller.
void initContext(AppContext& ctx, const QString& appPath, const QString& configPath);

// True when this installation has never written its settings.
bool isFirstStart(const AppContext& ctx);

// Creates data/, estimates/ and Templates/ and the shipped databases data/cost.db and
// data/MastEst.db from the embedded seed when they are missing. An existing file is never
// touched. Returns false with a reason when a folder or database could not be made.
bool ensureDataFolder(AppContext& ctx, QString* error);

// Builds a database file from an SQL script (statements ending with ";" at a line end), first
// into a temporary file that is renamed into place only when complete.
bool buildDatabase(const QString& path, const QString& script, QString* error);
// Splits a script into statements, respecting quoted text.
QStringList splitStatements(const QString& script);

} // namespace AppSetup
