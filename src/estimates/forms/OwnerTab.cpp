#include "estimates/forms/OwnerTab.h"

#include "common/AppContext.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "storage/Schema.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

OwnerTab::OwnerTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
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
        txtName[i]->setMaxLength(lengths[i]);
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
    cmbEstType->lineEdit()->setMaxLength(Schema::Len::EstType);
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
    txtEstName->setMaxLength(Schema::Len::EstName);
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
}

void OwnerTab::clearFields() {
    for (QLineEdit* t : txtName)
        t->clear();
    txtEstName->clear();
    cmbEstType->setEditText(QString());
}
