#pragma once

#include "pricing/Totals.h"
#include "pricing/modGrid.h"

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

struct AppContext;
class CatalogueGrids;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

// Chooses a catalogue item, its quantity, price and section for a line (adding), or changes
// the quantity, price and section of line `pickLineID` (editing). Okay hands back the line; a
// line whose total, or whose estimate's totals with the administrative amounts `admin`, would be
// too large to figure is refused.
class frmPickItem : public QDialog {
    Q_OBJECT
public:
    frmPickItem(AppContext& ctx, bool pickEdit, std::int32_t pickLineID, QWidget* parent = nullptr,
                const Totals::AdminAmounts& admin = {});
    ~frmPickItem() override;

    // True unless Okay was pressed (Cancel and the close box both cancel).
    bool PickCancel() const { return pickCancel_; }
    // The line chosen with Okay; nothing when the picker was cancelled.
    std::optional<CurItemRecord> chosen() const;

    static constexpr int UnitTab = 5;

    QTabWidget* SSTab1;
    QTableView* PickGrid[6];
    QLineEdit* txtSearch; // name, description, manufacturer and SKU; every word must match
    QComboBox* cmbCategory;
    QPushButton* cmdAddItem;
    QPushButton* cmdCancel;
    QGroupBox* frSelect;
    QLabel* lblLineID;
    QLabel* lblID;
    QLabel* lblItemTable;
    QLabel* lblItemUnit;
    QLabel* lblItemName;
    QLabel* lblItemTotal;
    QLabel* lblQtyFrom;
    QLineEdit* txtItemQuan;
    QLineEdit* txtItemPrice;
    QComboBox* cmbSection;
    QPushButton* cmdSelect;
    QPushButton* cmdCancelSelect;

    void RefreshGrid();
    void PopGrid(int tab);
    void PopCat();
    void FilterGrid();
    void PopSectionCombo();
    void PopEditForm(std::int32_t lineID);
    void PickGrid_DblClick(int tab);
    void cmbSection_Click(int index);
    void cmdSelect_Click();
    void cmdAddItem_Click();
    void cmdCancelSelect_Click();
    void reject() override; // Cancel and the close box

private:
    void FigureLineTotal();
    // Puts the quantity the item's take-off rule proposes for the roof in work in the box, and
    // says where it came from; leaves the box alone without a rule.
    void proposeQuantity(bool unitItem, std::int32_t id, const QString& unit);
    // Says beside the box what the edited line's rule asks for now; the box keeps the line's
    // own quantity, so Okay changes only what the user changed.
    void showRuleFor(const modGrid::LineToEdit& line);
    void selectSection(const QString& name);
    // The line's total as the boxes give it; nothing when a box holds no number or the total
    // does not fit. An edited line whose quantity and price are those it had keeps its total.
    std::optional<Money> lineTotal(Quantity qty, Money price) const;

    AppContext& ctx_;
    Totals::AdminAmounts admin_;
    // The line being edited as it was loaded.
    std::optional<modGrid::LineToEdit> loaded_;
    std::unique_ptr<CatalogueGrids> grids_;
    CurItemRecord item_;
    bool pickCancel_ = true;
    // The quantity the take-off rule of the item picked proposed, if any.
    std::optional<Quantity> proposed_;
    bool filling_ = false;
};
