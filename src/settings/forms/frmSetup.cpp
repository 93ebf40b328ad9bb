#include "settings/forms/frmSetup.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "documents/CompanyLogo.h"
#include "pricing/Admin.h"
#include "settings/SettingsStore.h"
#include "settings/SetupValues.h"
#include "settings/forms/BackupActions.h"
#include "settings/forms/frmRestore.h"
#include "storage/Backup.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {

// Locked company boxes keep their plain colours when they get the focus. Installed before the
// focus colouring, so it runs after it and can undo it.
class LockedStaysPlain : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* box = static_cast<QLineEdit*>(o);
        if (e->type() == QEvent::FocusIn && box->isReadOnly())
            InputHelpers::plainColours(box);
        return false;
    }
};

QLabel* label(const char* text) {
    return new QLabel(QString::fromUtf8(text));
}

} // namespace

frmSetup::frmSetup(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmSetup");
    setWindowTitle(QStringLiteral("Setup Maintance"));
    SSTab1 = named(new QTabWidget, "SSTab1");
    SSTab1->addTab(buildCompanyTab(), QStringLiteral("Company Info"));
    SSTab1->addTab(buildDefaultsTab(), QStringLiteral("Default Values"));
    cmdBackupNow = named(new QPushButton(QStringLiteral("Back up now…")), "cmdBackupNow");
    cmdRestoreBackup =
        named(new QPushButton(QStringLiteral("Restore from backup…")), "cmdRestoreBackup");
    auto* backupRow = new QHBoxLayout;
    backupRow->addWidget(cmdBackupNow);
    backupRow->addWidget(cmdRestoreBackup);
    backupRow->addStretch();
    auto* v = new QVBoxLayout(this);
    v->addWidget(SSTab1);
    v->addLayout(backupRow);

    connect(cmdCoEdit, &QPushButton::clicked, this, &frmSetup::cmdCoEdit_Click);
    connect(cmdCoCancel, &QPushButton::clicked, this, &frmSetup::cmdCoCancel_Click);
    connect(cmdCoSave, &QPushButton::clicked, this, &frmSetup::cmdCoSave_Click);
    connect(cmdSaveValues, &QPushButton::clicked, this, &frmSetup::cmdSaveValues_Click);
    connect(cmdLogo, &QPushButton::clicked, this, &frmSetup::cmdLogo_Click);
    connect(cmdLogoRemove, &QPushButton::clicked, this, &frmSetup::cmdLogoRemove_Click);
    logoFileName = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Choose the company logo"),
                                            QString(),
                                            QStringLiteral("Pictures (*.png *.jpg *.jpeg)"));
    };

    connect(cmdBackupNow, &QPushButton::clicked, this, &frmSetup::cmdBackupNow_Click);
    connect(cmdRestoreBackup, &QPushButton::clicked, this, &frmSetup::cmdRestoreBackup_Click);
    backupFileName = [this](const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Back up now"), proposed,
                                            QStringLiteral("Backups (*.zip)"));
    };
    chooseBackup = [this] {
        frmRestore f(
            Backup::list(ctx_),
            [this] {
                return QFileDialog::getOpenFileName(this, QStringLiteral("Restore from backup"),
                                                    Backup::folder(ctx_),
                                                    QStringLiteral("Backups (*.zip)"));
            },
            this);
        return f.exec() == QDialog::Accepted ? f.chosen() : QString();
    };

    // Each tab has its own buttons; Enter in a box must not press one that a click once made
    // the default, possibly one belonging to the other tab's values.
    for (QPushButton* b : {cmdCoEdit, cmdCoSave, cmdCoCancel, cmdSaveValues, cmdLogo, cmdLogoRemove,
                           cmdBackupNow, cmdRestoreBackup})
        b->setAutoDefault(false);

    PopCompany();
    PopDefaults();
    lockCoFields(true);
    SSTab1->setCurrentIndex(0);
}

QWidget* frmSetup::buildCompanyTab() {
    auto* page = new QWidget;
    for (int i = 0; i < 10; ++i) {
        txtCoInfo[i] = named(new QLineEdit, indexed("txtCoInfo", i));
        txtCoInfo[i]->installEventFilter(new LockedStaysPlain(txtCoInfo[i]));
        InputHelpers::focusColour(txtCoInfo[i]);
    }
    txtCoInfo[3]->setMaximumWidth(InputHelpers::twips(600));
    txtCoInfo[4]->setMaximumWidth(InputHelpers::twips(1400));
    ckbCoName = named(new QCheckBox, "ckbCoName");
    ckbCoAddress = named(new QCheckBox, "ckbCoAddress");
    ckbCoCity = named(new QCheckBox, "ckbCoCity");
    ckbCoPh = named(new QCheckBox, "ckbCoPh");
    ckbCoFax = named(new QCheckBox, "ckbCoFax");
    ckbCoCell = named(new QCheckBox, "ckbCoCell");
    ckbCoEmail = named(new QCheckBox, "ckbCoEmail");
    ckbCoWeb = named(new QCheckBox, "ckbCoWeb");
    ckbLetterHead = named(new QCheckBox(QStringLiteral(
                              "Assume stationery - if checked company info above will not be "
                              "printed on reminder and estimates.")),
                          "ckbLetterHead");
    imgLogo = named(new QLabel, "imgLogo");
    imgLogo->setMinimumSize(InputHelpers::twips(2400), InputHelpers::twips(720));
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setFrameShape(QFrame::StyledPanel);
    cmdLogo = named(new QPushButton(QStringLiteral("Choose logo...")), "cmdLogo");
    cmdLogo->setToolTip(QStringLiteral("A PNG or JPEG picture, printed where a template has "
                                       "<<CoLogo>>"));
    cmdLogoRemove = named(new QPushButton(QStringLiteral("Remove logo")), "cmdLogoRemove");
    cmdCoEdit = named(new QPushButton(QStringLiteral("Edit")), "cmdCoEdit");
    cmdCoSave = named(new QPushButton(QStringLiteral("Save")), "cmdCoSave");
    cmdCoCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCoCancel");

    auto* g = new QGridLayout;
    g->addWidget(label("Check to include in letterhead"), 0, 2, Qt::AlignCenter);
    const char* captions[] = {
        "Name:", "Address", "City, ST Zip:", "Phone:", "Fax:", "Cell:", "Email:", "Website:"};
    // One row per printed detail: city, state and zip share a row and one include box.
    const int boxOfRow[] = {0, 1, 2, 5, 6, 7, 8, 9};
    const QList<QCheckBox*> inc = includeBoxes();
    for (int r = 0; r < 8; ++r) {
        g->addWidget(label(captions[r]), r + 1, 0);
        if (r == 2) {
            auto* h = new QHBoxLayout;
            h->addWidget(txtCoInfo[2], 3);
            h->addWidget(txtCoInfo[3], 1);
            h->addWidget(txtCoInfo[4], 2);
            g->addLayout(h, r + 1, 1);
        } else {
            g->addWidget(txtCoInfo[boxOfRow[r]], r + 1, 1);
        }
        g->addWidget(inc.at(r), r + 1, 2, Qt::AlignCenter);
    }
    g->setColumnStretch(1, 1);
    g->setColumnMinimumWidth(1, InputHelpers::twips(5000));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCoEdit);
    buttons->addWidget(cmdCoSave);
    buttons->addWidget(cmdCoCancel);

    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(label("Logo:"));
    logoRow->addWidget(imgLogo);
    auto* logoButtons = new QVBoxLayout;
    logoButtons->addWidget(cmdLogo);
    logoButtons->addWidget(cmdLogoRemove);
    logoButtons->addStretch();
    logoRow->addLayout(logoButtons);
    logoRow->addStretch();

    auto* v = new QVBoxLayout(page);
    v->addLayout(g);
    v->addLayout(logoRow);
    v->addWidget(ckbLetterHead);
    v->addStretch();
    v->addLayout(buttons);
    return page;
}

QWidget* frmSetup::buildDefaultsTab() {
    auto* page = new QWidget;
    chkShowGreet =
        named(new QCheckBox(QStringLiteral("Show greet screen on startup")), "chkShowGreet");
    const char* admins[] = {"Overhead", "Profit", "Contingency", "Management"};
    auto* adminRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        frAdmin[i] = named(new QGroupBox(QString::fromLatin1(admins[i])), indexed("frAdmin", i));
        optFixed[i] = named(new QRadioButton(QStringLiteral("Fixed")), indexed("optFixed", i));
        optPerc[i] = named(new QRadioButton(QStringLiteral("%")), indexed("optPerc", i));
        txtAdmin[i] = named(new QLineEdit, indexed("txtAdmin", i));
        txtAdmin[i]->setMaxLength(Admin::MaxTyped);
        InputHelpers::numberBox(txtAdmin[i], ctx_);
        auto* fg = new QGridLayout(frAdmin[i]);
        fg->addWidget(optFixed[i], 0, 0);
        fg->addWidget(optPerc[i], 0, 1);
        fg->addWidget(txtAdmin[i], 1, 0, 1, 2);
        adminRow->addWidget(frAdmin[i]);
    }
    auto* empRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        txtEmp[i] = named(new QLineEdit, indexed("txtEmp", i));
        InputHelpers::numberBox(txtEmp[i], ctx_);
        empRow->addWidget(txtEmp[i]);
    }
    cmdSaveValues = named(new QPushButton(QStringLiteral("Save Changes")), "cmdSaveValues");
    txtWasteDefault = named(new QLineEdit, "txtWasteDefault");
    txtWasteDefault->setMaximumWidth(InputHelpers::twips(1200));
    InputHelpers::numberBox(txtWasteDefault, ctx_);
    auto* wasteRow = new QHBoxLayout;
    wasteRow->addWidget(txtWasteDefault);
    wasteRow->addStretch();

    auto* v = new QVBoxLayout(page);
    v->addWidget(label("On Startup:"));
    v->addWidget(chkShowGreet);
    v->addSpacing(InputHelpers::twips(120));
    v->addWidget(label("Estimate Screen:"));
    v->addWidget(label("Default Admin Amounts"));
    v->addLayout(adminRow);
    v->addSpacing(InputHelpers::twips(120));
    v->addWidget(label("Labor Screen:"));
    v->addWidget(label("Default Labor Overhead Percentages"));
    v->addWidget(label("Work Comp                     Employer taxes                 Misc Cost  "
                       "                      Fringe"));
    v->addLayout(empRow);
    v->addSpacing(InputHelpers::twips(120));
    v->addWidget(label("Roof Screen:"));
    v->addWidget(label("Default Waste %"));
    v->addLayout(wasteRow);
    v->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveValues);
    v->addLayout(buttons);
    return page;
}

QList<QCheckBox*> frmSetup::includeBoxes() const {
    return {ckbCoName, ckbCoAddress, ckbCoCity, ckbCoPh,      ckbCoFax,
            ckbCoCell, ckbCoEmail,   ckbCoWeb,  ckbLetterHead};
}

void frmSetup::PopCompany() {
    const SetupValues::Company c = SetupValues::loadCompany(*ctx_.settings);
    for (int i = 0; i < 10; ++i)
        txtCoInfo[i]->setText(c.info.value(i));
    const QList<QCheckBox*> inc = includeBoxes();
    for (int i = 0; i < inc.size(); ++i)
        inc.at(i)->setChecked(c.included.value(i));
    pendingLogo_.clear();
    removeLogo_ = false;
    showLogo();
}

void frmSetup::showLogo() {
    const QString file = removeLogo_               ? QString()
                         : !pendingLogo_.isEmpty() ? pendingLogo_
                                                   : CompanyLogo::path(ctx_);
    const QPixmap picture(file);
    if (file.isEmpty() || picture.isNull()) {
        imgLogo->setPixmap(QPixmap());
        imgLogo->setText(QStringLiteral("No logo"));
        return;
    }
    imgLogo->setPixmap(
        picture.scaled(imgLogo->minimumSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void frmSetup::cmdBackupNow_Click() {
    BackupActions::backUpNow(ctx_, backupFileName);
}

// After a restore the values shown are those replaced: the window closes, and the main window
// reads what it shows again.
void frmSetup::cmdRestoreBackup_Click() {
    if (!BackupActions::restore(ctx_, chooseBackup))
        return;
    result_.Restored = true;
    accept();
}

void frmSetup::cmdLogo_Click() {
    const QString file = logoFileName ? logoFileName() : QString();
    if (file.isEmpty())
        return;
    QString problem;
    if (!CompanyLogo::acceptable(file, &problem)) {
        ctx_.prompt->message(problem, QString(), Prompt::Icon::Warning);
        return;
    }
    pendingLogo_ = file;
    removeLogo_ = false;
    showLogo();
}

void frmSetup::cmdLogoRemove_Click() {
    pendingLogo_.clear();
    removeLogo_ = true;
    showLogo();
}

void frmSetup::PopDefaults() {
    const SetupValues::Defaults d = SetupValues::loadDefaults(*ctx_.settings);
    chkShowGreet->setChecked(d.greet);
    for (int i = 0; i < 4; ++i) {
        const Admin::Amount a = Admin::parseStored(d.admin.value(i));
        (a.fixed ? optFixed[i] : optPerc[i])->setChecked(true);
        // Stored plain (or as typed by an earlier version); shown as the user writes numbers.
        const auto plain = Numbers::plainStoredText(a.value);
        txtAdmin[i]->setText(plain ? Numbers::inLocale(*plain) : a.value);
        const auto labor = Numbers::plainStoredText(d.labor.value(i));
        txtEmp[i]->setText(labor ? Numbers::inLocale(*labor) : d.labor.value(i));
    }
    const auto waste = Numbers::plainStoredText(d.waste);
    txtWasteDefault->setText(waste ? Numbers::inLocale(*waste) : QStringLiteral("10"));
}

void frmSetup::lockCoFields(bool Lock) {
    for (QLineEdit* box : txtCoInfo)
        box->setReadOnly(Lock);
    for (QCheckBox* box : includeBoxes())
        box->setEnabled(!Lock);
    cmdCoSave->setEnabled(!Lock);
    cmdCoCancel->setEnabled(!Lock);
    cmdLogo->setEnabled(!Lock);
    cmdLogoRemove->setEnabled(!Lock);
    cmdCoEdit->setEnabled(Lock);
    locked_ = Lock;
}

void frmSetup::cmdCoEdit_Click() {
    lockCoFields(false);
    txtCoInfo[0]->setFocus(Qt::OtherFocusReason);
}

void frmSetup::cmdCoCancel_Click() {
    // Only the company details are put back: edits waiting on the other tab are kept.
    PopCompany();
    lockCoFields(true);
    SSTab1->setCurrentIndex(0);
    cmdCoEdit->setFocus(Qt::OtherFocusReason);
}

bool frmSetup::cmdCoSave_Click() {
    SetupValues::Company c;
    for (QLineEdit* box : txtCoInfo)
        c.info << box->text();
    for (QCheckBox* box : includeBoxes())
        c.included << box->isChecked();
    if (!SetupValues::saveCompany(*ctx_.settings, c)) {
        // The fields stay open so that the edits are not lost.
        reportUnsaved();
        return false;
    }
    if (removeLogo_) {
        CompanyLogo::remove(ctx_);
    } else if (!pendingLogo_.isEmpty()) {
        QString problem;
        if (!CompanyLogo::install(ctx_, pendingLogo_, &problem)) {
            // The picture went away or cannot be copied: the fields stay open to choose again.
            ctx_.prompt->message(problem, QString(), Prompt::Icon::Warning);
            return false;
        }
    }
    pendingLogo_.clear();
    removeLogo_ = false;
    showLogo();
    lockCoFields(true);
    cmdCoEdit->setFocus(Qt::OtherFocusReason);
    return true;
}

bool frmSetup::cmdSaveValues_Click() {
    // Every amount is checked before anything is written, so a refused box stores nothing. An
    // administrative default obeys the limits of the Terms/Totals tab, since it is figured into,
    // and stored with, every new estimate.
    for (int i = 0; i < 4; ++i) {
        if (!InputHelpers::requireNumber(txtAdmin[i], ctx_))
            return false;
        if (const auto problem =
                Admin::problemWith(optFixed[i]->isChecked(), txtAdmin[i]->text())) {
            // As every number box of the window does with a refused number.
            ctx_.prompt->message(*problem);
            txtAdmin[i]->setText(QStringLiteral("0"));
            txtAdmin[i]->setFocus();
            return false;
        }
    }
    for (QLineEdit* box : txtEmp)
        if (!InputHelpers::requireBoundedNumber(box, ctx_))
            return false;
    if (!InputHelpers::requireNumber(txtWasteDefault, ctx_))
        return false;
    if (const double w = Numbers::value(txtWasteDefault->text()); w < 0 || w > 100) {
        ctx_.prompt->message(
            QStringLiteral("The waste must be a percentage from 0 to 100 (10 for 10 %)."));
        txtWasteDefault->setFocus();
        txtWasteDefault->selectAll();
        return false;
    }
    // Stored as plain decimals, which read the same under every locale.
    SetupValues::Defaults d;
    d.greet = chkShowGreet->isChecked();
    for (int i = 0; i < 4; ++i) {
        d.admin << Admin::storedText(
            *Admin::fromTyped(optFixed[i]->isChecked(), txtAdmin[i]->text()));
        d.labor << *Numbers::plainText(txtEmp[i]->text());
    }
    d.waste = *Numbers::plainText(txtWasteDefault->text());
    if (!SetupValues::saveDefaults(*ctx_.settings, d)) {
        reportUnsaved();
        return false;
    }
    result_.Cancelled = false;
    accept();
    return true;
}

void frmSetup::reportUnsaved() {
    ctx_.prompt->message(
        QStringLiteral("The settings could not be written to %1. Check that the folder exists "
                       "and can be written to, then save again.")
            .arg(ctx_.settings->filePath(QString::fromLatin1(SettingsStore::App))));
}
