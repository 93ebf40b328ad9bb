#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTableView;
class QLabel;
class QPushButton;
class EstimateTable;
struct AppContext;

// "Open Existing": every estimate of the master list by status, and every estimate in one table
// with its owner, address and total, sorted by any column and narrowed by a search as it is
// typed. A double-click (or Enter) on an estimate chooses it; anything else that closes the
// window is Cancel.
class frmOpenEst : public QDialog {
    Q_OBJECT
public:
    explicit frmOpenEst(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* txtSearch; // searches name, owner and address, showing the table
    QTabWidget* SSTab1;   // Working/Pending, Accepted/Rejected, All Estimates
    std::array<QListWidget*, 4> lstEstList{};
    QTableView* tblEstimates;
    EstimateTable* estimates;
    std::array<QLabel*, 4> Label{}; // the headings over the four lists
    QPushButton* cmdCancel;

    // The master id of the chosen estimate; 0 when the window was cancelled.
    std::int32_t chosenID() const { return chosen_; }

    static constexpr int TableTab = 2;

    void lstEstList_DblClick(int index);
    void tblEstimates_DblClick();
    void txtSearch_Change();
    void cmdCancel_Click();

private:
    void PopEstList(int index);
    void PopTable();

    AppContext& ctx_;
    std::int32_t chosen_ = 0;
};
