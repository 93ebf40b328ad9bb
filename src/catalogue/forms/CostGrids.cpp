#include "catalogue/forms/CostGrids.h"

#include "catalogue/CostItems.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>

namespace CostGrids {

QList<int> Widths(bool material) {
    if (material)
        return {500, 1200, 1900, 1250, 750, 750, 2900, 1000};
    return {500, 1000, 1900, 500, 4400, 1000};
}

void StretchColumn(QTableView* grid, int column) {
    QHeaderView* h = grid->horizontalHeader();
    h->setStretchLastSection(false);
    for (int i = 0; i < h->count(); ++i)
        h->setSectionResizeMode(i, i == column ? QHeaderView::Stretch : QHeaderView::Interactive);
}

void ShowItems(QTableView* grid, AppContext& ctx, const QString& costType,
               const QString& category) {
    const bool material = costType == QLatin1String("Material");
    CostItems::ShowList(ctx, GridBinding::model(grid, ctx), costType, category);
    GridBinding::setWidths(grid, Widths(material));
    StretchColumn(grid, material ? 6 : 4);
}

void ShowUnits(QTableView* grid, AppContext& ctx) {
    CostItems::ShowUnitList(ctx, GridBinding::model(grid, ctx));
    GridBinding::setWidths(grid, Widths(false));
    StretchColumn(grid, 4);
}

void FillCategories(QComboBox* box, const QStringList& categories) {
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(categories);
    if (categories.isEmpty() || categories.first() != QLatin1String("All"))
        box->insertItem(0, QStringLiteral("All"));
    box->setCurrentIndex(0);
}

std::int32_t CurrentID(QTableView* grid) {
    const int row = GridBinding::currentRow(grid);
    if (row < 0)
        return 0;
    return std::int32_t(GridBinding::cell(grid, row, 0).toLongLong());
}

} // namespace CostGrids
