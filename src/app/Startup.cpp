#include "app/Startup.h"

#include "common/AppContext.h"
#include "documents/Templates.h"
#include "settings/Defaults.h"
#include "storage/AppSetup.h"

namespace Startup {

Result prepareInstallation(AppContext& ctx) {
    Result r;
    if (!AppSetup::ensureDataFolder(ctx, &r.error)) {
        r.ok = false;
        return r;
    }
    QString templateError;
    if (!Templates::install(ctx, &templateError))
        r.warning = templateError;
    r.firstStart = AppSetup::isFirstStart(ctx);
    if (r.firstStart)
        modMain::WriteDefaultSettings(*ctx.settings);
    return r;
}

} // namespace Startup
