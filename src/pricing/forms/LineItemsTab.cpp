#include "pricing/forms/LineItemsTab.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "pricing/forms/Pickers.h"
#include "pricing/forms/frmEditID.h"
#include "pricing/modGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {
// The handlers were the main window's, and their messages still name it.
const QString kForm = Guard::form("frmCorvanel");
} // namespace

LineItemsTab::LineItemsTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
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
    for (QPushButton* b : {cmdAddNewLine, cmdEditLine, cmdDeleteLine, cmdOrder})
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

// The dialogs sit over the main window, as they did when it handled these buttons.
void LineItemsTab::cmdAddNewLine_Click() {
    const std::optional<CurItemRecord> item = Pickers::PickItem(ctx_, window(), false, 0);
    if (item && item->Picked) {
        modGrid::AddLineItem(ctx_, QStringLiteral("add"), 0, *item);
        refreshLines();
        Q_EMIT changed();
    }
}

void LineItemsTab::cmdEditLine_Click() {
    std::int32_t id = 0;
    {
        // The selected line is offered; any other ID can be typed.
        frmEditID dialog(selectedLineID(), window());
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
        Q_EMIT changed();
        return;
    }
    const std::optional<CurItemRecord> item = Pickers::PickItem(ctx_, window(), true, id);
    if (!item)
        return;
    if (item->Picked) {
        modGrid::AddLineItem(ctx_, QStringLiteral("edit"), id, *item);
        refreshLines();
    }
    Q_EMIT changed();
}

void LineItemsTab::cmdDeleteLine_Click() {
    const std::int32_t id = selectedLineID();
    if (id > 0) {
        const auto a =
            ctx_.prompt->ask(QStringLiteral("Are you sure you want to delete this line item?"),
                             QStringLiteral("Confirm delete"), Prompt::Buttons::YesNo,
                             Prompt::Icon::Critical, Prompt::Answer::No);
        if (a != Prompt::Answer::Yes)
            return;
        modGrid::AddLineItem(ctx_, QStringLiteral("delete"), id);
        refreshLines();
    }
    Q_EMIT changed();
}

void LineItemsTab::cmdOrder_Click() {
    if (gridRowCount() > 1)
        Pickers::SortSections(ctx_, window(), [this] { refreshLines(); });
    Q_EMIT changed();
}

void LineItemsTab::detachGrid() {
    GridBinding::detach(grdDataGrid);
}
