#pragma once

#include <QDialog>

struct AppContext;
class QLabel;
class QLineEdit;
class QPushButton;

// Figures one burden as a percentage of the base rate.
class frmPerc : public QDialog {
    Q_OBJECT
public:
    frmPerc(AppContext& ctx, const QString& caption, const QString& base, float percent,
            QWidget* parent = nullptr);

    struct Result {
        bool Cancelled = true; // also when closed by the close box
        QString Burden;        // the figured amount as plain text
    };
    Result result() const { return result_; }

    QLabel* Label1;
    QLabel* lblBase;
    QLineEdit* txtPercentage;
    QPushButton* cmdCompute;
    QLabel* lblTotal;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;

    bool cmdCompute_Click();
    void cmdOkay_Click();

private:
    AppContext& ctx_;
    Result result_;
};
