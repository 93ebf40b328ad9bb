#pragma once

#include <QDialog>

struct AppContext;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class QTableView;

// The catalogue browser: cost items by type, unit items, their categories, add, edit, delete.
class frmUnitItem : public QDialog {
    Q_OBJECT
public:
    explicit frmUnitItem(AppContext& ctx, QWidget* parent = nullptr);

    static constexpr int UnitTab = 5;

    QTabWidget* SSTab1;
    QTableView* dgCost[6];
    QGroupBox* frControls;
    QComboBox* cmbCategory;
    QPushButton* cmdItem;
    QPushButton* cmdEdit;
    QPushButton* cmdDeleteItem;
    QPushButton* cmdClose;

    void RefreshGrid();
    void PopGrid(int index);
    void PopCat();
    void FilterGrid();
    // Opens the plain cost item form for a labor item that is not hourly.
    void SwitchLaborForm();

    void cmdItem_Click();
    void cmdEdit_Click();
    void cmdDeleteItem_Click();

private:
    QString currentType() const;
    void afterForm();

    AppContext& ctx_;
};
