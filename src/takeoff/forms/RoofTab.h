#pragma once

#include <QWidget>
#include <array>

class QRadioButton;
class QGroupBox;
class QTableView;
class QPushButton;
class QLineEdit;
class QComboBox;
struct AppContext;

// Tab 1 of the main window: the roof take-off, as individual areas or one total area, the
// lineal items, and the three roof totals.
class RoofTab : public QWidget {
    Q_OBJECT
public:
    explicit RoofTab(AppContext& ctx, QWidget* parent = nullptr);

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

    // Fills the pitch list: an empty entry, then 1 to 18; the empty entry is selected.
    void PopPitchCombo();
    // Roof Area from the working areas (kept when there are none), then RoofTotal.
    void TotalArea();
    // Roof Other from the working lineal items (kept when there are none), then RoofTotal.
    void TotalOther();
    // Roof Total = Roof Area + Roof Other, kept when both are 0.
    void RoofTotal();
    // Shows the Total Area view with a stored quick figure, asking nothing.
    void restoreTotalArea(int pitch, int width1, int height, int total);

    // Rebind the two grids to the working tables; the counts follow what they show.
    void PopAreaGrid();
    void PopLinealGrid();
    int AreaCount = 0;
    int LinealCount = 0;

    // Which of the two views is on screen (the other frame is hidden).
    void showTotalView(bool total);

    // Empties both grids and releases their queries.
    void detachGrids();
    // Back to the state of a freshly loaded window: individual areas, no pitch, zero totals.
    void reset();

Q_SIGNALS:
    // The user changed the estimate's take-off (the main window marks the estimate changed).
    void changed();

protected:
    AppContext& ctx_;
};
