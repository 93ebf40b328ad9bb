#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QListWidget;
class QTabWidget;
class QLabel;
class QPushButton;
struct AppContext;

// "Open Existing": every estimate of the master list by status. A double-click (or Enter) on
// an estimate chooses it; anything else that closes the window is Cancel.
class frmOpenEst : public QDialog {
    Q_OBJECT
public:
    explicit frmOpenEst(AppContext& ctx, QWidget* parent = nullptr);

    QTabWidget* SSTab1;
    std::array<QListWidget*, 4> lstEstList{};
    std::array<QLabel*, 4> Label{}; // the headings over the four lists
    QPushButton* cmdCancel;

    // The master id of the chosen estimate; 0 when the window was cancelled.
    std::int32_t chosenID() const { return chosen_; }

    void lstEstList_DblClick(int index);
    void cmdCancel_Click();

private:
    void PopEstList(int index);

    AppContext& ctx_;
    std::int32_t chosen_ = 0;
};
