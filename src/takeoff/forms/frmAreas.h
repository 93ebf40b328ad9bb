#pragma once

#include "takeoff/Takeoff.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppContext;

// "Areas": one roof plane as a rectangle, triangle or trapezoid.
class frmAreas : public QDialog {
    Q_OBJECT
public:
    // editID 0 adds a new plane; otherwise the working row to edit.
    frmAreas(AppContext& ctx, std::int32_t editID, QWidget* parent = nullptr);

    using Result = Takeoff::Area;
    const Result& result() const { return result_; }

    QComboBox* cmbShape;
    std::array<QLineEdit*, 4> txtAreas{};
    QLabel* lblTrap;
    QLabel* lblTrapBottom;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;

    void cmbShape_Click();
    void cmdOkay_Click();

private:
    // A whole-number measurement from box i, or nothing (with the message, focus in the box).
    std::optional<std::int32_t> measurement(int i);

    AppContext& ctx_;
    Result result_;
};
