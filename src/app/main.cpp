#include "app/ContextHelp.h"
#include "app/GeometryKeeper.h"
#include "app/Startup.h"
#include "app/frmCorvanel.h"
#include "app/frmGreet.h"
#include "catalogue/CatalogueList.h"
#include "common/AppContext.h"
#include "common/forms/MessageBoxPrompt.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"
#include "storage/InstanceLock.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanel"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANEL_VERSION));
    // The desktop entry's name: the desktop finds the launcher and icon of the window by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.corvanel.Corvanel"));
    // The installed icon where the desktop has one, the copy inside the program otherwise (a
    // program run from its build folder).
    QIcon shipped;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        shipped.addFile(QStringLiteral(":/icons/corvanel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("corvanel"), shipped));

    AppContext ctx;
    ctx.prompt = std::make_shared<MessageBoxPrompt>();
    AppSetup::initContext(ctx, AppSetup::defaultDataRoot(), AppSetup::defaultConfigRoot());

    // One program per data folder; the lock is held until the program ends.
    InstanceLock instance(ctx.AppPath);
    QString lockError;
    switch (instance.acquire(&lockError)) {
    case InstanceLock::Result::Acquired:
        break;
    case InstanceLock::Result::AlreadyRunning:
        std::fprintf(stderr, "Corvanel is already running.\n");
        ctx.prompt->message(QStringLiteral("Corvanel is already running."));
        return 1;
    case InstanceLock::Result::Failed:
        ctx.prompt->message(
            QStringLiteral("Corvanel cannot prepare its data folder:\n%1").arg(lockError));
        return 1;
    }

    const Startup::Result start = Startup::prepareInstallation(ctx);
    if (!start.ok) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Corvanel"),
            QStringLiteral("Corvanel cannot prepare its data folder:\n%1").arg(start.error));
        return 1;
    }
    if (!start.warning.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Corvanel"), start.warning);

    // Every window keeps its size and place, and F1 in a dialog opens the help about it.
    GeometryKeeper geometry(GeometryKeeper::defaultStateFile());
    ContextHelp::Filter contextHelp(ctx);
    app.installEventFilter(&geometry);
    app.installEventFilter(&contextHelp);

    if (modMain::ShowGreeting(*ctx.settings)) {
        frmGreet greet(*ctx.settings);
        greet.exec();
    }

    int rc = 0;
    {
        frmCorvanel main(ctx);
        geometry.setMainWindow(&main);
        main.show();
        // The catalogue is read meanwhile, so that the picker and the browser open at once.
        CatalogueList::preload(ctx);
        main.offerRecovery();
        rc = QApplication::exec();
    }
    ctx.connections->closeAll();
    return rc;
}
