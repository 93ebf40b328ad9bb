#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class SettingsStore;

// The values the setup window edits, read from and written to the settings store without any
// window, so that the rules for reading them can be checked on their own.
namespace SetupValues {

// "CoInfo" keys in their creation order: the window shows them by position.
QStringList coInfoKeys();
// "CoInfoInc" keys, in the order of the window's include boxes (the last is "LetHead").
QStringList includeKeys();
// "Op" keys in their creation order: "Greet", the four administrative defaults, the four
// labor percentages, the waste percentage of the roof.
QStringList opKeys();

// The value at `position` of a section's creation order. When the key found there is not the
// expected one (a section changed from outside), the value is read by key instead, so a value
// is never shown in, and later saved from, another field's box. Missing values read as "".
QString valueAt(const SettingsStore& s, const QString& section, int position,
                const QString& expectedKey);

struct Company {
    QStringList info;     // "CoInfo", 10 values
    QList<bool> included; // "CoInfoInc", 9 flags, the last one "LetHead"
};

struct Defaults {
    bool greet = true;
    QStringList admin; // "Op" positions 1 to 4, stored text ("%-15", "Fixed-100")
    QStringList labor; // "Op" positions 5 to 8
    // "Op"/"Waste": the waste percentage a new estimate starts with, plain ("10"); empty
    // means the program's 10 %.
    QString waste;
};

Company loadCompany(const SettingsStore& s);

// The company name every new installation starts with.
QString sampleCompanyName();
// Whether the company is still the sample one (or has no name): every document would go out
// under a name that is not the user's.
bool companyIsSample(const SettingsStore& s);
Defaults loadDefaults(const SettingsStore& s);

// Write by key. False as soon as a value could not be written.
bool saveCompany(SettingsStore& s, const Company& c);
bool saveDefaults(SettingsStore& s, const Defaults& d);

} // namespace SetupValues
