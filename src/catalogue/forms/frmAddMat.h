#pragma once

#include <QDialog>

struct AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;

// Adds (ctx.CostMode "add") or edits (ctx.CostMode "edit", item ctx.CostItemID) one cost item.
class frmAddMat : public QDialog {
    Q_OBJECT
public:
    // `currentType` is the cost type preselected for a new item (the browser's current tab).
    frmAddMat(AppContext& ctx, const QString& currentType, QWidget* parent = nullptr);

    bool saved() const { return saved_; }

    QComboBox* cmbType;
    QComboBox* cmbCat;
    QComboBox* cmbManuf;
    QComboBox* cmbUnit;
    QLineEdit* txtFields[5];
    QPushButton* cmdSave;
    QPushButton* cmdCancel;

    void cmdSave_Click();
    void cmdCancel_Click();

private:
    void Form_Load(const QString& currentType);
    void PopComboManufacturer();

    AppContext& ctx_;
    bool saved_ = false;
};
