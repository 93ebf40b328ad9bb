#pragma once

#include <QString>

// One administrative amount (overhead, profit, contingency, management) in its stored text
// form: "Fixed-" followed by an amount, or "%-" followed by a percentage. Empty text is a
// fixed amount of 0.
namespace Admin {

struct Amount {
    bool fixed = true;
    QString value; // the amount (as shown, possibly currency text) or the percentage
};

// Splits at the first "-" only, so a negative fixed amount ("Fixed--50") reads back as -50.
Amount parseStored(const QString& text);
QString storedText(const Amount& a);

} // namespace Admin
