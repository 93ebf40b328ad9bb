#pragma once

#include <QDialog>
#include <functional>

struct AppContext;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Company details, what of them is printed, and the defaults offered for new estimates and
// labor rates.
class frmSetup : public QDialog {
    Q_OBJECT
public:
    explicit frmSetup(AppContext& ctx, QWidget* parent = nullptr);

    struct Result {
        bool Cancelled = true; // true unless "Save Changes" stored the defaults
        bool Restored = false; // a backup replaced the data: what is shown must be read again
    };
    Result result() const { return result_; }

    QTabWidget* SSTab1;
    QLineEdit* txtCoInfo[10];
    QCheckBox* ckbCoName;
    QCheckBox* ckbCoAddress;
    QCheckBox* ckbCoCity;
    QCheckBox* ckbCoPh;
    QCheckBox* ckbCoFax;
    QCheckBox* ckbCoCell;
    QCheckBox* ckbCoEmail;
    QCheckBox* ckbCoWeb;
    QCheckBox* ckbLetterHead;
    // The company logo: its picture, and the buttons that choose or remove it while editing.
    QLabel* imgLogo;
    QPushButton* cmdLogo;
    QPushButton* cmdLogoRemove;
    QPushButton* cmdCoEdit;
    QPushButton* cmdCoSave;
    QPushButton* cmdCoCancel;

    QCheckBox* chkShowGreet;
    QGroupBox* frAdmin[4];
    QRadioButton* optFixed[4];
    QRadioButton* optPerc[4];
    QLineEdit* txtAdmin[4];
    QLineEdit* txtEmp[4];
    // The waste percentage a new estimate starts with ("Op"/"Waste").
    QLineEdit* txtWasteDefault;
    QPushButton* cmdSaveValues;
    // Backups of all the data, below the tabs.
    QPushButton* cmdBackupNow;
    QPushButton* cmdRestoreBackup;

    void lockCoFields(bool Lock);
    bool coFieldsLocked() const { return locked_; }

    // Asks for the logo's picture file; empty when cancelled. Tests replace it.
    std::function<QString()> logoFileName;
    // Asks where to save a backup (given the proposed path) and which backup to restore; empty
    // when cancelled. Tests replace them.
    std::function<QString(const QString& proposed)> backupFileName;
    std::function<QString()> chooseBackup;

    void cmdLogo_Click();
    void cmdLogoRemove_Click();
    void cmdCoEdit_Click();
    void cmdCoCancel_Click();
    bool cmdCoSave_Click();
    bool cmdSaveValues_Click();
    void cmdBackupNow_Click();
    void cmdRestoreBackup_Click();

private:
    QWidget* buildCompanyTab();
    QWidget* buildDefaultsTab();
    QList<QCheckBox*> includeBoxes() const;
    void PopCompany();
    void PopDefaults();
    void reportUnsaved();
    // Shows the logo stored, or the one chosen and not yet saved.
    void showLogo();
    // A logo chosen (a picture file) or removed since Edit; stored by Save.
    QString pendingLogo_;
    bool removeLogo_ = false;

    AppContext& ctx_;
    Result result_;
    bool locked_ = true;
};
