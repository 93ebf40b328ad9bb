#pragma once

#include "takeoff/Takeoff.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
struct AppContext;

// "Lineal Items": a named run (cap, starter, a percentage of the roof area, or miscellaneous).
class frmLineal : public QDialog {
    Q_OBJECT
public:
    // editID 0 adds a new item; `roofArea` is what the Roof Area box shows now.
    frmLineal(AppContext& ctx, std::int32_t editID, double roofArea, QWidget* parent = nullptr);

    using Result = Takeoff::Lineal;
    const Result& result() const { return result_; }

    std::array<QLineEdit*, 3> txtLineal{};
    QComboBox* cmbLineal;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;

    void cmdOkay_Click();
    // The item's total, or nothing when the type is missing (with its message).
    std::optional<std::int32_t> GetTotal();

private:
    AppContext& ctx_;
    double roofArea_;
    Result result_;
};
