#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <initializer_list>

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

// The buttons of a dialog, right-aligned in one row; the first is the default (Enter).
inline QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* b : buttons)
        row->addWidget(b);
    if (buttons.size() > 0)
        (*buttons.begin())->setDefault(true);
    return row;
}

} // namespace Widgets
