#pragma once

#include <QDialog>

class QLabel;
class QCheckBox;
class QPushButton;
class SettingsStore;

// The greeting shown at start-up until the user switches it off.
class frmGreet : public QDialog {
    Q_OBJECT
public:
    explicit frmGreet(SettingsStore& settings, QWidget* parent = nullptr);

    QLabel* Label1;
    QCheckBox* chkShowGreet;
    QPushButton* cmdOkay;

    static QString message();
    void cmdOkay_Click();

private:
    SettingsStore& settings_;
};
