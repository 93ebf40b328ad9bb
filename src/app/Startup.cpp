#include "app/Startup.h"

#include "app/StartBackup.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Prompt.h"
#include "documents/Templates.h"
#include "estimates/EstFacts.h"
#include "estimates/MasterRepair.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace Startup {

namespace {

// A missing or unreadable master list is rebuilt from the estimates folder when the user agrees;
// never silently made anew and empty while estimates exist.
bool offerRebuild(AppContext& ctx, const QString& problem, Result& r) {
    const int n = int(MasterRepair::estimatesOnDisk(ctx).size());
    // Without estimates a missing list is simply made from the seed; a damaged one is replaced
    // (and kept beside the new one) without a question, since no estimate can be lost.
    if (n == 0 && !QFileInfo::exists(ctx.MastEstConn))
        return false;
    const auto a =
        n == 0 ? Prompt::Answer::Yes
               : ctx.prompt->ask(
                     QStringLiteral(
                         "%1\nThe estimates folder holds %2 estimate(s). Rebuild the list of "
                         "estimates from them? Each is listed as \"Working\", dated today.")
                         .arg(problem)
                         .arg(n),
                     Prompt::appTitle(), Prompt::Buttons::YesNo, Prompt::Icon::Question,
                     Prompt::Answer::Yes);
    if (a != Prompt::Answer::Yes)
        return false;
    try {
        const int listed = MasterRepair::rebuild(ctx);
        r.warning = n == 0 ? problem + QStringLiteral("\nA new, empty list was made.")
                           : QStringLiteral("The list of estimates was rebuilt with %1 "
                                            "estimate(s).")
                                 .arg(listed);
        return true;
    } catch (const ProcedureError& e) {
        r.warning =
            QStringLiteral("The list of estimates could not be rebuilt: %1").arg(e.description);
        return false;
    }
}

} // namespace

Result prepareInstallation(AppContext& ctx) {
    Result r;
    // A damaged database is first offered back from a backup; what is said about it comes first.
    QString restored;
    StartBackup::undoInterruptedRestore(ctx, &restored);
    StartBackup::offerRestoreDamaged(ctx, &restored);
    const QString master = QDir::toNativeSeparators(ctx.MastEstConn);
    if (!QFileInfo::exists(ctx.MastEstConn) && QFileInfo(ctx.estimatesDir()).isDir())
        offerRebuild(ctx, QStringLiteral("The list of estimates %1 is missing.").arg(master), r);
    else if (QFileInfo::exists(ctx.MastEstConn) && !MasterRepair::readable(ctx.MastEstConn))
        offerRebuild(ctx,
                     QStringLiteral("The list of estimates %1 is damaged and cannot be read. It "
                                    "will be kept beside the new one.")
                         .arg(master),
                     r);
    if (!AppSetup::ensureDataFolder(ctx, &r.error)) {
        r.ok = false;
        return r;
    }
    // The two shared databases are opened now, so that one written by a newer program, or one
    // that cannot be read, stops the start with its reason instead of failing at every step.
    for (const QString& path : {ctx.MastEstConn, ctx.CostConn}) {
        if (!ctx.connections->database(path).isOpen()) {
            r.ok = false;
            r.error = ctx.connections->lastError();
            return r;
        }
    }
    // What an interrupted Start left behind goes; one program per data folder makes it safe.
    try {
        MasterRepair::removeOrphans(ctx);
    } catch (const ProcedureError&) {
        // Not worth stopping the start: the leftovers only take their names.
    }
    // Estimates stored before the master list kept owners and totals get them now; one whose
    // database cannot be read is tried again on the next start.
    try {
        EstFacts::fillMissing(ctx);
    } catch (const ProcedureError& e) {
        if (!r.warning.isEmpty())
            r.warning += QLatin1Char('\n');
        r.warning += QStringLiteral("The owners and totals of the stored estimates could not be "
                                    "listed (%1). The estimates themselves are unchanged.")
                         .arg(e.description);
    }
    QString templateError;
    if (!Templates::install(ctx, &templateError)) {
        if (!r.warning.isEmpty())
            r.warning += QLatin1Char('\n');
        r.warning += templateError;
    }
    r.firstStart = AppSetup::isFirstStart(ctx);
    // On every start, not only the first: a first start cut short leaves defaults out, and an
    // estimate started then would get $0 administrative amounts.
    if (modMain::RepairDefaultSettings(*ctx.settings) < 0) {
        if (!r.warning.isEmpty())
            r.warning += QLatin1Char('\n');
        r.warning += QStringLiteral("The settings file %1 could not be written.")
                         .arg(ctx.settings->filePath(QString::fromLatin1(SettingsStore::App)));
    }
    // The first start of each day keeps a copy of everything before the user changes anything.
    StartBackup::makeDaily(ctx, QDate::currentDate(), &r.warning);
    if (!restored.isEmpty())
        r.warning = r.warning.isEmpty() ? restored : restored + QLatin1Char('\n') + r.warning;
    return r;
}

} // namespace Startup
