#include "app/CompanyNotice.h"

#include "common/forms/Widgets.h"
#include "settings/SetupValues.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using Widgets::named;

CompanyNotice::CompanyNotice(QAction* setup, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("frCompanyNotice"));
    setFrameShape(QFrame::StyledPanel);
    // The palette's highlight, lightened, reads as a notice in light and dark palettes alike.
    setAutoFillBackground(true);
    QPalette p = palette();
    QColor tint = p.color(QPalette::Highlight);
    tint.setAlpha(48);
    p.setColor(QPalette::Window, tint);
    setPalette(p);

    lblCompanyNotice = named(
        new QLabel(QStringLiteral("<b>Your company is not set up yet.</b> Proposals and "
                                  "contracts print \"%1\" until you enter your company's name, "
                                  "address, logo and e-mail in Setup.")
                       .arg(SetupValues::sampleCompanyName())),
        "lblCompanyNotice");
    lblCompanyNotice->setWordWrap(true);
    cmdCompanySetup =
        named(new QPushButton(QStringLiteral("Set up my company...")), "cmdCompanySetup");
    auto* h = new QHBoxLayout(this);
    h->addWidget(lblCompanyNotice, 1);
    h->addWidget(cmdCompanySetup);
    if (setup)
        connect(cmdCompanySetup, &QPushButton::clicked, setup, &QAction::trigger);
}

void CompanyNotice::refresh(const SettingsStore& settings) {
    setVisible(SetupValues::companyIsSample(settings));
}
