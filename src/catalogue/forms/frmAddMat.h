#pragma once

#include "catalogue/forms/CostEdit.h"

#include <QDialog>
#include <optional>

struct AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;
class RuleBox;

// Adds one cost item or edits a stored one.
class frmAddMat : public QDialog {
    Q_OBJECT
public:
    // `currentType` is the cost type preselected for a new item (the browser's current tab).
    frmAddMat(AppContext& ctx, const CostEdit& edit, const QString& currentType,
              QWidget* parent = nullptr);

    // The ID of the item Save stored; nothing when the form was cancelled or closed.
    std::optional<std::int32_t> saved() const { return saved_; }

    QComboBox* cmbType;
    QComboBox* cmbCat;
    QComboBox* cmbManuf;
    QComboBox* cmbUnit;
    QLineEdit* txtFields[5];
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    // The item's take-off rule.
    RuleBox* frRule;

    void cmdSave_Click();
    void cmdCancel_Click();

private:
    void Form_Load(const QString& currentType);
    void PopComboManufacturer();

    AppContext& ctx_;
    const CostEdit edit_;
    std::optional<std::int32_t> saved_;
    // The item as Save stored it, when a later step of that Save failed: Save again updates it.
    std::int32_t stored_ = 0;
};
