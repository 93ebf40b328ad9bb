#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's title, version and a look at the machine it runs on.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    static QString versionText();
    static QString systemInfoText();
    void cmdSysInfo_Click();
};
