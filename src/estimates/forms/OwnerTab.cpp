#include "estimates/forms/OwnerTab.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/UndoableText.h"
#include "common/forms/Widgets.h"
#include "estimates/forms/frmContactGrid.h"
#include "estimates/modContacts.h"
#include "storage/Schema.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

QString OwnerTab::enterOwnerText() {
    return QStringLiteral("Enter the home owner information below");
}

const std::array<const char*, 7>& OwnerTab::ownerCaptions() {
    // A label shows "&&" as one ampersand.
    static const std::array<const char*, 7> c = {"First Name", "Last Name or Company Name",
                                                 "Address",    "City, St && Zip",
                                                 "Home Phone", "Work Phone",
                                                 "Ext"};
    return c;
}

const std::array<int, 7>& OwnerTab::ownerLengths() {
    static const std::array<int, 7> l = {
        Schema::Len::FName, Schema::Len::LName, Schema::Len::Address, Schema::Len::CityStZip,
        Schema::Len::Phone, Schema::Len::Phone, Schema::Len::Ext};
    return l;
}

OwnerTab::OwnerTab(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), undo_(new QUndoStack(this)) {
    auto* outer = new QVBoxLayout(this);
    Label3 = named(new QLabel(enterOwnerText()), "Label3");
    Label3->setWordWrap(true);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    outer->addWidget(Label3);

    frNewEst = named(new QGroupBox, "frNewEst");
    auto* grid = new QGridLayout(frNewEst);
    const auto& captions = ownerCaptions();
    const auto& lengths = ownerLengths();
    for (int i = 0; i < 7; ++i) {
        txtName[i] = named(new QLineEdit, indexed("txtName", i));
        InputHelpers::characterLimit(txtName[i], lengths[i]);
        InputHelpers::focusColour(txtName[i]);
        auto* label = new QLabel(QString::fromLatin1(captions[i]));
        label->setBuddy(txtName[i]);
        grid->addWidget(label, i, 0);
    }
    grid->addWidget(txtName[0], 0, 1, 1, 3);
    grid->addWidget(txtName[1], 1, 1, 1, 3);
    grid->addWidget(txtName[2], 2, 1, 1, 3);
    grid->addWidget(txtName[3], 3, 1, 1, 3);
    grid->addWidget(txtName[4], 4, 1);
    grid->addWidget(txtName[5], 5, 1);
    grid->addWidget(txtName[6], 6, 1);
    for (int i = 4; i < 7; ++i)
        txtName[i]->setMaximumWidth(160);

    Label4 = named(new QLabel(QStringLiteral(
                       "Select a estimate type from the list below.  If the one you want is not "
                       "on the list you may type it in.  It cannot be longer than 25 characters.")),
                   "Label4");
    Label4->setWordWrap(true);
    grid->addWidget(Label4, 7, 0, 1, 4);
    cmbEstType = named(new QComboBox, "cmbEstType");
    cmbEstType->setEditable(true);
    cmbEstType->setInsertPolicy(QComboBox::NoInsert);
    InputHelpers::characterLimit(cmbEstType->lineEdit(), Schema::Len::EstType);
    cmbEstType->setMinimumWidth(220);
    InputHelpers::focusColour(cmbEstType);
    auto* typeLabel = new QLabel(QStringLiteral("Est Type:"));
    typeLabel->setBuddy(cmbEstType);
    grid->addWidget(typeLabel, 8, 0);
    grid->addWidget(cmbEstType, 8, 1);

    Label6 = named(new QLabel(QStringLiteral(
                       "Create a name for this estimate below, for instance, 'Smith Garage', if "
                       "you leave this blank the system will create one.  Last name plus the "
                       "estimate type. This cannot be changed.")),
                   "Label6");
    Label6->setWordWrap(true);
    grid->addWidget(Label6, 9, 0, 1, 4);
    txtEstName = named(new QLineEdit, "txtEstName");
    InputHelpers::characterLimit(txtEstName, Schema::Len::EstName);
    InputHelpers::focusColour(txtEstName);
    auto* nameLabel = new QLabel(QStringLiteral("Estimate Name:"));
    nameLabel->setBuddy(txtEstName);
    grid->addWidget(nameLabel, 10, 0);
    grid->addWidget(txtEstName, 10, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    cmdStartEst = named(new QPushButton(QStringLiteral("Start")), "cmdStartEst");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdImport = named(new QPushButton(QStringLiteral("Import from Brenwick")), "cmdImport");
    cmdImport->setEnabled(false);
    buttons->addWidget(cmdStartEst);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    grid->addLayout(buttons, 11, 0, 1, 4);

    outer->addWidget(frNewEst);
    Label24 = named(new QLabel(QStringLiteral(
                        "Tabs are disabled .  You must complete this form and press Start.  All "
                        "but work phone, ext. and estimate name are required.  You may also press "
                        "the 'Cancel' button, press F9,  or select 'Close open estimate' from the "
                        "menu.")),
                    "Label24");
    Label24->setWordWrap(true);
    outer->addWidget(Label24);
    outer->addStretch();
    setTabOrder(txtName[6], cmbEstType);
    setTabOrder(cmbEstType, txtEstName);
    setTabOrder(txtEstName, cmdStartEst);

    // Typing in the fields before Start is undone like every other change of the estimate.
    auto stack = [this] { return undo_; };
    auto caption = [](const char* c) { return QString::fromLatin1(c).replace("&&", "&"); };
    for (int i = 0; i < 7; ++i)
        nameUndo_[i] = UndoableText::attach(txtName[i], caption(captions[i]), stack);
    UndoableText::attach(cmbEstType->lineEdit(), QStringLiteral("Est Type"), stack);
    UndoableText::attach(txtEstName, QStringLiteral("Estimate Name"), stack);
}

void OwnerTab::clearFields() {
    for (QLineEdit* t : txtName)
        t->clear();
    txtEstName->clear();
    cmbEstType->setEditText(QString());
}

QString OwnerTab::lockedOwnerText() {
    return QStringLiteral(
        "Owner information cannot be edited while the estimate is open.  Edit owner info from "
        "Manage Estimate Screen (F3), select the home from the list, and click \"Edit Owner "
        "Info\".");
}

void OwnerTab::PopEstTypeCbo() {
    Guard::run(*ctx_.prompt, QStringLiteral("PopEstTypeCbo"), Guard::module("Module1"), [this] {
        const QStringList types = modEst::estimateTypes(ctx_);
        cmbEstType->clear();
        cmbEstType->addItem(QString());
        cmbEstType->addItems(types);
        cmbEstType->setCurrentIndex(0);
    });
}

void OwnerTab::LockOwner(bool locked) {
    for (QLineEdit* t : txtName)
        t->setReadOnly(locked);
    txtEstName->setReadOnly(locked);
    // A locked combo box: no typing, no choosing.
    cmbEstType->lineEdit()->setReadOnly(locked);
    cmbEstType->setEnabled(!locked);
    if (locked)
        Label3->setText(lockedOwnerText());
    Label4->setVisible(!locked);
    Label6->setVisible(!locked);
    Label24->setVisible(!locked);
}

void OwnerTab::showOwner(const modOpenEst::OwnerRecord& r) {
    txtEstName->setText(r.estName);
    cmbEstType->setEditText(r.estType);
    for (int k = 0; k < 7; ++k)
        txtName[k]->setText(r.name[k]);
}

void OwnerTab::enableImport() {
    cmdImport->setEnabled(!modContacts::contactsFolder(ctx_).isEmpty());
}

namespace {
// Puts the focus in a field after its message, with its text selected for retyping.
void focusField(QWidget* w) {
    w->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}
} // namespace

std::optional<OwnerTab::StartRequest> OwnerTab::checkStart() {
    Prompt& prompt = *ctx_.prompt;
    for (int i = 0; i <= 4; ++i) {
        if (txtName[i]->text().trimmed().isEmpty()) {
            prompt.message(QStringLiteral("This field may not be blank."));
            focusField(txtName[i]);
            return std::nullopt;
        }
    }
    const QString type = cmbEstType->currentText().trimmed();
    if (type.isEmpty()) {
        prompt.message(QStringLiteral("You must pick an estimate type.\nIf the one you want is not "
                                      "on the list\nyou may type it in."));
        cmbEstType->setFocus();
        return std::nullopt;
    }
    if (modEst::firstNonAlpha(type) >= 0) {
        prompt.message(
            QStringLiteral("Estimate types can have alpha characters\nonly. Please "
                           "re-enter the type or\nselect an existing type from the list."));
        cmbEstType->setEditText(QString());
        cmbEstType->setFocus();
        return std::nullopt;
    }
    const QString typed = txtEstName->text();
    if (!typed.isEmpty() && modEst::firstNonAlpha(typed) >= 0) {
        prompt.message(QStringLiteral("Estimate names can have alpha characters only.\nPlease "
                                      "re-enter the name oror leave create the\nblank and let the "
                                      "system name for you."));
        txtEstName->clear();
        txtEstName->setFocus();
        return std::nullopt;
    }
    StartRequest r;
    for (int i = 0; i < 7; ++i)
        r.fields.name[i] = txtName[i]->text();
    r.fields.estType = type;
    r.typedName = typed;
    return r;
}

void OwnerTab::showBuiltName(const QString& built, bool keep) {
    if (keep)
        txtEstName->setText(built);
    else
        txtEstName->clear();
}

void OwnerTab::cmdImport_Click() {
    frmContactGrid dialog(ctx_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.selected())
        return;
    const auto& fields = *dialog.selected();
    // The import is one step of the user's: one undo takes it back whole.
    undo_->beginMacro(QStringLiteral("Import Contact"));
    for (int i = 0; i < 7; ++i)
        nameUndo_[i]->setText(fields[i]);
    undo_->endMacro();
    txtName[0]->setFocus();
}

void OwnerTab::enableStartButtons(bool enabled) {
    cmdStartEst->setEnabled(enabled);
    cmdCancel->setEnabled(enabled);
    if (!enabled)
        cmdImport->setEnabled(false);
}

void OwnerTab::beginNewEstimate() {
    LockOwner(false);
    enableStartButtons(true);
    txtName[0]->setFocus();
    Label3->setText(enterOwnerText());
}
