#pragma once

#include <QFrame>

class QAction;
class QLabel;
class QPushButton;
class SettingsStore;

// The start page's notice while the company is still the sample one: every proposal would go
// out under "ABC Construction" until the user enters the company in Setup.
class CompanyNotice : public QFrame {
    Q_OBJECT
public:
    // `setup` is the menu entry that opens Setup; the notice's button triggers it.
    CompanyNotice(QAction* setup, QWidget* parent = nullptr);

    // Shown while the company in `settings` is the sample one, hidden once it is the user's.
    void refresh(const SettingsStore& settings);

    QLabel* lblCompanyNotice;
    QPushButton* cmdCompanySetup;

protected:
    void changeEvent(QEvent* e) override;

private:
    void tint();
    bool tinting_ = false;
};
