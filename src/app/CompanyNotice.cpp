#include "app/CompanyNotice.h"

#include "common/forms/Widgets.h"
#include "settings/SetupValues.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using Widgets::named;

CompanyNotice::CompanyNotice(QAction* setup, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("frCompanyNotice"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    tint();

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

void CompanyNotice::tint() {
    // The window colour with a fifth of the highlight mixed in, opaque, reads as a notice in
    // light and dark palettes alike and keeps the palette's own text readable on it.
    const QPalette base = parentWidget() ? parentWidget()->palette() : QApplication::palette();
    const QColor w = base.color(QPalette::Window);
    const QColor h = base.color(QPalette::Highlight);
    const auto mix = [](int a, int b) { return (a * 4 + b) / 5; };
    QPalette p = base;
    p.setColor(QPalette::Window,
               QColor(mix(w.red(), h.red()), mix(w.green(), h.green()), mix(w.blue(), h.blue())));
    tinting_ = true;
    setPalette(p);
    tinting_ = false;
}

void CompanyNotice::changeEvent(QEvent* e) {
    QFrame::changeEvent(e);
    // A palette changed by the user's desktop (light to dark) gets its tint again.
    if (e->type() == QEvent::ParentChange || (e->type() == QEvent::PaletteChange && !tinting_))
        tint();
}
