#pragma once

#include <QString>
#include <QWidget>

// Small helpers for building windows: every widget carries its name, array elements as
// "name(index)", so tests and code find controls by the names the program uses for them.
namespace Widgets {

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}
inline QString indexed(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

} // namespace Widgets
