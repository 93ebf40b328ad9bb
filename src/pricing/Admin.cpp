#include "pricing/Admin.h"

namespace Admin {

Amount parseStored(const QString& text) {
    Amount a;
    if (text.trimmed().isEmpty()) {
        a.fixed = true;
        a.value = QStringLiteral("0");
        return a;
    }
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const QString kind = dash < 0 ? text : text.left(dash);
    a.value = dash < 0 ? QString() : text.mid(dash + 1);
    a.fixed = kind.trimmed().compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0;
    return a;
}

QString storedText(const Amount& a) {
    return (a.fixed ? QStringLiteral("Fixed-") : QStringLiteral("%-")) + a.value;
}

} // namespace Admin
