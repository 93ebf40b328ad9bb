#include "documents/FontSizes.h"

#include <QFontDatabase>

namespace FontSizes {

QList<int> fallback() {
    return {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 30, 36, 42, 48, 60, 72};
}

QList<int> candidates() {
    return {6, 8, 7, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

QList<int> offered(const QList<int>& fontSizes) {
    QList<int> out;
    for (int size : candidates())
        if (fontSizes.contains(size))
            out.append(size);
    return out;
}

QList<int> forFamily(const QString& family) {
    if (family.trimmed().isEmpty() || !QFontDatabase::families().contains(family))
        return fallback();
    // A scalable font offers every size.
    if (QFontDatabase::isSmoothlyScalable(family) || QFontDatabase::isScalable(family))
        return candidates();
    return offered(QFontDatabase::pointSizes(family));
}

} // namespace FontSizes
