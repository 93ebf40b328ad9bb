#include "settings/Defaults.h"

#include "settings/SettingsStore.h"

namespace modMain {

namespace {

struct Entry {
    const char* section;
    const char* key;
    const char* value;
};
const Entry defaults[] = {
    {"CoInfoInc", "Name", "1"},
    {"CoInfo", "Name", "ABC Construction"},
    {"CoInfoInc", "AddressInc", "1"},
    {"CoInfo", "Address", "5454 Builders Lane"},
    {"CoInfoInc", "CityInc", "1"},
    {"CoInfo", "City", "Anytown"},
    {"CoInfo", "ST", "MT"},
    {"CoInfo", "Zip", "54321-1234"},
    {"CoInfoInc", "PhoneInc", "1"},
    {"CoInfo", "Phone", "406/123-4567"},
    {"CoInfoInc", "FaxInc", "1"},
    {"CoInfo", "Fax", "406/234-5678"},
    {"CoInfoInc", "CellInc", "0"},
    {"CoInfo", "Cell", "406/345-6789"},
    {"CoInfoInc", "EmailInc", "0"},
    {"CoInfo", "Email", "office@abcconstruction.example"},
    {"CoInfoInc", "WebsiteInc", "0"},
    {"CoInfo", "Website", "www.abcconstruction.example"},
    {"CoInfoInc", "LetHead", "0"},
    {"Op", "Greet", "1"},
    {"Op", "Overhead", "%-15"},
    {"Op", "Profit", "%-15"},
    {"Op", "Contingency", "Fixed-100"},
    {"Op", "Management", "%-2"},
    {"Op", "WorkComp", "45"},
    {"Op", "EmpTaxes", "7.65"},
    {"Op", "OtherCosts", "0"},
    {"Op", "Fringe", "2"},
    {"Op", "Waste", "10"},
};

} // namespace

void WriteDefaultSettings(SettingsStore& s) {
    for (const Entry& e : defaults)
        s.set(QString::fromLatin1(e.section), QString::fromLatin1(e.key),
              QString::fromUtf8(e.value));
}

int RepairDefaultSettings(SettingsStore& s) {
    QList<IniFile::Entry> ordered;
    for (const Entry& e : defaults)
        ordered.append({QString::fromLatin1(e.section), QString::fromLatin1(e.key),
                        QString::fromUtf8(e.value)});
    return s.addMissing(QString::fromLatin1(SettingsStore::App), ordered);
}

bool ShowGreeting(const SettingsStore& s) {
    bool ok = false;
    const double v = s.get(QStringLiteral("Op"), QStringLiteral("Greet")).trimmed().toDouble(&ok);
    if (!ok)
        return true;
    return v == 1.0;
}

} // namespace modMain
