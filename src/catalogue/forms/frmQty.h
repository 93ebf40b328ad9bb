#pragma once

#include <QDialog>

struct AppContext;
class QLineEdit;
class QPushButton;

// Asks for a component's new quantity.
class frmQty : public QDialog {
    Q_OBJECT
public:
    frmQty(AppContext& ctx, const QString& qty, QWidget* parent = nullptr);

    struct Result {
        bool ComponentQtyCancel = true; // also when closed by the close box
        float ComponentQty = 0;
    };
    Result result() const { return result_; }

    QLineEdit* txtQty;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    void cmdSave_Click();

private:
    AppContext& ctx_;
    Result result_;
};
