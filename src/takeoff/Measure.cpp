#include "takeoff/Measure.h"

#include "common/Numbers.h"
#include "common/Quantity.h"

#include <QRegularExpression>

namespace Measure {
namespace {

QString problem(const QString& text) {
    return QStringLiteral("\"%1\" is not a measurement. Type feet as 30.5, or feet and inches "
                          "as 30' 6\".")
        .arg(text.trimmed());
}

// A decimal number as the number boxes read it, in ten-thousandths.
std::optional<std::int64_t> decimal(const QString& text) {
    const std::optional<QString> plain = Numbers::plainText(text);
    if (!plain)
        return std::nullopt;
    return Numbers::tenThousandths(*plain);
}

} // namespace

Reading read(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {std::nullopt, QStringLiteral("Please enter a measurement.")};
    // A plain number, negative ones included: the caller's range check names the bounds.
    if (const auto plain = decimal(text))
        return {*plain, {}};
    // Feet with a foot mark or word, then inches with or without their mark; or two numbers
    // apart ("30 6"); or inches alone with their mark. Curly quotes count as marks, as word
    // processors type them.
    static const QRegularExpression feetInches(
        QStringLiteral(
            R"(^(\d{1,6})\s*(?:(?:'|’|′|ft\.?|feet|foot)\s*|\s+(?=\d))(?:(\d+(?:[.,]\d+)?)\s*(?:"|”|″|''|’’|in\.?|inch|inches)?)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inchesOnly(
        QStringLiteral(R"(^(\d+(?:[.,]\d+)?)\s*(?:"|”|″|''|’’|in\.?|inch|inches)$)"),
        QRegularExpression::CaseInsensitiveOption);
    std::int64_t feet = 0;
    QString inches;
    if (const auto m = feetInches.match(text); m.hasMatch()) {
        feet = m.captured(1).toLongLong();
        inches = m.captured(2);
    } else if (const auto m2 = inchesOnly.match(text); m2.hasMatch()) {
        inches = m2.captured(1);
    } else {
        return {std::nullopt, problem(text)};
    }
    std::int64_t in = 0; // ten-thousandths of an inch
    if (!inches.isEmpty()) {
        const auto v = Numbers::tenThousandths(QString(inches).replace(u',', u'.'));
        if (!v)
            return {std::nullopt, problem(text)};
        in = *v;
    }
    if (in >= 12 * Scale)
        return {std::nullopt, QStringLiteral("Inches must be less than 12 (\"%1\").").arg(text)};
    // Inches to ten-thousandths of a foot, halves to even as every rounding here.
    const std::int64_t whole = in / 12;
    const std::int64_t rest = in % 12;
    const std::int64_t fraction = whole + ((rest > 6 || (rest == 6 && whole % 2 == 1)) ? 1 : 0);
    return {feet * Scale + fraction, {}};
}

QString text(std::int64_t tenThousandths) {
    return Quantity::fromRaw(tenThousandths).toText() + QStringLiteral(" ft");
}

QString note(const QString& typed) {
    if (typed.trimmed().isEmpty())
        return {};
    const Reading r = read(typed);
    return r.feet ? QStringLiteral("= %1").arg(text(*r.feet)) : r.error;
}

} // namespace Measure
