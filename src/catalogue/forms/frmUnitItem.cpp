#include "catalogue/forms/frmUnitItem.h"

#include "catalogue/CostItems.h"
#include "catalogue/PriceList.h"
#include "catalogue/forms/CatalogueGrids.h"
#include "catalogue/forms/CostGrids.h"
#include "catalogue/forms/frmAddLabMat.h"
#include "catalogue/forms/frmAddMat.h"
#include "catalogue/forms/frmImportPrices.h"
#include "catalogue/forms/frmLabor.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/SearchBox.h"
#include "common/forms/Widgets.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
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
        connect(dgCost[i], &QTableView::activated, this, &frmUnitItem::cmdEdit_Click);
    }
    grids_ = std::make_unique<CatalogueGrids>(
        ctx, std::array<QTableView*, 6>{dgCost[0], dgCost[1], dgCost[2], dgCost[3], dgCost[4],
                                        dgCost[5]});
    txtSearch =
        SearchBox::make("txtSearch", QStringLiteral("Search name, description, manufacturer, SKU"));
    auto* searchLabel = named(new QLabel(QStringLiteral("&Find:")), "lblSearch");
    searchLabel->setBuddy(txtSearch);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearch, 1);
    frControls = named(new QGroupBox, "frControls");
    cmbCategory = named(new QComboBox, "cmbCategory");
    cmbCategory->setMinimumWidth(InputHelpers::twips(2500));
    cmdItem = named(new QPushButton(QStringLiteral("Add")), "cmdItem");
    cmdEdit = named(new QPushButton(QStringLiteral("Edit")), "cmdEdit");
    cmdDeleteItem = named(new QPushButton(QStringLiteral("Delete")), "cmdDeleteItem");
    cmdImport =
        named(new QPushButton(QStringLiteral("Import price list") + QChar(0x2026)), "cmdImport");
    cmdImport->setToolTip(QStringLiteral("Read a supplier's price list (CSV): new items and "
                                         "new prices, shown before anything is changed"));
    cmdExport =
        named(new QPushButton(QStringLiteral("Export price list") + QChar(0x2026)), "cmdExport");
    cmdExport->setToolTip(QStringLiteral("Write the whole catalogue to a CSV file that a "
                                         "spreadsheet opens"));
    cmdClose = named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    // Enter in the search or a grid must not press a button of the window.
    for (QPushButton* b : {cmdItem, cmdEdit, cmdDeleteItem, cmdImport, cmdExport, cmdClose})
        b->setAutoDefault(false);
    auto* h = new QHBoxLayout(frControls);
    h->addWidget(new QLabel(QStringLiteral("View Category:")));
    h->addWidget(cmbCategory);
    h->addStretch();
    for (QPushButton* b : {cmdItem, cmdEdit, cmdDeleteItem})
        h->addWidget(b);
    h->addSpacing(12);
    h->addWidget(cmdImport);
    h->addWidget(cmdExport);
    h->addSpacing(12);
    h->addWidget(cmdClose);
    auto* v = new QVBoxLayout(this);
    v->addLayout(searchRow);
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
    connect(txtSearch, &QLineEdit::textChanged, this, &frmUnitItem::FilterGrid);
    connect(SSTab1, &QTabWidget::currentChanged, this,
            [this] { SearchBox::attach(txtSearch, dgCost[SSTab1->currentIndex()]); });
    SearchBox::attach(txtSearch, dgCost[0]);
    connect(cmdImport, &QPushButton::clicked, this, &frmUnitItem::cmdImport_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmUnitItem::cmdExport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    openFileName = [this] {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("Import Price List"), QString(),
            QStringLiteral("Price lists (*.csv *.txt);;All files (*)"));
    };
    saveFileName = [this] {
        QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Export Price List"),
                                                    QStringLiteral("price-list.csv"),
                                                    QStringLiteral("CSV files (*.csv)"));
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".csv");
        return name;
    };
    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), kOwner, [this] { RefreshGrid(); });
    txtSearch->setFocus();
}

frmUnitItem::~frmUnitItem() = default;

QString frmUnitItem::currentType() const {
    return SSTab1->tabText(SSTab1->currentIndex());
}

void frmUnitItem::RefreshGrid() {
    grids_->reload(txtSearch->text());
    PopCat();
}

void frmUnitItem::PopGrid(int index) {
    grids_->show(index, index == SSTab1->currentIndex() ? cmbCategory->currentText() : QString(),
                 txtSearch->text());
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
        // Unit items are never narrowed by category.
        grids_->show(tab, tab == UnitTab ? QString() : cmbCategory->currentText(),
                     txtSearch->text());
    });
}

void frmUnitItem::afterForm(int tab, std::optional<std::int32_t> saved) {
    Guard::run(*ctx_.prompt, QStringLiteral("RefreshGrid"), kOwner, [this] { RefreshGrid(); });
    if (saved)
        showSaved(tab, *saved);
}

void frmUnitItem::showSaved(int tab, std::int32_t id) {
    grids_->reveal(tab, id, SSTab1, cmbCategory, txtSearch, [this] { FilterGrid(); });
}

std::optional<std::int32_t> frmUnitItem::SwitchLaborForm() {
    frmAddMat f(ctx_, CostEdit::add(), QStringLiteral("Labor"), this);
    f.exec();
    return f.saved();
}

void frmUnitItem::cmdItem_Click() {
    const int tab = SSTab1->currentIndex();
    std::optional<std::int32_t> saved;
    if (tab == UnitTab) {
        frmAddLabMat f(ctx_, CostEdit::add(), {}, this);
        f.exec();
        saved = f.saved();
    } else if (tab == 1) {
        frmLabor f(ctx_, CostEdit::add(), this);
        f.exec();
        saved = f.switchNonEmployee() ? SwitchLaborForm() : f.saved();
    } else {
        frmAddMat f(ctx_, CostEdit::add(), currentType(), this);
        f.exec();
        saved = f.saved();
    }
    afterForm(tab, saved);
}

void frmUnitItem::cmdEdit_Click() {
    const int tab = SSTab1->currentIndex();
    QTableView* grid = dgCost[tab];
    const int row = GridBinding::currentRow(grid);
    const std::int32_t id = CostGrids::CurrentID(grid);
    if (row < 0 || id == 0)
        return;
    const CostEdit edit = CostEdit::edit(id);
    std::optional<std::int32_t> saved;
    if (tab == UnitTab) {
        auto cell = [&](int c) { return GridBinding::cell(grid, row, c).toString(); };
        frmAddLabMat f(ctx_, edit, {cell(2), cell(1), cell(3), cell(4)}, this);
        f.exec();
        saved = f.saved();
    } else if (tab == 1 && GridBinding::cell(grid, row, 1)
                                   .toString()
                                   .compare(QLatin1String("Hourly"), Qt::CaseInsensitive) == 0) {
        frmLabor f(ctx_, edit, this);
        f.exec();
        saved = f.saved();
    } else {
        frmAddMat f(ctx_, edit, currentType(), this);
        f.exec();
        saved = f.saved();
    }
    afterForm(tab, saved);
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

void frmUnitItem::cmdImport_Click() {
    const QString path = openFileName ? openFileName() : QString();
    if (path.isEmpty())
        return;
    PriceList::Source source = PriceList::Open(path, ctx_.settings.get());
    if (source.header.isEmpty()) {
        ctx_.prompt->message(source.error, QString(), Prompt::Icon::Warning);
        return;
    }
    frmImportPrices f(ctx_, std::move(source), this);
    f.setWindowTitle(QStringLiteral("Import Price List - ") + QFileInfo(path).fileName());
    f.exec();
    const std::optional<PriceList::Preview>& done = f.imported();
    if (!done)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("RefreshGrid"), kOwner, [this] { RefreshGrid(); });
    ctx_.prompt->message(QStringLiteral("The price list was imported: %1 new items, %2 new prices.")
                             .arg(done->added.size())
                             .arg(done->changed.size()),
                         QString(), Prompt::Icon::Information);
}

void frmUnitItem::cmdExport_Click() {
    const QString path = saveFileName ? saveFileName() : QString();
    if (path.isEmpty())
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdExport_Click"), kOwner, [&] {
        const QString failed = PriceList::ExportFile(ctx_, path);
        if (!failed.isEmpty())
            ctx_.prompt->message(failed, QString(), Prompt::Icon::Warning);
    });
}
