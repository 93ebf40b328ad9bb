#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

// Number reading and rounding shared by every form and module.
namespace Numbers {

// The one reading of a number the user typed, used by every number box: an optional sign, then
// digits with the decimal point of `locale` or a plain period. Grouping is read only where it
// cannot be taken for a decimal point: "1,234" is 1234 under US English, and "1.234.567" or
// "1.234,5" read grouped under German, but a lone "1.234" there is 1.234 (the program itself
// writes a period decimal). Groups must be regular (1 to 3 digits, then threes), so "1,5" under
// US English is no number rather than 15. No exponents, no "inf" or "nan". Returns the number
// as plain decimal text ("-1234.5", digits as typed, no grouping); nothing when the text is not
// a number.
std::optional<QString> plainText(const QString& text, const QLocale& locale = QLocale());

// A number the program stored: the plain decimal text it writes today, or text that earlier
// versions stored as it was typed, read in the user's locale and then in US English. Returns
// the plain text; nothing when it is no number.
std::optional<QString> plainStoredText(const QString& text);

// Plain decimal text ("[-]digits[.digits]", as plainText gives it) exactly as a count of
// ten-thousandths, the form money and quantities are kept in; more than four decimals are
// rounded halves to even. Nothing for other text or a value that does not fit.
std::optional<std::int64_t> tenThousandths(const QString& plain);

// Plain decimal text as the user reads numbers: with the decimal point of the user's locale.
QString inLocale(const QString& plain);

// The same reading as a double. The empty text is not a number.
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
