#include "catalogue/forms/frmAddMat.h"

#include "catalogue/TakeoffRules.h"
#include "catalogue/forms/RuleBox.h"

#include "catalogue/CostItems.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Money.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Widgets::named;

namespace {
// The owner named in error messages.
const QString kOwner = Guard::form("frmAddMat");

QComboBox* editableCombo(const char* name) {
    auto* c = named(new QComboBox, name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}
} // namespace

frmAddMat::frmAddMat(AppContext& ctx, const CostEdit& edit, const QString& currentType,
                     QWidget* parent)
    : QDialog(parent), ctx_(ctx), edit_(edit) {
    setObjectName("frmAddMat");
    setWindowTitle(QStringLiteral("Add/Edit Cost Item"));
    cmbType = named(new QComboBox, "cmbType");
    cmbCat = editableCombo("cmbCat");
    cmbManuf = editableCombo("cmbManuf");
    cmbManuf->setToolTip(QStringLiteral("Select Manufacturer from list or enter a new one."));
    cmbUnit = editableCombo("cmbUnit");
    for (int i = 0; i < 5; ++i)
        txtFields[i] = named(new QLineEdit, Widgets::indexed("txtFields", i));
    txtFields[0]->setReadOnly(true);
    InputHelpers::characterLimit(txtFields[1], 50);
    InputHelpers::characterLimit(txtFields[2], 255);
    InputHelpers::characterLimit(txtFields[4], 50);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Type:"), cmbType);
    form->addRow(QStringLiteral("ID:"), txtFields[0]);
    form->addRow(QStringLiteral("Category:"), cmbCat);
    form->addRow(QStringLiteral("Name:"), txtFields[1]);
    form->addRow(QStringLiteral("Manufacturer:"), cmbManuf);
    form->addRow(QStringLiteral("SKU:"), txtFields[4]);
    form->addRow(QStringLiteral("Unit:"), cmbUnit);
    form->addRow(QStringLiteral("Desc:"), txtFields[2]);
    form->addRow(QStringLiteral("Amount:"), txtFields[3]);
    cmdSave = named(new QPushButton(QStringLiteral("&Save")), "cmdSave");
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel")), "cmdCancel");
    cmdSave->setDefault(true);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(cmdSave, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::ActionRole);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    frRule = new RuleBox(ctx, this);
    v->addWidget(frRule);
    v->addWidget(buttons);
    setMinimumWidth(InputHelpers::twips(6000));

    for (QWidget* w : {static_cast<QWidget*>(cmbType), static_cast<QWidget*>(cmbCat),
                       static_cast<QWidget*>(cmbManuf), static_cast<QWidget*>(cmbUnit),
                       static_cast<QWidget*>(txtFields[1]), static_cast<QWidget*>(txtFields[2]),
                       static_cast<QWidget*>(txtFields[4])})
        InputHelpers::focusColour(w);
    InputHelpers::numberBox(txtFields[3], ctx);
    InputHelpers::lengthLimit(
        cmbCat, ctx, 15, QStringLiteral("This field cannot be any longer than 15 characters."));
    InputHelpers::lengthLimit(
        cmbManuf, ctx, 50, QStringLiteral("This field cannot be any longer than 50 characters."));
    InputHelpers::lengthLimit(
        cmbUnit, ctx, 10, QStringLiteral("This field cannot be any longer than 10 characters."));
    connect(cmdSave, &QPushButton::clicked, this, &frmAddMat::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddMat::cmdCancel_Click);
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), kOwner, [&] { Form_Load(currentType); });
}

void frmAddMat::Form_Load(const QString& currentType) {
    auto fill = [](QComboBox* box, const QStringList& values) {
        box->addItems(values.isEmpty() ? QStringList{QStringLiteral("No items listed")} : values);
        box->setCurrentIndex(-1);
    };
    fill(cmbCat, CostItems::DistinctValues(ctx_, QStringLiteral("cat")));
    fill(cmbUnit, CostItems::DistinctValues(ctx_, QStringLiteral("unit")));
    cmbType->addItems(CostItems::CostTypes());
    PopComboManufacturer();
    if (!edit_.editing()) {
        cmbType->setCurrentIndex(int(CostItems::CostTypes().indexOf(currentType)));
        return;
    }
    const auto item = CostItems::Load(ctx_, edit_.CostItemID);
    if (!item)
        return;
    txtFields[0]->setText(QString::number(item->ID));
    cmbType->setCurrentIndex(int(CostItems::CostTypes().indexOf(item->costtype)));
    cmbCat->setEditText(item->cat);
    txtFields[1]->setText(item->costname);
    cmbUnit->setEditText(item->unit);
    txtFields[2]->setText(item->descrip);
    txtFields[3]->setText(item->amount.toSql());
    cmbManuf->setEditText(item->manufacturer);
    frRule->setRule(TakeoffRules::ruleOf(ctx_, false, item->ID));
    txtFields[4]->setText(item->sku);
    for (QLineEdit* box : txtFields)
        box->setCursorPosition(0);
}

void frmAddMat::PopComboManufacturer() {
    cmbManuf->addItems(CostItems::DistinctValues(ctx_, QStringLiteral("manufacturer")));
    cmbManuf->setCurrentIndex(-1);
}

void frmAddMat::cmdSave_Click() {
    const struct {
        QWidget* box;
        QString text;
        const char* message;
    } required[] = {
        {cmbType, cmbType->currentText(), "Type field cannot be blank."},
        {cmbCat, cmbCat->currentText(), "Category field cannot be blank."},
        {cmbUnit, cmbUnit->currentText(), "Unit field cannot be blank."},
        {txtFields[1], txtFields[1]->text(), "Name field cannot be blank."},
        {txtFields[3], txtFields[3]->text(), "Amount field cannot be blank."},
    };
    for (const auto& r : required)
        if (r.text.trimmed().isEmpty()) {
            ctx_.prompt->message(QLatin1String(r.message));
            r.box->setFocus();
            return;
        }
    if (!InputHelpers::requireBoundedNumber(txtFields[3], ctx_) ||
        !InputHelpers::withinLimit(
            cmbCat, ctx_, 15,
            QStringLiteral("This field cannot be any longer than 15 characters.")) ||
        !InputHelpers::withinLimit(
            cmbManuf, ctx_, 50,
            QStringLiteral("This field cannot be any longer than 50 characters.")) ||
        !InputHelpers::withinLimit(
            cmbUnit, ctx_, 10,
            QStringLiteral("This field cannot be any longer than 10 characters.")))
        return;
    const std::optional<TakeoffRule::Rule> rule = frRule->rule();
    if (!rule)
        return;
    CostItems::CostItem c;
    c.ID = edit_.editing() ? edit_.CostItemID : stored_;
    c.costtype = cmbType->currentText();
    c.cat = cmbCat->currentText();
    c.manufacturer = cmbManuf->currentText();
    c.sku = txtFields[4]->text();
    c.costname = txtFields[1]->text();
    c.unit = cmbUnit->currentText();
    c.descrip = txtFields[2]->text();
    c.amount = Money::fromText(txtFields[3]->text());
    std::int32_t id = 0;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdSave_Click"), kOwner,
               [&] { id = CostItems::Save(ctx_, c); });
    // A failed statement has been reported; the form stays open so nothing typed is lost.
    if (id == 0)
        return;
    stored_ = id;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdSave_Click"), kOwner,
                    [&] { TakeoffRules::setRule(ctx_, false, id, *rule); }))
        return;
    saved_ = id;
    accept();
}

void frmAddMat::cmdCancel_Click() {
    reject();
}
