#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
struct AppContext;

// Picks one of the blank forms to print.
class frmPrintForms : public QDialog {
    Q_OBJECT
public:
    struct Result {
        bool Cancel = true; // also when the window's close box was used
        int FormCode = 0;   // 1 lead, 2 roof, 3 estimate detail, 4 estimate summary
    };

    explicit frmPrintForms(AppContext& ctx, QWidget* parent = nullptr);
    Result result() const { return result_; }

    // The kind of blank form for a form code ("lead", "roof", "detail", "main"), empty for 0.
    static QString kindOf(int formCode);

    // Reports -> Print Forms: the user picks a blank form, which is then printed.
    static void mnuReportForms_Click(AppContext& ctx, QWidget* parent);

    QComboBox* cmbForms;
    QPushButton* cmdPrint;
    QPushButton* cmdCancel;

private:
    void cmdPrint_Click();
    AppContext& ctx_;
    Result result_;
};
