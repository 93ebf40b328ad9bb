#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Number reading and rounding shared by every form and module.
namespace Numbers {

// A decimal number typed by the user: the user's locale or a period as decimal point,
// optional grouping, optional sign. The empty text is not a number.
std::optional<double> parse(const QString& text);
inline bool isNumber(const QString& text) {
    return parse(text).has_value();
}
// The number in the text, or 0 when it holds none.
double value(const QString& text);

// Rounds to the nearest whole number, exact halves to the even neighbour (10.5 -> 10, 7.5 -> 8).
double roundHalfEven(double v);
// Rounds to `decimals` places, exact halves (in decimal) to even: 0.0625 -> 0.062 at 3.
double roundHalfEven(double v, int decimals);
// Rounds halves away from zero (184.5 -> 185).
double roundHalfAway(double v);
// A whole number from a double as a 32-bit integer, halves to even; clamps out-of-range values.
std::int32_t toLong(double v);
// A whole number from text (halves to even); nothing when the text is not a number.
std::optional<std::int32_t> toLong(const QString& text);

// Shortest decimal text with a period and no grouping: 2.5, 26, 0.9, 1.53.
QString shortest(double v);

} // namespace Numbers
