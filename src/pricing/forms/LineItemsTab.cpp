#include "pricing/forms/LineItemsTab.h"

#include "common/AppContext.h"
#include "common/forms/GridBinding.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
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
