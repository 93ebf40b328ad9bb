#include "app/frmGreet.h"

#include "common/forms/Widgets.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

QString frmGreet::message() {
    const QStringList lines = {
        "This screen is a reminder of how to get started using Corvanel.",
        "",
        "If you haven't already done so, it is recommended that you read the Quick",
        "Start area of the Help File. Press F1 or Menu->Help->Contents",
        "",
        "To start a new estimate press F6 or Menu->Estimates->New",
        "",
        "To open an existing estimate press F7 or Menu->Estimate->Open",
        "",
        "To figure a roof press F8 or Menu->Estimates->Figure",
        "",
        "To manage existing estimate status press F3 or Menu->Estimate->Manage",
        "",
        "It is also recommended that you go through and do the Case Study found in the main help "
        "file.",
        "",
        "Good luck and we hope you enjoy our software."};
    return lines.join(QStringLiteral("\r\n"));
}

frmGreet::frmGreet(SettingsStore& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("frmGreet"));
    setWindowTitle(QStringLiteral("Welcome to Corvanel"));
    auto* v = new QVBoxLayout(this);
    Label1 = named(new QLabel(message()), "Label1");
    QFont f = Label1->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    Label1->setFont(f);
    Label1->setMargin(12);
    v->addWidget(Label1);
    auto* h = new QHBoxLayout;
    chkShowGreet = named(new QCheckBox(QStringLiteral("Show at startup")), "chkShowGreet");
    chkShowGreet->setChecked(true);
    cmdOkay = named(new QPushButton(QStringLiteral("Okay")), "cmdOkay");
    cmdOkay->setDefault(true);
    h->addWidget(chkShowGreet);
    h->addStretch();
    h->addWidget(cmdOkay);
    v->addLayout(h);
    connect(cmdOkay, &QPushButton::clicked, this, &frmGreet::cmdOkay_Click);
}

void frmGreet::cmdOkay_Click() {
    if (!chkShowGreet->isChecked())
        settings_.set(QStringLiteral("Op"), QStringLiteral("Greet"), QStringLiteral("0"));
    accept();
}
