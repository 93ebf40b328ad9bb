#pragma once

#include "common/forms/GridBinding.h"

#include <QString>
#include <QStringList>

struct AppContext;
class QTableView;
class QComboBox;

// The cost item grids shared by the catalogue browser, the component chooser and the picker.
namespace CostGrids {

// Column widths in twips: material rows show manufacturer and SKU (eight columns), the other
// types six.
QList<int> Widths(bool material);
// Shows the cost items of one type, narrowed to `category` unless it is empty or "All".
void ShowItems(QTableView* grid, AppContext& ctx, const QString& costType,
               const QString& category = QString());
// Shows the unit items with their price; one without components is not listed.
void ShowUnits(QTableView* grid, AppContext& ctx);
// Gives the spare width of a grid to one column (the description) instead of the last.
void StretchColumn(QTableView* grid, int column);
// Fills a category filter with "All" and `categories`, selecting "All" without signalling.
void FillCategories(QComboBox* box, const QStringList& categories);
// The ID in column 0 of the selected row, or 0 when there is none.
std::int32_t CurrentID(QTableView* grid);

} // namespace CostGrids
