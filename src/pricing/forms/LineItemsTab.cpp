#include "pricing/forms/LineItemsTab.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "pricing/LineCommands.h"
#include "pricing/RuleQuantities.h"
#include "pricing/forms/Pickers.h"
#include "pricing/forms/frmEditID.h"
#include "pricing/modGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {
// The handlers were the main window's, and their messages still name it.
const QString kForm = Guard::form("frmCorvanel");
} // namespace

LineItemsTab::LineItemsTab(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), undo_(new QUndoStack(this)) {
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    grdDataGrid = named(new QTableView, "grdDataGrid");
    GridBinding::setupView(grdDataGrid);
    grdDataGrid->setMinimumWidth(InputHelpers::twips(10050) / 2);
    left->addWidget(grdDataGrid, 1);
    auto* buttons = new QHBoxLayout;
    cmdAddNewLine = named(new QPushButton(QStringLiteral("&Add Item")), "cmdAddNewLine");
    cmdEditLine = named(new QPushButton(QStringLiteral("Edit Line")), "cmdEditLine");
    cmdDeleteLine = named(new QPushButton(QStringLiteral("Delete Line")), "cmdDeleteLine");
    cmdOrder = named(new QPushButton(QStringLiteral("Change Order")), "cmdOrder");
    cmdRefreshQty =
        named(new QPushButton(QStringLiteral("Refresh quantities from roof")), "cmdRefreshQty");
    cmdRefreshQty->setToolTip(QStringLiteral(
        "Lines whose quantity came from the roof take the quantity it asks for now"));
    for (QPushButton* b : {cmdAddNewLine, cmdEditLine, cmdDeleteLine, cmdOrder, cmdRefreshQty})
        buttons->addWidget(b);
    buttons->addStretch();
    left->addLayout(buttons);
    outer->addLayout(left, 1);

    frSubTotals = named(new QGroupBox(QStringLiteral("Sub Totals")), "frSubTotals");
    auto* grid = new QGridLayout(frSubTotals);
    const char* captions[] = {
        "Material:", "Labor:", "Sub Con:", "Equip:", "Fees:", "Unit Items:", "Total:"};
    for (int i = 0; i < 7; ++i) {
        lblSubTotals[i] = named(new QLabel(QStringLiteral(".00")), indexed("lblSubTotals", i));
        lblSubTotals[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblSubTotals[i]->setMinimumWidth(110);
        auto* caption = new QLabel(QString::fromLatin1(captions[i]));
        if (i == 6) {
            QFont f = caption->font();
            f.setBold(true);
            caption->setFont(f);
            lblSubTotals[i]->setFont(f);
        }
        grid->addWidget(caption, i, 0);
        grid->addWidget(lblSubTotals[i], i, 1);
    }
    grid->setRowStretch(7, 1);
    outer->addWidget(frSubTotals, 0, Qt::AlignTop);

    connect(cmdAddNewLine, &QPushButton::clicked, this, &LineItemsTab::cmdAddNewLine_Click);
    connect(cmdEditLine, &QPushButton::clicked, this, &LineItemsTab::cmdEditLine_Click);
    connect(cmdDeleteLine, &QPushButton::clicked, this, &LineItemsTab::cmdDeleteLine_Click);
    connect(cmdOrder, &QPushButton::clicked, this, &LineItemsTab::cmdOrder_Click);
    connect(cmdRefreshQty, &QPushButton::clicked, this, &LineItemsTab::cmdRefreshQty_Click);
    connect(grdDataGrid, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { grdDataGrid_DblClick(index.row()); });
}

void LineItemsTab::PopEstiGrid() {
    modGrid::ShowEstiGrid(ctx_, GridBinding::model(grdDataGrid, ctx_));
    GridBinding::setWidths(grdDataGrid, {500, 3800, 1100, 500, 900, 900, 900, 900});
}

std::int32_t LineItemsTab::selectedLineID() {
    const int row = GridBinding::currentRow(grdDataGrid);
    return row < 0 ? 0 : GridBinding::cell(grdDataGrid, row, 0).toInt();
}
int LineItemsTab::gridRowCount() {
    return GridBinding::rowCount(grdDataGrid);
}

void LineItemsTab::showTypeTotals(const Totals::EstimateTotals& totals) {
    totals_ = totals;
    for (int k = 0; k < Totals::TypeCount; ++k)
        lblSubTotals[k]->setText(totals.types[k].toCurrency());
    lblSubTotals[Totals::TypeCount]->setText(totals.subTotal.toCurrency());
}

void LineItemsTab::clearTypeTotals() {
    for (QLabel* l : lblSubTotals)
        l->setText(QStringLiteral(".00"));
}

void LineItemsTab::refreshLines() {
    Q_EMIT linesChanged();
    Guard::run(*ctx_.prompt, QStringLiteral("PopEstiGrid"), kForm, [this] { PopEstiGrid(); });
}

void LineItemsTab::push(WorkCommand* command) {
    WorkCommands::push(*undo_, command);
}

// The dialogs sit over the main window, as they did when it handled these buttons.
void LineItemsTab::cmdAddNewLine_Click() {
    const std::optional<CurItemRecord> item =
        Pickers::PickItem(ctx_, window(), false, 0, totals_.admin);
    if (item && item->Picked)
        push(LineCommands::add(ctx_, *item, [this](bool) { refreshLines(); }));
}

void LineItemsTab::cmdRefreshQty_Click() {
    QList<RuleQuantities::Change> changes;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdRefreshQty_Click"), kForm,
                    [&] { changes = RuleQuantities::plan(ctx_); }))
        return;
    if (changes.isEmpty()) {
        ctx_.prompt->message(QStringLiteral("Every line that follows the roof already has the "
                                            "quantity it asks for."));
        return;
    }
    // A refresh that failed was reported by the step itself and changed nothing.
    if (!WorkCommands::push(*undo_,
                            RuleQuantities::apply(ctx_, changes, [this](bool) { refreshLines(); })))
        return;
    ctx_.prompt->message(QStringLiteral("Quantities refreshed from the roof:\n%1")
                             .arg(RuleQuantities::describe(changes)));
}

void LineItemsTab::editLine(std::int32_t id) {
    const std::optional<CurItemRecord> item =
        Pickers::PickItem(ctx_, window(), true, id, totals_.admin);
    // Okay on a line left as it was is no change; LineCommands compares what is stored.
    if (item && item->Picked)
        push(LineCommands::edit(ctx_, id, *item, [this](bool) { refreshLines(); }));
}

void LineItemsTab::cmdEditLine_Click() {
    // The selected line is edited at once; only without one is its ID asked for.
    if (const std::int32_t selected = selectedLineID(); selected > 0) {
        editLine(selected);
        return;
    }
    std::int32_t id = 0;
    {
        frmEditID dialog(0, window());
        if (dialog.exec() != QDialog::Accepted)
            return;
        id = dialog.EditLineID();
    }
    bool shown = false;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdEditLine_Click"), kForm,
                    [&] { shown = modGrid::GridHasLine(ctx_, id); }))
        return;
    if (!shown) {
        ctx_.prompt->message(QStringLiteral("That is not a valid ID.  Please try again."));
        return;
    }
    editLine(id);
}

void LineItemsTab::grdDataGrid_DblClick(int row) {
    if (row < 0 || row >= gridRowCount())
        return;
    const std::int32_t id = GridBinding::cell(grdDataGrid, row, 0).toInt();
    if (id <= 0)
        return;
    grdDataGrid->selectRow(row);
    editLine(id);
}

void LineItemsTab::cmdDeleteLine_Click() {
    const std::int32_t id = selectedLineID();
    if (id <= 0)
        return;
    // No is the default: one press of Return never throws a line away.
    const auto a =
        ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this line item?"),
                         QStringLiteral("Confirm delete"), Prompt::Buttons::YesNo,
                         Prompt::Icon::Critical, Prompt::Answer::No);
    if (a != Prompt::Answer::Yes)
        return;
    push(LineCommands::remove(ctx_, id, [this](bool) { refreshLines(); }));
}

void LineItemsTab::cmdOrder_Click() {
    if (gridRowCount() <= 1)
        return;
    SectionOrder::Positions before, after;
    bool committed = false;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("cmdOrder_Click"), kForm,
                    [&] { before = SectionOrder::positions(ctx_); }))
        return;
    committed = Pickers::SortSections(ctx_, window());
    if (!committed || !Guard::run(*ctx_.prompt, QStringLiteral("cmdOrder_Click"), kForm,
                                  [&] { after = SectionOrder::positions(ctx_); }))
        return;
    // An order committed as it was is no change.
    push(LineCommands::reorder(ctx_, before, after, [this](bool) { refreshLines(); }));
}

void LineItemsTab::detachGrid() {
    GridBinding::detach(grdDataGrid);
}
