#include "catalogue/forms/frmUnitItem.h"

#include "catalogue/CostItems.h"
#include "catalogue/forms/CostGrids.h"
#include "catalogue/forms/frmAddLabMat.h"
#include "catalogue/forms/frmAddMat.h"
#include "catalogue/forms/frmLabor.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using Widgets::named;

namespace {
// The owner named in error messages.
const QString kOwner = Guard::form("frmUnitItem");
} // namespace

frmUnitItem::frmUnitItem(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmUnitItem");
    setWindowTitle(QStringLiteral("Cost Tables"));
    SSTab1 = named(new QTabWidget, "SSTab1");
    QStringList captions = CostItems::CostTypes();
    captions << QStringLiteral("CostUnit");
    for (int i = 0; i < 6; ++i) {
        dgCost[i] = named(new QTableView, Widgets::indexed("dgCost", i));
        GridBinding::setupView(dgCost[i]);
        SSTab1->addTab(dgCost[i], captions[i]);
        connect(dgCost[i], &QTableView::doubleClicked, this, &frmUnitItem::cmdEdit_Click);
    }
    frControls = named(new QGroupBox, "frControls");
    cmbCategory = named(new QComboBox, "cmbCategory");
    cmbCategory->setMinimumWidth(InputHelpers::twips(2500));
    cmdItem = named(new QPushButton(QStringLiteral("Add")), "cmdItem");
    cmdEdit = named(new QPushButton(QStringLiteral("Edit")), "cmdEdit");
    cmdDeleteItem = named(new QPushButton(QStringLiteral("Delete")), "cmdDeleteItem");
    cmdClose = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    auto* h = new QHBoxLayout(frControls);
    h->addWidget(new QLabel(QStringLiteral("View Category:")));
    h->addWidget(cmbCategory);
    h->addStretch();
    for (QPushButton* b : {cmdItem, cmdEdit, cmdDeleteItem, cmdClose})
        h->addWidget(b);
    auto* v = new QVBoxLayout(this);
    v->addWidget(SSTab1, 1);
    v->addWidget(frControls);
    resize(InputHelpers::twips(14500), InputHelpers::twips(7500));

    connect(SSTab1, &QTabWidget::currentChanged, this, [this] {
        Guard::run(*ctx_.prompt, QStringLiteral("SSTab1_Click"), kOwner, [this] { PopCat(); });
    });
    connect(cmbCategory, &QComboBox::activated, this, &frmUnitItem::FilterGrid);
    connect(cmdItem, &QPushButton::clicked, this, &frmUnitItem::cmdItem_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmUnitItem::cmdEdit_Click);
    connect(cmdDeleteItem, &QPushButton::clicked, this, &frmUnitItem::cmdDeleteItem_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), kOwner, [this] { RefreshGrid(); });
}

QString frmUnitItem::currentType() const {
    return SSTab1->tabText(SSTab1->currentIndex());
}

void frmUnitItem::RefreshGrid() {
    for (int i = 0; i < 6; ++i)
        PopGrid(i);
    PopCat();
}

void frmUnitItem::PopGrid(int index) {
    if (index == UnitTab)
        CostGrids::ShowUnits(dgCost[index], ctx_);
    else
        CostGrids::ShowItems(dgCost[index], ctx_, SSTab1->tabText(index));
}

void frmUnitItem::PopCat() {
    const int tab = SSTab1->currentIndex();
    CostGrids::FillCategories(cmbCategory, tab == UnitTab
                                               ? CostItems::UnitCategories(ctx_)
                                               : CostItems::Categories(ctx_, currentType()));
    FilterGrid();
}

void frmUnitItem::FilterGrid() {
    Guard::run(*ctx_.prompt, QStringLiteral("FilterGrid"), kOwner, [this] {
        const int tab = SSTab1->currentIndex();
        if (tab == UnitTab)
            PopGrid(tab); // unit items are never narrowed by category
        else
            CostGrids::ShowItems(dgCost[tab], ctx_, currentType(), cmbCategory->currentText());
    });
}

void frmUnitItem::afterForm() {
    Guard::run(*ctx_.prompt, QStringLiteral("RefreshGrid"), kOwner, [this] { RefreshGrid(); });
}

void frmUnitItem::SwitchLaborForm() {
    frmAddMat f(ctx_, CostEdit::add(), QStringLiteral("Labor"), this);
    f.exec();
    afterForm();
}

void frmUnitItem::cmdItem_Click() {
    const int tab = SSTab1->currentIndex();
    if (tab == UnitTab) {
        frmAddLabMat f(ctx_, CostEdit::add(), {}, this);
        f.exec();
    } else if (tab == 1) {
        frmLabor f(ctx_, CostEdit::add(), this);
        f.exec();
        if (f.switchNonEmployee()) {
            SwitchLaborForm();
            return;
        }
    } else {
        frmAddMat f(ctx_, CostEdit::add(), currentType(), this);
        f.exec();
    }
    afterForm();
}

void frmUnitItem::cmdEdit_Click() {
    const int tab = SSTab1->currentIndex();
    QTableView* grid = dgCost[tab];
    const int row = GridBinding::currentRow(grid);
    const std::int32_t id = CostGrids::CurrentID(grid);
    if (row < 0 || id == 0)
        return;
    const CostEdit edit = CostEdit::edit(id);
    if (tab == UnitTab) {
        auto cell = [&](int c) { return GridBinding::cell(grid, row, c).toString(); };
        frmAddLabMat f(ctx_, edit, {cell(2), cell(1), cell(3), cell(4)}, this);
        f.exec();
    } else if (tab == 1 && GridBinding::cell(grid, row, 1)
                                   .toString()
                                   .compare(QLatin1String("Hourly"), Qt::CaseInsensitive) == 0) {
        frmLabor f(ctx_, edit, this);
        f.exec();
    } else {
        frmAddMat f(ctx_, edit, currentType(), this);
        f.exec();
    }
    afterForm();
}

void frmUnitItem::cmdDeleteItem_Click() {
    const int tab = SSTab1->currentIndex();
    const std::int32_t id = CostGrids::CurrentID(dgCost[tab]);
    if (id == 0)
        return;
    if (ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this cost item?"),
                         QStringLiteral("Delete Cost Item"), Prompt::Buttons::YesNo,
                         Prompt::Icon::Critical, Prompt::Answer::No) != Prompt::Answer::Yes)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdDeleteItem_Click"), kOwner, [&] {
        if (tab == UnitTab)
            CostItems::DeleteUnitItem(ctx_, id);
        else
            CostItems::Delete(ctx_, id);
        RefreshGrid();
    });
}
