#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

struct AppContext;
class CatalogueGrids;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

// The catalogue browser: cost items by type, unit items, their categories, a search over name,
// description, manufacturer and SKU, add, edit, delete, and the price list in and out.
class frmUnitItem : public QDialog {
    Q_OBJECT
public:
    explicit frmUnitItem(AppContext& ctx, QWidget* parent = nullptr);
    ~frmUnitItem() override;

    static constexpr int UnitTab = 5;

    QTabWidget* SSTab1;
    QTableView* dgCost[6];
    QLineEdit* txtSearch;
    QGroupBox* frControls;
    QComboBox* cmbCategory;
    QPushButton* cmdItem;
    QPushButton* cmdEdit;
    QPushButton* cmdDeleteItem;
    QPushButton* cmdImport; // "Import price list…"
    QPushButton* cmdExport; // "Export price list…"
    QPushButton* cmdClose;

    // Ask for the file to import and the file to export to (tests answer them); empty: cancel.
    std::function<QString()> openFileName;
    std::function<QString()> saveFileName;

    void RefreshGrid();
    void PopGrid(int index);
    void PopCat();
    void FilterGrid();
    // Opens the plain cost item form for a labor item that is not hourly; returns what it saved.
    std::optional<std::int32_t> SwitchLaborForm();

    void cmdItem_Click();
    void cmdEdit_Click();
    void cmdDeleteItem_Click();
    void cmdImport_Click();
    void cmdExport_Click();

    // Shows the saved item `id` of tab `tab` (a cost item's own tab when `tab` is not the unit
    // items') selected, clearing the category and the search when they hide it.
    void showSaved(int tab, std::int32_t id);

private:
    QString currentType() const;
    void afterForm(int tab, std::optional<std::int32_t> saved);

    AppContext& ctx_;
    std::unique_ptr<CatalogueGrids> grids_;
};
