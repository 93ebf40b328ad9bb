#pragma once

#include <QString>
#include <optional>

// One administrative amount (overhead, profit, contingency, management) in its stored text
// form: "Fixed-" followed by an amount, or "%-" followed by a percentage, each a plain decimal
// with a period ("Fixed-1234.5", "%-7.5") that reads the same under every locale. Earlier
// versions stored a fixed amount as currency text ("Fixed-$1,234.00"); that form still reads.
// Empty text is a fixed amount of 0.
namespace Admin {

struct Amount {
    bool fixed = true;
    QString value; // the amount or the percentage
};

// Splits at the first "-" only, so a negative fixed amount ("Fixed--50") reads back as -50.
Amount parseStored(const QString& text);
QString storedText(const Amount& a);

// The largest amount or percentage an administrative amount may have, wherever it is typed (the
// Terms/Totals tab and the defaults of Setup): what every estimate can store and figure.
inline constexpr double Largest = 9999999.99;
// The longest text an amount may be typed with, so that its stored text fits its column.
inline constexpr int MaxTyped = 14;

// Checks an amount as typed: nothing when it will do, else the message for the user (the
// number box's own message, or "This number is too large."). A fixed amount may be currency
// text; a percentage is a plain number.
std::optional<QString> problemWith(bool fixed, const QString& typed);
// The amount as typed in its stored form (plain decimal); nothing when it is no number.
std::optional<Amount> fromTyped(bool fixed, const QString& typed);

} // namespace Admin
