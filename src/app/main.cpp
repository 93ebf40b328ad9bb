#include "app/frmCorvanel.h"
#include "app/frmGreet.h"
#include "common/AppContext.h"
#include "common/forms/MessageBoxPrompt.h"
#include "documents/Templates.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanel"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANEL_VERSION));

    AppContext ctx;
    ctx.prompt = std::make_shared<MessageBoxPrompt>();
    AppSetup::initContext(ctx, AppSetup::defaultDataRoot(), AppSetup::defaultConfigRoot());

    QString error;
    if (!AppSetup::ensureDataFolder(ctx, &error)) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Corvanel"),
            QStringLiteral("Corvanel cannot prepare its data folder:\n%1").arg(error));
        return 1;
    }
    // The shipped templates go where the user has none; an edited template is never replaced.
    if (!Templates::install(ctx, &error))
        QMessageBox::warning(nullptr, QStringLiteral("Corvanel"), error);
    if (AppSetup::isFirstStart(ctx))
        modMain::WriteDefaultSettings(*ctx.settings);

    if (modMain::ShowGreeting(*ctx.settings)) {
        frmGreet greet(*ctx.settings);
        greet.exec();
    }

    int rc = 0;
    {
        frmCorvanel main(ctx);
        main.show();
        rc = QApplication::exec();
    }
    ctx.connections->closeAll();
    return rc;
}
