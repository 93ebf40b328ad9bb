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
class QRadioButton;
struct AppContext;

// "Areas": one roof plane as a rectangle, triangle or trapezoid, measured in decimal feet or in
// feet and inches, with its pitch, on the plan or on the slope.
class frmAreas : public QDialog {
    Q_OBJECT
public:
    // editID 0 adds a new plane; otherwise the working row to edit.
    frmAreas(AppContext& ctx, std::int32_t editID, QWidget* parent = nullptr);

    using Result = Takeoff::Area;
    const Result& result() const { return result_; }

    QComboBox* cmbShape;
    std::array<QLineEdit*, 4> txtAreas{};
    // What each measurement box reads ("= 30.5 ft"), beside it (index as txtAreas; 0 unused).
    std::array<QLabel*, 4> lblReads{};
    QLabel* lblTrap;
    QLabel* lblTrapBottom;
    QComboBox* cboPitch;
    QRadioButton* optPlan;
    QRadioButton* optSlope;
    // The plane's roof surface as it stands ("721 sq ft").
    QLabel* lblSurface;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;

    void cmbShape_Click();
    void cmdOkay_Click();

private:
    // A measurement from box i in ten-thousandths of a foot, or nothing (with the message,
    // focus in the box).
    std::optional<std::int64_t> measurement(int i);
    // The plane as the boxes hold it now, without messages; nothing while one is unreadable.
    std::optional<Result> current() const;
    // The notes beside the boxes and the surface, after any change.
    void showReading();

    AppContext& ctx_;
    Result result_;
};
