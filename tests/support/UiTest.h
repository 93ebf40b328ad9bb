#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

// Helpers for tests that drive windows.
namespace UiTest {

// Runs `act` on the next modal window that opens (from inside its event loop), for instance to
// fill a dialog and press its Okay. Polls until the dialog appears or a second has passed.
inline void whenModal(std::function<void(QWidget*)> act, int triesLeft = 100) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
        QWidget* w = QApplication::activeModalWidget();
        if (w) {
            act(w);
        } else if (triesLeft > 0) {
            whenModal(std::move(act), triesLeft - 1);
        }
    });
}

// Closes the next modal dialog by rejecting it (as its close box does).
inline void rejectNextModal() {
    whenModal([](QWidget* w) {
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        else
            w->close();
    });
}

} // namespace UiTest
