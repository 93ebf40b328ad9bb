#include "app/WindowTitle.h"

#include <QWidget>

namespace WindowTitle {

namespace {
const QString App = QStringLiteral("Corvanel");
const QString Dash = QStringLiteral(" \u2013 ");
} // namespace

QString text(const State& s) {
    switch (s.mode) {
    case Mode::Idle:
        return App;
    case Mode::Figure:
        return App + Dash + QStringLiteral("Figure a roof");
    case Mode::Report:
        return App + Dash + QStringLiteral("Manage Details/Proposal");
    case Mode::New:
    case Mode::Open:
        break;
    }
    const QString name = s.estName.isEmpty() ? QStringLiteral("New estimate") : s.estName;
    // The documents are made from a save that briefly calls the estimate "Saving"; to the
    // user it is still a working estimate.
    const QString status = s.status == QLatin1String("Saving") || s.status.isEmpty()
                               ? QStringLiteral("Working")
                               : s.status;
    return App + Dash + name + QStringLiteral(" (") + status + QStringLiteral(")[*]");
}

bool modified(const State& s) {
    return (s.mode == Mode::New || s.mode == Mode::Open) && s.changed;
}

void apply(QWidget* window, const State& s) {
    window->setWindowTitle(text(s));
    window->setWindowModified(modified(s));
}

} // namespace WindowTitle
