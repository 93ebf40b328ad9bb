#include "catalogue/forms/frmPerc.h"

#include "catalogue/LaborRates.h"
#include "common/Numbers.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using Widgets::named;

frmPerc::frmPerc(AppContext& ctx, const QString& caption, const QString& base, float percent,
                 QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName("frmPerc");
    setWindowTitle(QStringLiteral("Figure Percentage"));
    Label1 = named(new QLabel(caption), "Label1");
    lblBase = named(new QLabel(base), "lblBase");
    txtPercentage = named(new QLineEdit(Numbers::shortest(double(percent))), "txtPercentage");
    cmdCompute = named(new QPushButton(QStringLiteral("Compute")), "cmdCompute");
    lblTotal = named(new QLabel(QStringLiteral(".00")), "lblTotal");
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdOkay->setDefault(true);
    auto* g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("Base Rate")), 0, 0);
    g->addWidget(lblBase, 0, 1);
    g->addWidget(Label1, 1, 0);
    g->addWidget(txtPercentage, 1, 1);
    g->addWidget(cmdCompute, 2, 0);
    g->addWidget(lblTotal, 2, 1);
    g->addWidget(cmdOkay, 3, 0);
    g->addWidget(cmdCancel, 3, 1);
    InputHelpers::numberBox(txtPercentage, ctx);
    connect(cmdCompute, &QPushButton::clicked, this, &frmPerc::cmdCompute_Click);
    connect(cmdOkay, &QPushButton::clicked, this, &frmPerc::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmPerc::cmdCompute_Click() {
    if (!InputHelpers::requireBoundedNumber(txtPercentage, ctx_))
        return false;
    lblTotal->setText(Numbers::shortest(LaborRates::Burden(Numbers::value(lblBase->text()),
                                                           Numbers::value(txtPercentage->text()))));
    return true;
}

void frmPerc::cmdOkay_Click() {
    // Okay figures the percentage shown, so the burden never silently becomes zero.
    if (!cmdCompute_Click())
        return;
    result_.Cancelled = false;
    result_.Burden = lblTotal->text();
    accept();
}
