#pragma once

#include "takeoff/Takeoff.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppContext;

// "Lineal Items": a named run (cap, starter, a percentage of the roof area, miscellaneous, or one
// of the runs of a roof report: ridge, hip, valley, rake, eave, step and wall flashing, drip
// edge), its length in feet or feet and inches.
class frmLineal : public QDialog {
    Q_OBJECT
public:
    // editID 0 adds a new item; `roofArea` is what the Roof Area box shows now.
    frmLineal(AppContext& ctx, std::int32_t editID, double roofArea, QWidget* parent = nullptr);

    using Result = Takeoff::Lineal;
    const Result& result() const { return result_; }

    std::array<QLineEdit*, 3> txtLineal{};
    QComboBox* cmbLineal;
    // The unit of the length ("lf", or "%" for a percentage of Roof Area) and what it reads.
    QLabel* lblUnit;
    QLabel* lblRead;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;

    void cmdOkay_Click();
    // The item's total, or nothing when the type is missing (with its message).
    std::optional<std::int32_t> GetTotal();

private:
    bool percent() const;
    void showUnit();
    // The length in ten-thousandths (of a foot, or of a percent for "%"); nothing when the box
    // does not read.
    std::optional<std::int64_t> length() const;

    AppContext& ctx_;
    double roofArea_;
    Result result_;
};
