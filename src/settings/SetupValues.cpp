#include "settings/SetupValues.h"

#include "settings/SettingsStore.h"

namespace SetupValues {
namespace {

const QString CoInfo = QStringLiteral("CoInfo");
const QString CoInfoInc = QStringLiteral("CoInfoInc");
const QString Op = QStringLiteral("Op");

bool isOne(const QString& v) {
    bool ok = false;
    return v.trimmed().toInt(&ok) == 1 && ok;
}

// Start-up shows the greeting unless "Greet" reads as a number other than 1; the box shows
// the same, so that saving it unchanged changes nothing.
bool greetOn(const QString& v) {
    bool ok = false;
    const double d = v.trimmed().toDouble(&ok);
    return !ok || d == 1.0;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QStringList coInfoKeys() {
    return {"Name", "Address", "City", "ST", "Zip", "Phone", "Fax", "Cell", "Email", "Website"};
}

QStringList includeKeys() {
    return {"Name",    "AddressInc", "CityInc",    "PhoneInc", "FaxInc",
            "CellInc", "EmailInc",   "WebsiteInc", "LetHead"};
}

QStringList opKeys() {
    return {"Greet",    "Overhead", "Profit",     "Contingency", "Management",
            "WorkComp", "EmpTaxes", "OtherCosts", "Fringe",      "Waste"};
}

QString valueAt(const SettingsStore& s, const QString& section, int position,
                const QString& expectedKey) {
    const auto pairs = s.section(QString::fromLatin1(SettingsStore::App), section);
    if (position >= 0 && position < pairs.size() && pairs.at(position).first == expectedKey)
        return pairs.at(position).second;
    return s.get(section, expectedKey);
}

Company loadCompany(const SettingsStore& s) {
    Company c;
    const QStringList keys = coInfoKeys();
    for (int i = 0; i < keys.size(); ++i)
        c.info << valueAt(s, CoInfo, i, keys.at(i));
    const QStringList inc = includeKeys();
    for (int i = 0; i < inc.size() - 1; ++i)
        c.included << isOne(s.get(CoInfoInc, inc.at(i)));
    // Documents leave the company block blank for anything but "0"; the box agrees with them.
    c.included << (s.get(CoInfoInc, inc.last()).trimmed() != QLatin1String("0"));
    return c;
}

QString sampleCompanyName() {
    return QStringLiteral("ABC Construction");
}

bool companyIsSample(const SettingsStore& s) {
    const QString name = s.get(CoInfo, QStringLiteral("Name")).simplified();
    return name.isEmpty() || name.compare(sampleCompanyName(), Qt::CaseInsensitive) == 0;
}

Defaults loadDefaults(const SettingsStore& s) {
    Defaults d;
    const QStringList keys = opKeys();
    d.greet = greetOn(valueAt(s, Op, 0, keys.at(0)));
    for (int i = 1; i <= 4; ++i)
        d.admin << valueAt(s, Op, i, keys.at(i));
    for (int i = 5; i <= 8; ++i)
        d.labor << valueAt(s, Op, i, keys.at(i));
    d.waste = valueAt(s, Op, 9, keys.at(9));
    return d;
}

bool saveCompany(SettingsStore& s, const Company& c) {
    const QStringList keys = coInfoKeys();
    for (int i = 0; i < keys.size(); ++i)
        if (!s.set(CoInfo, keys.at(i), c.info.value(i)))
            return false;
    const QStringList inc = includeKeys();
    for (int i = 0; i < inc.size(); ++i)
        if (!s.set(CoInfoInc, inc.at(i), flag(c.included.value(i))))
            return false;
    return true;
}

bool saveDefaults(SettingsStore& s, const Defaults& d) {
    // Written in creation order, so that keys missing from the section are created where the
    // readers by position look for them.
    const QStringList keys = opKeys();
    if (!s.set(Op, keys.at(0), flag(d.greet)))
        return false;
    for (int i = 1; i <= 4; ++i)
        if (!s.set(Op, keys.at(i), d.admin.value(i - 1)))
            return false;
    for (int i = 5; i <= 8; ++i)
        if (!s.set(Op, keys.at(i), d.labor.value(i - 5)))
            return false;
    return s.set(Op, keys.at(9), d.waste.isEmpty() ? QStringLiteral("10") : d.waste);
}

} // namespace SetupValues
