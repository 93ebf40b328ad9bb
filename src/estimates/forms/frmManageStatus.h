#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
struct AppContext;

// "Manage Estimate/Status": lists the estimates by status (every estimate at first), narrowed
// by a search as it is typed; a double-click opens one for its status, date, validity and type,
// for deleting it with its folder, or for its owner.
class frmManageStatus : public QDialog {
    Q_OBJECT
public:
    explicit frmManageStatus(AppContext& ctx, QWidget* parent = nullptr);
    ~frmManageStatus() override;

    QGroupBox* frEstList;
    QComboBox* cmbFilter;
    QLineEdit* txtSearch; // narrows the list to estimates whose name, owner or address match
    QListWidget* List1;
    QGroupBox* Frame2;
    std::array<QRadioButton*, 4> optEstStatus{};
    QLabel* Label5; // name
    QLabel* Label6; // address
    QLabel* Label8; // id
    QLineEdit* txtDate;
    QComboBox* Combo1;
    QLineEdit* txtLength;
    QPushButton* cmdUpdateStatus;
    QPushButton* cmdCancelUpdate;
    QPushButton* cmdDeleteStatus;
    QPushButton* cmdEditOwner;
    QPushButton* cmdClose;

    bool editing() const;

    void PopFilter();
    void PopList(const QString& filter);
    void List1_DblClick();
    void PopForm(std::int32_t id);
    // Opens the estimate `id` for its status, date, validity and type at once (as a
    // double-click on it in the list does).
    void editEstimate(std::int32_t id);
    QString EstStatusIs() const;
    void ResetEditPanel();
    void cmdUpdateStatus_Click();
    void cmdCancelUpdate_Click();
    void cmdDeleteStatus_Click();
    void cmdEditOwner_Click();
    // False (with the message, the box emptied) when the type is longer than 25 characters.
    bool Combo1_Validate();

private:
    void showEditPanel(bool edit);

    AppContext& ctx_;
    QStackedWidget* panels_;
};
