#include "pricing/forms/frmPickItem.h"

#include "catalogue/TakeoffRules.h"

#include "catalogue/CostItems.h"
#include "catalogue/forms/CatalogueGrids.h"
#include "catalogue/forms/CostGrids.h"
#include "catalogue/forms/frmAddLabMat.h"
#include "catalogue/forms/frmAddMat.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Money.h"
#include "common/Prompt.h"
#include "common/Quantity.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/SearchBox.h"
#include "common/forms/Widgets.h"
#include "pricing/Sections.h"
#include "pricing/forms/frmAddSection.h"

#include <QComboBox>
#include <QFormLayout>
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
const char* Form = "frmPickItem";
// The cost type each tab lists ("Unit_Item" on the last).
const char* TabTypes[6] = {"Material", "Labor", "SubCon", "Equip", "Fee", "Unit_Item"};
const char* TabCaptions[6] = {"Material", "Labor", "Subs", "Equipment", "Fees", "Unit Items"};
// Item data of the "Add" entry, which is no section.
constexpr int AddEntry = -1;
} // namespace

frmPickItem::frmPickItem(AppContext& ctx, bool pickEdit, std::int32_t pickLineID, QWidget* parent,
                         const Totals::AdminAmounts& admin)
    : QDialog(parent), ctx_(ctx), admin_(admin) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Select Item"));
    SSTab1 = named(new QTabWidget, "SSTab1");
    for (int i = 0; i < 6; ++i) {
        PickGrid[i] = named(new QTableView, Widgets::indexed("PickGrid", i));
        GridBinding::setupView(PickGrid[i]);
        SSTab1->addTab(PickGrid[i], QLatin1String(TabCaptions[i]));
        connect(PickGrid[i], &QTableView::activated, this, [this, i] { PickGrid_DblClick(i); });
    }
    grids_ = std::make_unique<CatalogueGrids>(
        ctx, std::array<QTableView*, 6>{PickGrid[0], PickGrid[1], PickGrid[2], PickGrid[3],
                                        PickGrid[4], PickGrid[5]});
    txtSearch =
        SearchBox::make("txtSearch", QStringLiteral("Search name, description, manufacturer, SKU"));
    SearchBox::attach(txtSearch, PickGrid[0]);
    auto* searchLabel = named(new QLabel(QStringLiteral("&Find:")), "lblSearch");
    searchLabel->setBuddy(txtSearch);
    cmbCategory = named(new QComboBox, "cmbCategory");
    cmbCategory->setMinimumWidth(InputHelpers::twips(2500));
    cmdAddItem = named(new QPushButton(QStringLiteral("Add New Cost Item")), "cmdAddItem");
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdAddItem->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(txtSearch, 1);
    top->addSpacing(12);
    top->addWidget(named(new QLabel(QStringLiteral("View Category:")), "Label1"));
    top->addWidget(cmbCategory);
    top->addSpacing(12);
    top->addWidget(cmdAddItem);
    top->addWidget(cmdCancel);

    frSelect = named(new QGroupBox(QStringLiteral("Enter Info")), "frSelect");
    auto label = [](const char* name) { return named(new QLabel, name); };
    lblLineID = label("lblLineID");
    lblID = label("lblID");
    lblItemTable = label("lblItemTable");
    lblItemUnit = label("lblItemUnit");
    lblItemName = label("lblItemName");
    lblItemTotal = label("lblItemTotal");
    // Where a proposed quantity came from; the user may type another.
    lblQtyFrom = label("lblQtyFrom");
    lblQtyFrom->setWordWrap(true);
    txtItemQuan = named(new QLineEdit, "txtItemQuan");
    txtItemPrice = named(new QLineEdit, "txtItemPrice");
    cmbSection = named(new QComboBox, "cmbSection");
    cmbSection->setMinimumWidth(InputHelpers::twips(3000));
    cmdSelect = named(new QPushButton(QStringLiteral("Okay")), "cmdSelect");
    cmdCancelSelect = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancelSelect");
    cmdSelect->setDefault(true);
    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Line ID:"), lblLineID);
    left->addRow(QStringLiteral("ID:"), lblID);
    left->addRow(QStringLiteral("Table:"), lblItemTable);
    left->addRow(QStringLiteral("Name:"), lblItemName);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("Unit:"), lblItemUnit);
    right->addRow(QStringLiteral("Quan:"), txtItemQuan);
    right->addRow(QString(), lblQtyFrom);
    right->addRow(QStringLiteral("Price:"), txtItemPrice);
    right->addRow(QStringLiteral("Total:"), lblItemTotal);
    right->addRow(QStringLiteral("Section:"), cmbSection);
    auto* sb = new QVBoxLayout;
    sb->addStretch();
    sb->addWidget(cmdSelect);
    sb->addWidget(cmdCancelSelect);
    auto* fs = new QHBoxLayout(frSelect);
    fs->addLayout(left, 1);
    fs->addLayout(right, 1);
    fs->addLayout(sb);

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(SSTab1, 1);
    v->addWidget(frSelect);
    // Shown over the middle of the window that opened it.
    resize(InputHelpers::twips(14500), InputHelpers::twips(8500));

    InputHelpers::numberBox(txtItemQuan, ctx);
    InputHelpers::numberBox(txtItemPrice, ctx);
    InputHelpers::focusColour(cmbSection);
    // The total follows the quantity and the price as they are typed.
    connect(txtItemQuan, &QLineEdit::textChanged, this, &frmPickItem::FigureLineTotal);
    connect(txtItemPrice, &QLineEdit::textChanged, this, &frmPickItem::FigureLineTotal);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] {
        SearchBox::attach(txtSearch, PickGrid[SSTab1->currentIndex()]);
        Guard::run(*ctx_.prompt, QStringLiteral("SSTab1_Click"), Guard::form(Form),
                   [this] { PopCat(); });
    });
    connect(txtSearch, &QLineEdit::textChanged, this, &frmPickItem::FilterGrid);
    connect(cmbCategory, &QComboBox::activated, this, &frmPickItem::FilterGrid);
    connect(cmbSection, &QComboBox::activated, this, &frmPickItem::cmbSection_Click);
    connect(cmdAddItem, &QPushButton::clicked, this, &frmPickItem::cmdAddItem_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPickItem::reject);
    connect(cmdSelect, &QPushButton::clicked, this, &frmPickItem::cmdSelect_Click);
    connect(cmdCancelSelect, &QPushButton::clicked, this, &frmPickItem::cmdCancelSelect_Click);

    Guard::run(*ctx.prompt, QStringLiteral("Form_Load"), Guard::form(Form), [&] {
        if (!pickEdit) {
            RefreshGrid();
            PopSectionCombo();
            frSelect->hide();
            txtSearch->setFocus();
        } else {
            PopSectionCombo();
            frSelect->show();
            cmdAddItem->setEnabled(false);
            PopEditForm(pickLineID);
        }
    });
}

frmPickItem::~frmPickItem() = default;

void frmPickItem::RefreshGrid() {
    grids_->reload(txtSearch->text());
    PopCat();
}

void frmPickItem::PopGrid(int tab) {
    grids_->show(tab, tab == SSTab1->currentIndex() ? cmbCategory->currentText() : QString(),
                 txtSearch->text());
}

void frmPickItem::PopCat() {
    const int tab = SSTab1->currentIndex();
    CostGrids::FillCategories(cmbCategory, tab == UnitTab
                                               ? QStringList{QStringLiteral("All")}
                                               : CostItems::Categories(ctx_, TabTypes[tab]));
    FilterGrid();
}

void frmPickItem::FilterGrid() {
    Guard::run(*ctx_.prompt, QStringLiteral("FilterGrid"), Guard::form(Form), [this] {
        const int tab = SSTab1->currentIndex();
        grids_->show(tab, tab == UnitTab ? QString() : cmbCategory->currentText(),
                     txtSearch->text());
    });
}

void frmPickItem::PickGrid_DblClick(int tab) {
    const std::int32_t id = CostGrids::CurrentID(PickGrid[tab]);
    if (id == 0)
        return;
    Guard::run(*ctx_.prompt, QStringLiteral("PickGrid_DblClick"), Guard::form(Form), [&] {
        const auto item =
            tab == UnitTab ? CostItems::LoadUnit(ctx_, id) : CostItems::Load(ctx_, id);
        if (!item)
            return;
        frSelect->show();
        lblID->setText(QString::number(id));
        lblItemTable->setText(item->costtype);
        lblItemUnit->setText(item->unit);
        lblItemName->setText(item->costname);
        txtItemPrice->setText(item->amount.toInput());
        proposeQuantity(tab == UnitTab, id, item->unit);
        txtItemQuan->setFocus();
    });
}

void frmPickItem::proposeQuantity(bool unitItem, std::int32_t id, const QString& unit) {
    lblQtyFrom->clear();
    proposed_.reset();
    const std::optional<TakeoffRule::Proposal> p = TakeoffRules::proposal(ctx_, unitItem, id, unit);
    if (!p)
        return;
    txtItemQuan->setText(p->qty.toText());
    lblQtyFrom->setText(p->from);
    proposed_ = p->qty;
}

void frmPickItem::showRuleFor(const modGrid::LineToEdit& line) {
    lblQtyFrom->clear();
    proposed_.reset();
    const std::optional<TakeoffRule::Proposal> p = TakeoffRules::proposal(
        ctx_, line.itemTable == QLatin1String(TabTypes[UnitTab]), line.itemID.toInt(), line.unit);
    if (!p)
        return;
    proposed_ = p->qty;
    lblQtyFrom->setText(
        p->qty == line.qty
            ? p->from
            : QStringLiteral("The roof asks for %1 (%2)").arg(p->qty.toText(), p->from));
}

void frmPickItem::PopEditForm(std::int32_t lineID) {
    Guard::run(*ctx_.prompt, QStringLiteral("PopEditForm"), Guard::form(Form), [&] {
        const std::optional<modGrid::LineToEdit> line = modGrid::LoadLineToEdit(ctx_, lineID);
        if (!line)
            return;
        loaded_ = line;
        filling_ = true;
        lblLineID->setText(line->lineID);
        lblItemTable->setText(line->itemTable);
        lblID->setText(line->itemID);
        txtItemQuan->setText(line->qty.toText());
        lblItemUnit->setText(line->unit);
        lblItemName->setText(line->name);
        txtItemPrice->setText(line->cost.toInput());
        lblItemTotal->setText(line->lineTotal.toCurrency());
        filling_ = false;
        showRuleFor(*line);
        // The line's own section, told apart from any other by its identity.
        const int at = cmbSection->findData(line->sectID);
        if (at >= 0)
            cmbSection->setCurrentIndex(at);
        else
            selectSection(line->sect);
    });
}

std::optional<Money> frmPickItem::lineTotal(Quantity qty, Money price) const {
    if (loaded_ && loaded_->qty == qty && loaded_->cost == price)
        return loaded_->lineTotal;
    return price.times(qty);
}

void frmPickItem::FigureLineTotal() {
    if (filling_)
        return;
    const auto qty = Quantity::parse(txtItemQuan->text());
    const auto price = Money::parse(txtItemPrice->text());
    const std::optional<Money> total = qty && price ? lineTotal(*qty, *price) : std::nullopt;
    lblItemTotal->setText(total ? total->toCurrency() : QString());
}

void frmPickItem::PopSectionCombo() {
    const QSignalBlocker block(cmbSection);
    cmbSection->clear();
    // Each entry carries its section's identity: two sections may share a position for a
    // moment, never an identity.
    for (const auto& s : Sections::List(ctx_))
        cmbSection->addItem(s.name, s.id);
    cmbSection->addItem(QStringLiteral("Add"), AddEntry);
    cmbSection->setCurrentIndex(-1);
}

void frmPickItem::selectSection(const QString& name) {
    for (int i = 0; i < cmbSection->count(); ++i)
        if (cmbSection->itemData(i).toInt() != AddEntry &&
            cmbSection->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            cmbSection->setCurrentIndex(i);
            return;
        }
    cmbSection->setCurrentIndex(-1);
}

void frmPickItem::cmbSection_Click(int index) {
    if (cmbSection->itemData(index).toInt() != AddEntry)
        return;
    frmAddSection f(ctx_, this);
    f.exec();
    Guard::run(*ctx_.prompt, QStringLiteral("cmbSection_Click"), Guard::form(Form),
               [this] { PopSectionCombo(); });
    // Without a new section nothing is chosen, so "Add" itself can never be accepted.
    selectSection(f.section());
}

void frmPickItem::cmdSelect_Click() {
    const int index = cmbSection->currentIndex();
    if (index < 0 || cmbSection->currentText().isEmpty() ||
        cmbSection->itemData(index).toInt() == AddEntry) {
        ctx_.prompt->message(QStringLiteral("You must select a selection."));
        return;
    }
    if (lblID->text().isEmpty() || !InputHelpers::requireBoundedNumber(txtItemQuan, ctx_) ||
        !InputHelpers::requireBoundedNumber(txtItemPrice, ctx_))
        return;
    // Read once, by the one routine, so what is stored is exactly what is priced.
    const Quantity qty = *Quantity::parse(txtItemQuan->text());
    const Money price = *Money::parse(txtItemPrice->text());
    const std::optional<Money> total = lineTotal(qty, price);
    const QString type = lblItemTable->text();
    const qint64 sectID = cmbSection->itemData(index).toLongLong();
    std::int32_t secOrder = 0;
    std::optional<Totals::TypeTotals> types;
    if (total &&
        !Guard::run(*ctx_.prompt, QStringLiteral("cmdSelect_Click"), Guard::form(Form), [&] {
            types =
                Totals::withLine(ctx_, loaded_ ? loaded_->lineID.toLongLong() : 0, type, *total);
            for (const auto& s : Sections::List(ctx_))
                if (s.id == sectID)
                    secOrder = s.secOrder;
        }))
        return;
    if (!total || !types || !Totals::fits(*types, admin_)) {
        ctx_.prompt->message(total ? Totals::tooLargeMessage()
                                   : QStringLiteral("The total of this line is too large to "
                                                    "figure. Please enter a smaller quantity or "
                                                    "price."));
        txtItemQuan->setFocus();
        txtItemQuan->selectAll();
        return;
    }
    CurItemRecord& c = item_;
    c.SectID = sectID;
    c.Sect = cmbSection->currentText();
    c.SecOrder = secOrder;
    c.ItemTable = type;
    c.ItemID = lblID->text().toInt();
    c.Qty = qty;
    c.Unit = lblItemUnit->text();
    c.Name = lblItemName->text();
    c.Cost = price;
    c.LineTotal = *total;
    // A quantity left as the roof proposes it follows the roof, and so does that of a following
    // line left as it was (Refresh brings it up to date); a quantity typed over is the user's.
    c.FromRule =
        (proposed_ && *proposed_ == qty) || (loaded_ && loaded_->fromRule && loaded_->qty == qty);
    c.Picked = true;
    pickCancel_ = false;
    frSelect->hide();
    QDialog::accept();
}

void frmPickItem::cmdAddItem_Click() {
    const int tab = SSTab1->currentIndex();
    std::optional<std::int32_t> saved;
    if (tab == UnitTab) {
        frmAddLabMat f(ctx_, CostEdit::add(), {}, this);
        f.exec();
        saved = f.saved();
    } else {
        frmAddMat f(ctx_, CostEdit::add(), QLatin1String(TabTypes[tab]), this);
        f.exec();
        saved = f.saved();
    }
    Guard::run(*ctx_.prompt, QStringLiteral("cmdAddItem_Click"), Guard::form(Form),
               [this] { RefreshGrid(); });
    if (!saved)
        return;
    // The new item is shown chosen, on its own tab and whatever the search said.
    grids_->reveal(tab, *saved, SSTab1, cmbCategory, txtSearch, [this] { FilterGrid(); });
}

void frmPickItem::cmdCancelSelect_Click() {
    frSelect->hide();
    reject();
}

std::optional<CurItemRecord> frmPickItem::chosen() const {
    if (pickCancel_)
        return std::nullopt;
    return item_;
}

void frmPickItem::reject() {
    item_ = CurItemRecord();
    pickCancel_ = true;
    QDialog::reject();
}
