#pragma once

#include <QString>

class QAbstractItemView;
class QLineEdit;

// The search box over a list or a table: the list follows as the user types. Down moves to the
// list; Return opens the list's current row (or moves to its first row when none is current)
// and never presses a dialog's default button.
namespace SearchBox {

// A search box named `name` with a hint of what it searches and a clear button.
QLineEdit* make(const char* name, const QString& hint);
// Ties the keys of `box` to `view` (again: to another view, as a window changes its tab).
void attach(QLineEdit* box, QAbstractItemView* view);

} // namespace SearchBox
