#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QLabel;
class QPushButton;
class QTreeWidget;
struct AppContext;

// What the main window shows while idle: the four ways into the program, each the same as its
// menu entry (New, Open, Figure, Manage), the estimates opened or saved last, and how many
// pending estimates expire soon.
class StartPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int RecentCount = 8;
    static constexpr int ExpiringDays = 7;

    // The actions are triggered by the page's buttons, in the order New, Open, Figure, Manage.
    StartPage(AppContext& ctx, const std::array<QAction*, 4>& actions, QWidget* parent = nullptr);

    // The buttons follow whether the program is idle, as their menu entries do; going idle
    // reads the recent estimates again.
    void setIdle(bool idle);
    // Reads the recent estimates and the expiring count again.
    void refresh();

    // A notice shown above everything else on the page (the page takes it over).
    void addNotice(QWidget* notice);

    // cmdStartNew, cmdStartOpen, cmdStartFigure and cmdStartManage.
    std::array<QPushButton*, 4> buttons{};
    // lstRecent: name, owner, status and total of the last estimates; one click opens one.
    QTreeWidget* lstRecent;
    QLabel* lblRecent;
    QLabel* lblExpiring;

Q_SIGNALS:
    // The user chose a recent estimate.
    void openRequested(std::int32_t id);

private:
    AppContext& ctx_;
};
