#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;
struct AppContext;

// "Owner Detail": corrects the owner's name, address and phones of a stored estimate. The
// estimate's name cannot change here (it names its folder and file).
class frmOwnerDetail : public QDialog {
    Q_OBJECT
public:
    frmOwnerDetail(AppContext& ctx, std::int32_t estID, QWidget* parent = nullptr);

    QLineEdit* txtEstName;
    std::array<QLineEdit*, 7> txtName{};
    QPushButton* cmdUpdate;
    QPushButton* cmdCancel;

    void cmdUpdate_Click();

private:
    AppContext& ctx_;
    std::int32_t estID_;
};
