#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TotalsTab;
struct AppContext;

// "Admin Amounts - <frame>": one administrative amount as a percentage or a fixed sum.
class frmAdminEdit : public QDialog {
    Q_OBJECT
public:
    frmAdminEdit(AppContext& ctx, TotalsTab& totals, int index, QWidget* parent = nullptr);

    QLineEdit* Text1;
    QRadioButton* Option1; // "%"
    QRadioButton* Option2; // "$"
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();

private:
    AppContext& ctx_;
    TotalsTab& totals_;
    int index_;
};
