#pragma once

#include <QString>

struct AppContext;

// What start-up does before any window shows, apart from the greeting.
namespace Startup {

struct Result {
    bool ok = true; // false: the data folder could not be made; the program cannot run
    bool firstStart = false;
    QString error;   // why it failed
    QString warning; // something the user should hear about, but work can go on
};

// Makes the data folder and the shipped databases and templates where they are missing, and
// writes the default settings that are missing. Nothing that exists is overwritten, so a second
// start changes nothing the user edited. A missing or unreadable master list while estimates
// exist is reported (ctx.prompt) with the offer to rebuild it from the estimates folder; rows and
// folders left by an interrupted Start are removed.
Result prepareInstallation(AppContext& ctx);

} // namespace Startup
