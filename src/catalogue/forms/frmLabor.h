#pragma once

#include "catalogue/forms/CostEdit.h"

#include <QDialog>
#include <array>
#include <optional>

struct AppContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Builds the hourly cost of one job title from a base rate and four burdens. Adding starts with
// the job title; editing loads the stored labor item.
class frmLabor : public QDialog {
    Q_OBJECT
public:
    frmLabor(AppContext& ctx, const CostEdit& edit, QWidget* parent = nullptr);

    // The ID of the labor item whose rates Save stored; nothing when the form was closed
    // without (a job title made by Okay stays in the catalogue all the same).
    std::optional<std::int32_t> saved() const { return saved_; }

    // True when the user chose to enter a non-employee labor item instead.
    bool switchNonEmployee() const { return switch_; }

    QGroupBox* fraJobTitle;
    QLineEdit* txtJobTitle;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;
    QPushButton* cmdNonEmployee;
    QLabel* lblJobTitle;
    QLineEdit* txtLabor[7];
    QLabel* lblPerct[4];
    QPushButton* cmdSave;
    QPushButton* cmdClose;

    void ComputeDefault();
    void ComputeTotal();
    void PopCostItem();

    void cmdOkay_Click();
    void cmdSave_Click();
    void cmdNonEmployee_Click();
    void lblPerct_Click(int index);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void Form_Load();
    void enableRates(bool on);

    AppContext& ctx_;
    const CostEdit edit_;
    // The labor item whose rates are shown: the one edited, or the job title made by Okay.
    std::int32_t itemID_ = 0;
    std::optional<std::int32_t> saved_;
    std::array<float, 4> percents_{};
    bool switch_ = false;
};
