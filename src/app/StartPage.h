#pragma once

#include <QWidget>
#include <array>

class QAction;
class QPushButton;

// What the main window shows while idle: the four ways into the program, each the same as its
// menu entry (New, Open, Figure, Manage).
class StartPage : public QWidget {
    Q_OBJECT
public:
    // The actions are triggered by the page's buttons, in the order New, Open, Figure, Manage.
    StartPage(const std::array<QAction*, 4>& actions, QWidget* parent = nullptr);

    // The buttons follow whether the program is idle, as their menu entries do.
    void setIdle(bool idle);

    // A notice shown above everything else on the page (the page takes it over).
    void addNotice(QWidget* notice);

    // cmdStartNew, cmdStartOpen, cmdStartFigure and cmdStartManage.
    std::array<QPushButton*, 4> buttons{};
};
