#pragma once

#include "pricing/Totals.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QTableView;
class QPushButton;
class QGroupBox;
class QLabel;
class QUndoStack;
class WorkCommand;
struct AppContext;

// Tab 2 of the main window: the estimate grid with its section subtotals and the type totals. It
// owns the handlers of its buttons.
class LineItemsTab : public QWidget {
    Q_OBJECT
public:
    explicit LineItemsTab(AppContext& ctx, QWidget* parent = nullptr);

    // The undo stack of the estimate in work: every change of the lines goes there as one step
    // (the tab keeps a stack of its own until it is given one).
    void setUndoStack(QUndoStack* stack) { undo_ = stack; }
    QUndoStack* undoStack() const { return undo_; }

    QTableView* grdDataGrid;
    QPushButton* cmdAddNewLine;
    QPushButton* cmdEditLine;
    QPushButton* cmdDeleteLine;
    QPushButton* cmdOrder;
    QPushButton* cmdRefreshQty;
    QGroupBox* frSubTotals;
    std::array<QLabel*, 7> lblSubTotals{};

    // Shows EstiGrid in the grid with its captions, widths and currency columns.
    void PopEstiGrid();
    // Empties the grid and releases its query.
    void detachGrid();
    // The number of rows the grid shows.
    int gridRowCount();
    // The ID of the line in the selected row; 0 for no selection or a heading or total row.
    std::int32_t selectedLineID();

    // The type totals and their sum as figured; ".00" each once the estimate is closed.
    void showTypeTotals(const Totals::EstimateTotals& totals);
    void clearTypeTotals();

    // The handlers of the tab's buttons. Edit Line opens the picker on the selected line at
    // once, and asks for an ID only when no line is selected.
    void cmdAddNewLine_Click();
    // Lines whose quantity still follows their item's take-off rule take what the roof asks
    // for now, as one undo step, and the user is told what changed.
    void cmdRefreshQty_Click();
    void cmdEditLine_Click();
    void cmdDeleteLine_Click();
    void cmdOrder_Click();
    // A double click on a row edits its line (a heading or total row has none).
    void grdDataGrid_DblClick(int row);

Q_SIGNALS:
    // The working lines changed: the totals are figured again (before the grid is shown anew).
    void linesChanged();

private:
    // After any change of the lines: totals, then the grid's display.
    void refreshLines();
    // Opens the picker on line `id` and makes its change one step.
    void editLine(std::int32_t id);
    // Makes the change of `command` and keeps it as one step.
    void push(WorkCommand* command);

    AppContext& ctx_;
    QUndoStack* undo_;
    // The totals as last figured: a picked line must leave them within what can be figured.
    Totals::EstimateTotals totals_;
};
