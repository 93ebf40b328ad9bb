#pragma once

#include "common/Money.h"
#include "common/WorkMode.h"

#include <QString>
#include <cstdint>
#include <memory>

class Prompt;
class SettingsStore;
class Connections;
namespace CatalogueList {
struct Cache;
}

// Program-wide state: made once by start-up (tests make their own on a temporary folder) and
// passed by reference to every window and module. There are no other globals.
struct AppContext {
    // The per-user data folder holding data/, estimates/ and Templates/.
    QString AppPath;
    // The per-user settings folder ($XDG_CONFIG_HOME), holding one folder per application.
    QString ConfigPath;

    // Database "connection strings": the path of each database file.
    QString CostConn;
    QString MastEstConn;
    QString UnitDBConn;
    QString TempDBConn;
    QString EstConn; // the estimate in work; set when an estimate is started or opened

    std::shared_ptr<Prompt> prompt;
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<Connections> connections;
    // The catalogue as its windows list it, kept while the catalogue is unchanged so that a
    // large one is not read again each time the picker opens (CatalogueList::load).
    std::shared_ptr<CatalogueList::Cache> catalogueCache;

    // The estimate in work.
    Mode WorkMode = Mode::Idle;
    std::int32_t EstID = 0;
    QString EstName;
    QString EstPath;         // name + "/" + name + ".db", below the estimates folder
    bool EstStarted = false; // a new estimate: Start has stored it
    bool EstChanged = false;
    bool Loading = false;

    // Whether the estimate in work exists in storage (a new one after Start, or an opened one).
    bool estimateStarted() const {
        return WorkMode == Mode::Open || (WorkMode == Mode::New && EstStarted);
    }

    QString dataDir() const { return AppPath + QStringLiteral("/data"); }
    QString estimatesDir() const { return AppPath + QStringLiteral("/estimates"); }
    QString templatesDir() const { return AppPath + QStringLiteral("/Templates"); }
    // The database file of an estimate stored at `estpath` below the estimates folder.
    QString estimateDbPath(const QString& estpath) const {
        return estimatesDir() + QLatin1Char('/') + estpath;
    }
};
