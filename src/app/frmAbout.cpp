#include "app/frmAbout.h"

#include "common/forms/Widgets.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

using Widgets::named;

QString frmAbout::versionText() {
    return QStringLiteral("Version ") + QStringLiteral(CORVANEL_VERSION);
}

QString frmAbout::systemInfoText() {
    QStringList lines;
    lines << QStringLiteral("Operating system: %1").arg(QSysInfo::prettyProductName());
    lines << QStringLiteral("Kernel: %1 %2").arg(QSysInfo::kernelType(), QSysInfo::kernelVersion());
    lines << QStringLiteral("Processor: %1 (%2 cores)")
                 .arg(QSysInfo::currentCpuArchitecture())
                 .arg(QThread::idealThreadCount());
    lines << QStringLiteral("Machine name: %1").arg(QSysInfo::machineHostName());
    lines << QStringLiteral("Qt: %1").arg(QString::fromLatin1(qVersion()));
    lines << QStringLiteral("Database drivers: %1").arg(QSqlDatabase::drivers().join(", "));
    if (auto* s = QGuiApplication::primaryScreen())
        lines << QStringLiteral("Screen: %1 x %2 at %3 dpi")
                     .arg(s->size().width())
                     .arg(s->size().height())
                     .arg(qRound(s->logicalDotsPerInch()));
    lines << QStringLiteral("Display platform: %1").arg(QGuiApplication::platformName());
    return lines.join('\n');
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Corvanel"));
    auto* v = new QVBoxLayout(this);
    lblTitle = named(new QLabel(QStringLiteral("Corvanel")), "lblTitle");
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 2);
    f.setBold(true);
    lblTitle->setFont(f);
    v->addWidget(lblTitle);
    lblVersion = named(new QLabel(versionText()), "lblVersion");
    v->addWidget(lblVersion);
    lblDescription = named(
        new QLabel(QStringLiteral("Estimating for roofing contractors: measure, price, propose.")),
        "lblDescription");
    v->addWidget(lblDescription);
    v->addSpacing(12);
    auto* h = new QHBoxLayout;
    cmdSysInfo = named(new QPushButton(QStringLiteral("&System Info...")), "cmdSysInfo");
    cmdOK = named(new QPushButton(QStringLiteral("OK")), "cmdOK");
    cmdOK->setDefault(true);
    h->addWidget(cmdSysInfo);
    h->addStretch();
    h->addWidget(cmdOK);
    v->addLayout(h);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdSysInfo_Click() {
    QDialog info(this);
    info.setObjectName(QStringLiteral("frmSysInfo"));
    info.setWindowTitle(QStringLiteral("System Information"));
    auto* v = new QVBoxLayout(&info);
    auto* text = new QPlainTextEdit(systemInfoText());
    text->setReadOnly(true);
    text->setMinimumSize(460, 200);
    v->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, &info, &QDialog::reject);
    v->addWidget(buttons);
    info.exec();
}
