#include "app/frmCorvanel.h"

#include "settings/forms/frmSetup.h"

#include <QAction>

// Connects company setup, estimate status management and contact import to its handlers.
void frmCorvanel::wireSettings() {
    connect(mnuSetupMaint, &QAction::triggered, this, [this] {
        frmSetup f(ctx_, this);
        f.exec();
    });
}
