#pragma once

#include "catalogue/UnitItems.h"
#include "catalogue/forms/CostEdit.h"

#include <QDialog>
#include <optional>

struct AppContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RuleBox;
class QTabWidget;
class QTableView;

// Adds one unit item or edits a stored one, with its components, which are kept in the scratch
// table tempunit while the form is open.
class frmAddLabMat : public QDialog {
    Q_OBJECT
public:
    // `current` is the browser's row of the unit item being edited.
    frmAddLabMat(AppContext& ctx, const CostEdit& edit, const UnitItems::Header& current,
                 QWidget* parent = nullptr);

    // The ID of the unit item Save stored; nothing when the form was cancelled or closed.
    std::optional<std::int32_t> saved() const { return saved_; }

    QLineEdit* txtItem;
    QComboBox* cmbCategory;
    QComboBox* cmbUnit;
    QLineEdit* txtDesc;
    QTableView* DataGrid1;
    QLabel* Label2;
    QPushButton* cmdAddItem;
    QPushButton* cmdEditItem;
    QPushButton* cmdDeleteItem;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QGroupBox* fraSelectItem;
    QTabWidget* SSTab1;
    QTableView* dgCost[5];
    QComboBox* cmbCat;
    QLineEdit* txtQty;
    QPushButton* cmSelectItem;
    QPushButton* cmdCancelItem;
    // The unit item's take-off rule.
    RuleBox* frRule;

    void RefreshGrid();
    void PopCat();
    void FilterGrid();
    void PopItemGrid();
    void ComputeTotal();

    void cmdAddItem_Click();
    void cmSelectItem_Click();
    void cmdEditItem_Click();
    void cmdDeleteItem_Click();
    void cmdSave_Click();
    void cmdCancel_Click();

private:
    void Form_Load(const UnitItems::Header& current);
    bool editing() const;
    std::int32_t selectedComponent() const;

    AppContext& ctx_;
    const CostEdit edit_;
    std::optional<std::int32_t> saved_;
    // The unit item as Save stored it, when a later step of that Save failed: Save again
    // updates it.
    std::int32_t stored_ = 0;
};
