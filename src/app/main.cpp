#include "app/Startup.h"
#include "app/frmCorvanel.h"
#include "app/frmGreet.h"
#include "common/AppContext.h"
#include "common/forms/MessageBoxPrompt.h"
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

    const Startup::Result start = Startup::prepareInstallation(ctx);
    if (!start.ok) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Corvanel"),
            QStringLiteral("Corvanel cannot prepare its data folder:\n%1").arg(start.error));
        return 1;
    }
    if (!start.warning.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Corvanel"), start.warning);

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
