#pragma once

#include <QList>
#include <QVariant>

struct AppContext;
class QTableView;
class QueryModel;

// How the program's grids show the query models that the subsystems fill.
namespace GridBinding {

// A model of its own (not a QueryModel) hands the stored value of a cell (money as
// ten-thousandths) under this role, as cell() reads it.
inline constexpr int StoredRole = Qt::UserRole + 1;

// The view's query model, made on first use; the owning subsystem fills it.
QueryModel& model(QTableView* view, AppContext& ctx);
// Column widths in twips, in column order; a column is never narrower than its caption.
void setWidths(QTableView* view, const QList<int>& twips);
// Empties the grid and releases its query.
void detach(QTableView* view);
// All rows of the grid (fetching what is not yet fetched).
int rowCount(QTableView* view);
// The selected row, or -1 when no row is selected.
int currentRow(QTableView* view);
// The stored value of a cell (not its display text).
QVariant cell(QTableView* view, int row, int column);
// Sets up a view as the program's grids look: whole-row selection, no editing.
void setupView(QTableView* view);

} // namespace GridBinding
