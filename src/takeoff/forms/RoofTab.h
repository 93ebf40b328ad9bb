#pragma once

#include "takeoff/Takeoff.h"

#include <QWidget>
#include <array>
#include <functional>

class QRadioButton;
class QGroupBox;
class QTableView;
class QPushButton;
class QLineEdit;
class QComboBox;
class QLabel;
class QUndoStack;
struct AppContext;

// Tab 1 of the main window: the roof take-off, as individual areas or one total area, the
// lineal items, and the three roof totals. It owns the handlers of its controls.
class RoofTab : public QWidget {
    Q_OBJECT
public:
    explicit RoofTab(AppContext& ctx, QWidget* parent = nullptr);

    // The undo stack of the estimate in work: every change of the take-off goes there as one
    // step (the tab keeps a stack of its own until it is given one).
    void setUndoStack(QUndoStack* stack) { undo_ = stack; }
    QUndoStack* undoStack() const { return undo_; }

    std::array<QRadioButton*, 2> optStyle{};
    QGroupBox* frInd;
    QTableView* dgAreas;
    QPushButton* cmdAddArea;
    QPushButton* cmdEditArea;
    QPushButton* cmdDeleteArea;
    QGroupBox* frTotal;
    std::array<QLineEdit*, 2> txtArea{};
    QComboBox* cmbPitch;
    QPushButton* cmdPitchFig;
    QTableView* dgLineal;
    QPushButton* cmdAddLineal;
    QPushButton* cmdEditLineal;
    QPushButton* cmdDeleteLineal;
    std::array<QLineEdit*, 3> txtRoof{};
    // Roof Area in squares, the estimate's waste percentage and the squares to order.
    QLabel* lblSquares;
    QLineEdit* txtWaste;
    QLabel* lblSquaresOrder;

    // Fills the pitch list: an empty entry, then 1 to 18; the empty entry is selected.
    void PopPitchCombo();
    // Roof Area from the working areas (0 with none), then RoofTotal.
    void TotalArea();
    // Roof Other from the working lineal items (0 with none), then RoofTotal.
    void TotalOther();
    // Roof Total = Roof Area + Roof Other.
    void RoofTotal();
    // The three roof totals as the boxes show them.
    const Takeoff::RoofTotals& roofTotals() const { return totals_; }

    // Rebind the two grids to the working tables; the counts follow what they show.
    void PopAreaGrid();
    void PopLinealGrid();
    int AreaCount = 0;
    int LinealCount = 0;

    // Shows the take-off of an opened estimate, in the view it was measured in. Errors are
    // reported with the standard message.
    void PopRoofArea();
    // The working database was recreated: both grids show their empty tables.
    void popGrids();

    // Which of the two views is on screen (the other frame is hidden).
    void showTotalView(bool total);

    // Empties both grids and releases their queries.
    void detachGrids();
    // Back to the state of a freshly loaded window: individual areas, no pitch, zero totals.
    void reset();

    // The handlers of the tab's controls.
    void cmbPitch_Click();
    void cmdPitchFig_Click();
    void optStyle_Click(int index);
    void cmdAddArea_Click();
    void cmdEditArea_Click();
    void cmdDeleteArea_Click();
    void cmdAddLineal_Click();
    void cmdEditLineal_Click();
    void cmdDeleteLineal_Click();
    // A new waste percentage, checked (0 to 100), becomes one undo step.
    void txtWaste_Change();
    // A double click on a row edits it.
    void dgAreas_DblClick(int row);
    void dgLineal_DblClick(int row);

private:
    void showTotals(const Takeoff::RoofTotals& t);
    // Shows the Total Area view with a stored quick figure, asking nothing.
    void restoreTotalArea(const Takeoff::QuickFigure& f);
    void refreshAreas();
    void refreshLineals();
    // Everything the take-off shows, after a step was made or taken back: the grids, the quick
    // figure's boxes and the totals.
    void refreshTakeoff();
    // Makes `change` of the take-off one step of the undo stack, named `text`.
    void change(const QString& text, const char* procedure, std::function<void()> make);
    void editArea(qint64 id);
    void editLineal(qint64 id);

    AppContext& ctx_;
    QUndoStack* undo_;
    bool figuring_ = false;
    Takeoff::RoofTotals totals_;
};
