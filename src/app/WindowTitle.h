#pragma once

#include "common/WorkMode.h"

#include <QString>

class QWidget;

// The main window's title tells what is open: "Corvanel" while idle, "Corvanel – <estimate
// name> (<status>)" while an estimate is open, "Corvanel – Figure a roof" in figure mode. The
// title carries Qt's "[*]" placeholder, so the platform's unsaved-changes mark shows through
// QWidget::setWindowModified.
namespace WindowTitle {

struct State {
    Mode mode = Mode::Idle;
    QString estName; // empty for a new estimate that has not been started
    QString status;  // "Working", "Pending", … ("Saving" while documents are made)
    bool changed = false;
};

// The title text, with the "[*]" placeholder where the window has something to save.
QString text(const State& s);
// Whether the window shows the unsaved-changes mark.
bool modified(const State& s);
// Sets both on a window.
void apply(QWidget* window, const State& s);

} // namespace WindowTitle
