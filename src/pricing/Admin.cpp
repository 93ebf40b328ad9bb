#include "pricing/Admin.h"

#include "common/Money.h"
#include "common/Numbers.h"

#include <cmath>

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

std::optional<Amount> fromTyped(bool fixed, const QString& typed) {
    if (fixed) {
        if (const auto m = Money::parse(typed))
            return Amount{true, m->toSql()};
        return std::nullopt;
    }
    if (const auto p = Numbers::plainText(typed))
        return Amount{false, *p};
    return std::nullopt;
}

std::optional<QString> problemWith(bool fixed, const QString& typed) {
    const std::optional<Amount> a = fromTyped(fixed, typed);
    if (!a)
        return QStringLiteral("This field must be a number.");
    if (std::fabs(QStringView(a->value).toDouble()) > Largest)
        return QStringLiteral("This number is too large.");
    return std::nullopt;
}

} // namespace Admin
