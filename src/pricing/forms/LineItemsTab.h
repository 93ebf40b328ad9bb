#pragma once

#include "pricing/Totals.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QTableView;
class QPushButton;
class QGroupBox;
class QLabel;
struct AppContext;

// Tab 2 of the main window: the estimate grid with its section subtotals and the type totals. It
// owns the handlers of its buttons.
class LineItemsTab : public QWidget {
    Q_OBJECT
public:
    explicit LineItemsTab(AppContext& ctx, QWidget* parent = nullptr);

    QTableView* grdDataGrid;
    QPushButton* cmdAddNewLine;
    QPushButton* cmdEditLine;
    QPushButton* cmdDeleteLine;
    QPushButton* cmdOrder;
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

    // The handlers of the tab's buttons.
    void cmdAddNewLine_Click();
    void cmdEditLine_Click();
    void cmdDeleteLine_Click();
    void cmdOrder_Click();

Q_SIGNALS:
    // The user worked on the estimate's lines: the estimate has changed, whatever the mode.
    void changed();
    // The working lines changed: the totals are figured again (before the grid is shown anew).
    void linesChanged();

private:
    // After any change of the lines: totals, then the grid's display.
    void refreshLines();

    AppContext& ctx_;
};
