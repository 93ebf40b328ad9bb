#pragma once

#include <QDialog>
#include <array>

struct AppContext;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Builds the hourly cost of one job title from a base rate and four burdens. Adding
// (ctx.CostMode "add") starts with the job title; editing loads item ctx.CostItemID.
class frmLabor : public QDialog {
    Q_OBJECT
public:
    explicit frmLabor(AppContext& ctx, QWidget* parent = nullptr);

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
    std::array<float, 4> percents_{};
    bool switch_ = false;
};
