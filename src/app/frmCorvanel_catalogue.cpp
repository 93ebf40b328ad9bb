#include "app/frmCorvanel.h"

#include "catalogue/forms/frmUnitItem.h"

#include <QAction>

// Connects the cost catalogue to its handlers.
void frmCorvanel::wireCatalogue() {
    connect(mnuSetupPrices, &QAction::triggered, this, [this] {
        frmUnitItem f(ctx_, this);
        f.exec();
    });
}
