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

protected:
    AppContext& ctx_;
};
