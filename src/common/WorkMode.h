#pragma once

#include <QString>

// What the main window is doing: idle, or exactly one of the four work modes. Nothing else is
// entered from a mode; every mode returns to idle.
enum class Mode { Idle, New, Open, Figure, Report };

// The mode's name as the program has always spoken of it: "", "new", "open", "figure", "report".
inline QString modeText(Mode m) {
    switch (m) {
    case Mode::New:
        return QStringLiteral("new");
    case Mode::Open:
        return QStringLiteral("open");
    case Mode::Figure:
        return QStringLiteral("figure");
    case Mode::Report:
        return QStringLiteral("report");
    case Mode::Idle:
        break;
    }
    return QString();
}
