#include "app/DesktopKeys.h"

#include "app/frmCorvanel.h"
#include "documents/forms/OutputTab.h"

#include <QAction>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

namespace DesktopKeys {

// The keys are spelled out rather than taken from the platform's standard keys, which some
// desktops leave empty (Quit) or bind elsewhere (Close as Ctrl+F4).
void install(frmCorvanel& w) {
    w.mnuEstClose->setShortcuts({QKeySequence(Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_W)});

    w.mnuEst->addSeparator();
    QAction* quit = w.mnuEst->addAction(QStringLiteral("Quit"));
    quit->setObjectName(QStringLiteral("mnuEstQuit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    w.addAction(quit);
    // Closing the window asks what its close box asks.
    QObject::connect(quit, &QAction::triggered, &w, &QWidget::close);

    // Printing and searching act on the document of the Output tab, and only while it is in
    // view: anywhere else they would print or search something the user does not see.
    auto* print = new QAction(QStringLiteral("Print document"), &w);
    print->setObjectName(QStringLiteral("actPrintDocument"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    auto* find = new QAction(QStringLiteral("Find in document"), &w);
    find->setObjectName(QStringLiteral("actFindDocument"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    w.addAction(print);
    w.addAction(find);
    OutputTab* out = w.output;
    QObject::connect(print, &QAction::triggered, out, [out] {
        if (QAction* a = out->button(QStringLiteral("Print")); a && a->isEnabled())
            a->trigger();
    });
    QObject::connect(find, &QAction::triggered, out, [out] {
        if (QAction* a = out->button(QStringLiteral("Find")); a && a->isEnabled())
            a->trigger();
    });
    for (const char* key : {"Print", "Find"}) {
        if (QAction* a = out->button(QString::fromLatin1(key)))
            a->setToolTip(a->toolTip() + QStringLiteral(" (") +
                          (qstrcmp(key, "Print") == 0 ? print : find)
                              ->shortcut()
                              .toString(QKeySequence::NativeText) +
                          QLatin1Char(')'));
    }

    auto* stack = qobject_cast<QStackedWidget*>(w.centralWidget());
    frmCorvanel* window = &w;
    auto follow = [window, print, find] {
        const bool inView = window->tabsVisible() &&
                            window->SSTab1->currentWidget() == window->output &&
                            window->SSTab1->isTabEnabled(window->SSTab1->indexOf(window->output));
        print->setEnabled(inView);
        find->setEnabled(inView);
    };
    QObject::connect(w.SSTab1, &QTabWidget::currentChanged, print, follow);
    if (stack)
        QObject::connect(stack, &QStackedWidget::currentChanged, print, follow);
    follow();
}

} // namespace DesktopKeys
