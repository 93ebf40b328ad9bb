#include "catalogue/forms/frmAddLabMat.h"

#include "catalogue/CostItems.h"
#include "catalogue/TakeoffRules.h"
#include "catalogue/forms/CostGrids.h"
#include "catalogue/forms/RuleBox.h"
#include "catalogue/forms/frmQty.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using Widgets::named;

namespace {
const char* Form = "frmAddLabMat";
// The owner named in error messages.
const QString kOwner = Guard::form(Form);
QComboBox* editableCombo(const char* name) {
    auto* c = named(new QComboBox, name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
}
} // namespace

frmAddLabMat::frmAddLabMat(AppContext& ctx, const CostEdit& edit, const UnitItems::Header& current,
                           QWidget* parent)
    : QDialog(parent), ctx_(ctx), edit_(edit) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Cost per unit"));
    txtItem = named(new QLineEdit, "txtItem");
    InputHelpers::characterLimit(txtItem, 50);
    cmbCategory = editableCombo("cmbCategory");
    cmbUnit = editableCombo("cmbUnit");
    txtDesc = named(new QLineEdit, "txtDesc");
    InputHelpers::characterLimit(txtDesc, 255);
    auto* head = new QGridLayout;
    const char* captions[] = {"Item", "Category", "Unit", "Description"};
    QWidget* boxes[] = {txtItem, cmbCategory, cmbUnit, txtDesc};
    for (int i = 0; i < 4; ++i) {
        head->addWidget(new QLabel(QLatin1String(captions[i])), 0, i);
        head->addWidget(boxes[i], 1, i);
        InputHelpers::focusColour(boxes[i]);
    }
    head->setColumnStretch(0, 3);
    head->setColumnStretch(3, 4);
    // Parented when laid out below the header, so that Tab reaches it after the header boxes.
    frRule = new RuleBox(ctx);

    DataGrid1 = named(new QTableView, "DataGrid1");
    GridBinding::setupView(DataGrid1);
    auto* Frame1 = named(new QGroupBox(QStringLiteral("Item Total")), "Frame1");
    Label2 = named(new QLabel(QStringLiteral(".00")), "Label2");
    (new QHBoxLayout(Frame1))->addWidget(Label2);
    cmdAddItem = named(new QPushButton(QStringLiteral("Add Item")), "cmdAddItem");
    cmdEditItem = named(new QPushButton(QStringLiteral("Edit Item Qty")), "cmdEditItem");
    cmdDeleteItem = named(new QPushButton(QStringLiteral("Delete Item")), "cmdDeleteItem");
    cmdSave = named(new QPushButton(QStringLiteral("Save")), "cmdSave");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAddItem, cmdEditItem, cmdDeleteItem})
        buttons->addWidget(b);
    buttons->addWidget(Frame1);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    fraSelectItem = named(new QGroupBox(QStringLiteral("Select Item")), "fraSelectItem");
    SSTab1 = named(new QTabWidget, "SSTab1");
    for (int i = 0; i < 5; ++i) {
        dgCost[i] = named(new QTableView, Widgets::indexed("dgCost", i));
        GridBinding::setupView(dgCost[i]);
        SSTab1->addTab(dgCost[i], CostItems::CostTypes()[i]);
        connect(dgCost[i], &QTableView::doubleClicked, this, &frmAddLabMat::cmSelectItem_Click);
    }
    cmbCat = named(new QComboBox, "cmbCat");
    txtQty = named(new QLineEdit, "txtQty");
    cmSelectItem = named(new QPushButton(QStringLiteral("Select")), "cmSelectItem");
    cmdCancelItem = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancelItem");
    auto* chooserRow = new QHBoxLayout;
    chooserRow->addWidget(cmbCat);
    chooserRow->addWidget(
        named(new QLabel(QStringLiteral(
                  "Select item above, change or leave the amount to the right, and click Select.")),
              "Label3"));
    chooserRow->addWidget(txtQty);
    chooserRow->addWidget(cmSelectItem);
    chooserRow->addWidget(cmdCancelItem);
    auto* chooser = new QVBoxLayout(fraSelectItem);
    chooser->addWidget(SSTab1, 1);
    chooser->addLayout(chooserRow);
    fraSelectItem->hide();

    auto* v = new QVBoxLayout(this);
    v->addLayout(head);
    v->addWidget(frRule);
    v->addWidget(new QLabel(QStringLiteral("Included Items")));
    v->addWidget(DataGrid1, 1);
    v->addLayout(buttons);
    v->addWidget(fraSelectItem, 2);
    resize(InputHelpers::twips(12500), InputHelpers::twips(8000));

    InputHelpers::numberBox(txtQty, ctx);
    InputHelpers::lengthLimit(cmbCategory, ctx, 15,
                              QStringLiteral("This field cannot be longer than 15 characters."));
    InputHelpers::lengthLimit(cmbUnit, ctx, 10,
                              QStringLiteral("This field cannot be longer than 10 characters."));
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] {
        Guard::run(*ctx_.prompt, QStringLiteral("SSTab1_Click"), kOwner, [this] { PopCat(); });
    });
    connect(cmbCat, &QComboBox::activated, this, &frmAddLabMat::FilterGrid);
    connect(cmdAddItem, &QPushButton::clicked, this, &frmAddLabMat::cmdAddItem_Click);
    connect(cmdCancelItem, &QPushButton::clicked, fraSelectItem, &QWidget::hide);
    connect(cmSelectItem, &QPushButton::clicked, this, &frmAddLabMat::cmSelectItem_Click);
    connect(cmdEditItem, &QPushButton::clicked, this, &frmAddLabMat::cmdEditItem_Click);
    connect(cmdDeleteItem, &QPushButton::clicked, this, &frmAddLabMat::cmdDeleteItem_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmAddLabMat::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddLabMat::cmdCancel_Click);
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), kOwner, [&] { Form_Load(current); });
}

bool frmAddLabMat::editing() const {
    return edit_.editing();
}

void frmAddLabMat::Form_Load(const UnitItems::Header& current) {
    UnitItems::Begin(ctx_);
    RefreshGrid();
    cmbCategory->addItems(CostItems::DistinctValues(ctx_, QStringLiteral("cat")));
    cmbUnit->addItems(UnitItems::DistinctUnits(ctx_));
    cmbCategory->setCurrentIndex(-1);
    cmbUnit->setCurrentIndex(-1);
    if (editing()) {
        UnitItems::PopTempTable(ctx_, edit_.CostItemID);
        txtItem->setText(current.name);
        cmbCategory->setEditText(current.cat);
        cmbUnit->setEditText(current.unit);
        txtDesc->setText(current.desc);
        frRule->setRule(TakeoffRules::ruleOf(ctx_, true, edit_.CostItemID));
    }
    PopItemGrid();
    if (editing())
        ComputeTotal();
}

void frmAddLabMat::RefreshGrid() {
    for (int i = 0; i < 5; ++i)
        CostGrids::ShowItems(dgCost[i], ctx_, CostItems::CostTypes()[i]);
    PopCat();
}

void frmAddLabMat::PopCat() {
    CostGrids::FillCategories(
        cmbCat, CostItems::Categories(ctx_, CostItems::CostTypes()[SSTab1->currentIndex()]));
    FilterGrid();
}

void frmAddLabMat::FilterGrid() {
    Guard::run(*ctx_.prompt, QStringLiteral("FilterGrid"), kOwner, [this] {
        const int tab = SSTab1->currentIndex();
        CostGrids::ShowItems(dgCost[tab], ctx_, CostItems::CostTypes()[tab], cmbCat->currentText());
    });
}

void frmAddLabMat::PopItemGrid() {
    UnitItems::ShowComponents(ctx_, GridBinding::model(DataGrid1, ctx_));
    GridBinding::setWidths(DataGrid1, {500, 500, 500, 500, 600, 1000, 2500, 1000, 1000});
    CostGrids::StretchColumn(DataGrid1, 6);
}

void frmAddLabMat::ComputeTotal() {
    Guard::run(*ctx_.prompt, QStringLiteral("ComputeTotal"), kOwner,
               [this] { Label2->setText(UnitItems::Total(ctx_).toCurrency()); });
}

std::int32_t frmAddLabMat::selectedComponent() const {
    return CostGrids::CurrentID(DataGrid1);
}

void frmAddLabMat::cmdAddItem_Click() {
    txtQty->setText(QStringLiteral("1"));
    fraSelectItem->show();
}

void frmAddLabMat::cmSelectItem_Click() {
    if (!InputHelpers::requireBoundedNumber(txtQty, ctx_))
        return;
    QTableView* grid = dgCost[SSTab1->currentIndex()];
    if (GridBinding::rowCount(grid) == 0)
        return;
    const std::int32_t itemID = CostGrids::CurrentID(grid);
    Guard::run(*ctx_.prompt, QStringLiteral("cmSelectItem_Click"), kOwner, [&] {
        if (itemID != 0)
            if (const auto item = CostItems::Load(ctx_, itemID)) {
                UnitItems::AddComponent(ctx_, editing() ? edit_.CostItemID : 0, itemID,
                                        float(Numbers::value(txtQty->text())), item->unit,
                                        item->costname, item->amount);
                PopItemGrid();
            }
    });
    fraSelectItem->hide();
    ComputeTotal();
}

void frmAddLabMat::cmdEditItem_Click() {
    const int row = GridBinding::currentRow(DataGrid1);
    const std::int32_t tempID = selectedComponent();
    if (row < 0 || tempID == 0)
        return;
    frmQty q(ctx_, GridBinding::cell(DataGrid1, row, 4).toString(), this);
    q.exec();
    if (q.result().ComponentQtyCancel)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdEditItem_Click"), kOwner, [&] {
        UnitItems::SetQty(ctx_, tempID, q.result().ComponentQty);
        PopItemGrid();
    });
    ComputeTotal();
}

void frmAddLabMat::cmdDeleteItem_Click() {
    const std::int32_t tempID = selectedComponent();
    if (tempID == 0)
        return;
    if (ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this cost item?"),
                         QStringLiteral("Delete Cost Item"), Prompt::Buttons::YesNo,
                         Prompt::Icon::Critical, Prompt::Answer::No) != Prompt::Answer::Yes)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdDeleteItem_Click"), kOwner, [&] {
        UnitItems::DeleteComponent(ctx_, tempID);
        PopItemGrid();
    });
    ComputeTotal();
}

void frmAddLabMat::cmdSave_Click() {
    if (!InputHelpers::withinLimit(
            cmbCategory, ctx_, 15,
            QStringLiteral("This field cannot be longer than 15 characters.")) ||
        !InputHelpers::withinLimit(
            cmbUnit, ctx_, 10, QStringLiteral("This field cannot be longer than 10 characters.")))
        return;
    const std::optional<TakeoffRule::Rule> rule = frRule->rule();
    if (!rule)
        return;
    const UnitItems::Header h{txtItem->text(), cmbCategory->currentText(), cmbUnit->currentText(),
                              txtDesc->text()};
    // Nothing is written unless all of it is; after a failure the form stays open.
    std::int32_t id = 0;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdSave_Click"), kOwner,
                    [&] { id = UnitItems::Save(ctx_, editing() ? edit_.CostItemID : stored_, h); }))
        return;
    stored_ = id;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdSave_Click"), kOwner,
                    [&] { TakeoffRules::setRule(ctx_, true, id, *rule); }))
        return;
    saved_ = id;
    accept();
}

void frmAddLabMat::cmdCancel_Click() {
    reject();
}
