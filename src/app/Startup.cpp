#include "app/Startup.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "documents/Templates.h"
#include "estimates/EstFacts.h"
#include "settings/Defaults.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"

namespace Startup {

Result prepareInstallation(AppContext& ctx) {
    Result r;
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
    // Estimates stored before the master list kept owners and totals get them now; one whose
    // database cannot be read is tried again on the next start.
    try {
        EstFacts::fillMissing(ctx);
    } catch (const ProcedureError& e) {
        r.warning = QStringLiteral("The owners and totals of the stored estimates could not be "
                                   "listed (%1). The estimates themselves are unchanged.")
                        .arg(e.description);
    }
    QString templateError;
    if (!Templates::install(ctx, &templateError))
        r.warning =
            r.warning.isEmpty() ? templateError : r.warning + QLatin1Char('\n') + templateError;
    r.firstStart = AppSetup::isFirstStart(ctx);
    if (r.firstStart)
        modMain::WriteDefaultSettings(*ctx.settings);
    return r;
}

} // namespace Startup
