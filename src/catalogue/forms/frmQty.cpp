#include "catalogue/forms/frmQty.h"

#include "common/Numbers.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

using Widgets::named;

frmQty::frmQty(AppContext& ctx, const QString& qty, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmQty");
    setWindowTitle(QStringLiteral("Edit Quanity"));
    txtQty = named(new QLineEdit(qty), "txtQty");
    cmdSave = named(new QPushButton(QStringLiteral("Save")), "cmdSave");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdSave->setDefault(true);
    auto* h = new QHBoxLayout(this);
    h->addWidget(txtQty);
    h->addWidget(cmdSave);
    h->addWidget(cmdCancel);
    InputHelpers::focusColour(txtQty);
    connect(cmdSave, &QPushButton::clicked, this, &frmQty::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmQty::cmdSave_Click() {
    if (txtQty->text().isEmpty())
        return;
    if (!InputHelpers::requireBoundedNumber(txtQty, ctx_))
        return;
    result_.ComponentQty = float(Numbers::value(txtQty->text()));
    result_.ComponentQtyCancel = false;
    accept();
}
