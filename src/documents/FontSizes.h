#pragma once

#include <QList>
#include <QString>

// The point sizes offered in the size list for a font.
namespace FontSizes {

// Sizes offered when the font is not installed.
QList<int> fallback();
// The candidate sizes, in list order (7 after 8).
QList<int> candidates();
// The candidates the font really offers, in candidate order.
QList<int> offered(const QList<int>& fontSizes);
// For an installed font family: its sizes; for an unknown one: the fallback list.
QList<int> forFamily(const QString& family);

} // namespace FontSizes
