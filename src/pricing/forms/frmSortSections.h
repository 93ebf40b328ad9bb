#pragma once

#include <QDialog>
#include <cstdint>

struct AppContext;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// Moves sections to other positions on a scratch copy until the changes are committed.
class frmSortSections : public QDialog {
    Q_OBJECT
public:
    explicit frmSortSections(AppContext& ctx, QWidget* parent = nullptr);

    bool committed() const { return committed_; }

    QListWidget* List1;
    QGroupBox* frList;
    QLabel* lblItem;
    QComboBox* Combo1;
    QPushButton* cmdOkay;
    QPushButton* cmdClose;
    QPushButton* cmdCommit;
    QPushButton* cmdCancel;

    void List1_Click(int row);
    void cmdOkay_Click();
    void cmdCommit_Click();
    // Cancel and the close box: the scratch copy is dropped and nothing else changes.
    void reject() override;

private:
    void PopList();

    AppContext& ctx_;
    std::int32_t SortSectID = 0;
    int SortSectPos = 0;
    bool committed_ = false;
};
