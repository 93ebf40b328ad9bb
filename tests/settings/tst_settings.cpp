// The ordered settings store and the first-start values.
#include "settings/Defaults.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList keys(const QList<IniFile::Pair>& pairs) {
    QStringList k;
    for (const auto& p : pairs)
        k << p.first;
    return k;
}

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderKeptAcrossRewritesAndReopening();
    void missingValuesReadEmpty();
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void handEditedFileIsRead();
    void unwritableFileKeepsNothing();
    void storeKeepsOneFilePerApplication();
    void defaultsInTheirOrder();
    void defaultsTwiceKeepOneOfEach();
    void missingDefaultsRepairedInOrder_data();
    void missingDefaultsRepairedInOrder();
    void showGreeting_data();
    void showGreeting();
};

void TestSettings::orderKeptAcrossRewritesAndReopening() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s/settings.ini"));
    {
        IniFile f(path);
        QVERIFY(f.setValue("Op", "Greet", "1"));
        QVERIFY(f.setValue("Op", "Overhead", "%-15"));
        QVERIFY(f.setValue("Co", "Name", "ABC"));
        QVERIFY(f.setValue("Op", "Profit", "%-15"));
        // Rewriting keeps the place; the case of a key does not matter.
        QVERIFY(f.setValue("op", "GREET", "0"));
        QVERIFY(f.setValue("Op", "Overhead", "Fixed-250"));
    }
    IniFile again(path);
    QCOMPARE(keys(again.section("Op")), (QStringList{"Greet", "Overhead", "Profit"}));
    QCOMPARE(again.value("Op", "Greet"), QStringLiteral("0"));
    QCOMPARE(again.value("Op", "Overhead"), QStringLiteral("Fixed-250"));
    QCOMPARE(again.value("Co", "Name"), QStringLiteral("ABC"));
    // Sections keep the order in which they were first made.
    QVERIFY(readAll(path).indexOf("[Op]") < readAll(path).indexOf("[Co]"));
    // A second reader sees what the first one wrote since it was opened.
    IniFile other(path);
    QVERIFY(again.setValue("Op", "Management", "%-2"));
    QVERIFY(other.setValue("Op", "Greet", "1"));
    IniFile third(path);
    QCOMPARE(keys(third.section("Op")), (QStringList{"Greet", "Overhead", "Profit", "Management"}));
    QCOMPARE(third.value("Op", "Greet"), QStringLiteral("1"));
}

void TestSettings::missingValuesReadEmpty() {
    QTemporaryDir dir;
    IniFile f(dir.filePath("none.ini"));
    QVERIFY(!f.exists());
    QCOMPARE(f.value("Op", "Greet"), QString());
    QVERIFY(f.value("Op", "Greet").isEmpty());
    QVERIFY(f.section("Op").isEmpty());
    QVERIFY(!f.contains("Op", "Greet"));
    QVERIFY(f.setValue("Op", "Greet", ""));
    QVERIFY(f.contains("Op", "Greet"));
    QCOMPARE(f.value("Op", "Other"), QString());
}

void TestSettings::valuesRoundTrip_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << QStringLiteral("O'Neil's Roofing");
    QTest::newRow("accents") << QStringLiteral("Société Générale — Ñandú 屋根");
    QTest::newRow("equals and semicolon") << QStringLiteral("a=b; c=d");
    QTest::newRow("leading hash") << QStringLiteral("#12 Main St");
    QTest::newRow("quotes") << QStringLiteral("\"The best\" roofs");
    QTest::newRow("blanks around") << QStringLiteral("  padded  ");
    QTest::newRow("backslash") << QStringLiteral("C:\\roofs\\n");
    QTest::newRow("lines") << QStringLiteral("line one\nline two\r\n[Op]\nGreet=0");
    QTest::newRow("brackets") << QStringLiteral("[Op]");
}

void TestSettings::valuesRoundTrip() {
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        IniFile f(path);
        QVERIFY(f.setValue("CoInfo", "Name", value));
        QVERIFY(f.setValue("Op", "Greet", "1"));
    }
    IniFile back(path);
    QCOMPARE(back.value("CoInfo", "Name"), value);
    // Nothing in the value leaks into the file's structure.
    QCOMPARE(keys(back.section("CoInfo")), QStringList{"Name"});
    QCOMPARE(back.value("Op", "Greet"), QStringLiteral("1"));
}

void TestSettings::handEditedFileIsRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("; written by hand\r\n[Op]\r\nGreet = 0 \r\n\r\nnot a value\r\n[CoInfo]\r\n"
              "Name=Roofs & Co\r\n[op]\r\nProfit=%-10\r\n");
    out.close();
    IniFile f(path);
    QCOMPARE(f.value("Op", "Greet"), QStringLiteral("0"));
    QCOMPARE(f.value("CoInfo", "Name"), QStringLiteral("Roofs & Co"));
    // A section named twice is one section.
    QCOMPARE(keys(f.section("Op")), (QStringList{"Greet", "Profit"}));
}

void TestSettings::unwritableFileKeepsNothing() {
    QTemporaryDir dir;
    // A file where the settings folder should be: nothing can be written there.
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniFile blocked(dir.filePath("blocker/settings.ini"));
    QVERIFY(!blocked.setValue("Op", "Greet", "1"));
    QVERIFY(!blocked.contains("Op", "Greet"));
    QCOMPARE(QFileInfo(blocker).size(), 0);

    // A folder that became read-only keeps the last file as it was.
    const QString folder = dir.filePath("ro");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/settings.ini";
    IniFile f(path);
    QVERIFY(f.setValue("Op", "Greet", "1"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(folder).isWritable())
        QSKIP("running as a user who can write anywhere");
    QVERIFY(!f.setValue("Op", "Greet", "0"));
    QCOMPARE(f.value("Op", "Greet"), QStringLiteral("1"));
    QVERIFY(!f.setValue("Op", "New", "x"));
    QVERIFY(!f.contains("Op", "New"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(IniFile(path).value("Op", "Greet"), QStringLiteral("1"));
}

void TestSettings::storeKeepsOneFilePerApplication() {
    QTemporaryDir dir;
    SettingsStore s(dir.path());
    QVERIFY(!s.exists("Corvanel"));
    QVERIFY(s.set("Op", "Greet", "1"));
    QVERIFY(s.setValue("Brenwick", "Path", "Folder", "/opt/contacts"));
    QVERIFY(QFile::exists(dir.filePath("Corvanel/settings.ini")));
    QVERIFY(QFile::exists(dir.filePath("Brenwick/settings.ini")));
    QCOMPARE(s.value("Brenwick", "Path", "Folder"), QStringLiteral("/opt/contacts"));
    QCOMPARE(s.get("Path", "Folder"), QString());
    // A change made by another program is seen on the next read.
    IniFile outside(s.filePath("Corvanel"));
    QVERIFY(outside.setValue("Op", "Greet", "0"));
    QCOMPARE(s.get("Op", "Greet"), QStringLiteral("0"));
}

void TestSettings::defaultsInTheirOrder() {
    QTemporaryDir dir;
    SettingsStore s(dir.path());
    modMain::WriteDefaultSettings(s);
    QCOMPARE(keys(s.section("Corvanel", "CoInfoInc")),
             (QStringList{"Name", "AddressInc", "CityInc", "PhoneInc", "FaxInc", "CellInc",
                          "EmailInc", "WebsiteInc", "LetHead"}));
    QCOMPARE(keys(s.section("Corvanel", "CoInfo")),
             (QStringList{"Name", "Address", "City", "ST", "Zip", "Phone", "Fax", "Cell", "Email",
                          "Website"}));
    const auto op = s.section("Corvanel", "Op");
    QCOMPARE(keys(op), (QStringList{"Greet", "Overhead", "Profit", "Contingency", "Management",
                                    "WorkComp", "EmpTaxes", "OtherCosts", "Fringe", "Waste"}));
    QStringList opValues;
    for (const auto& p : op)
        opValues << p.second;
    QCOMPARE(opValues,
             (QStringList{"1", "%-15", "%-15", "Fixed-100", "%-2", "45", "7.65", "0", "2", "10"}));
    QCOMPARE(s.get("CoInfo", "Name"), QStringLiteral("ABC Construction"));
    QCOMPARE(s.get("CoInfo", "Zip"), QStringLiteral("54321-1234"));
    QCOMPARE(s.get("CoInfoInc", "CellInc"), QStringLiteral("0"));
    QCOMPARE(s.get("CoInfoInc", "LetHead"), QStringLiteral("0"));
    QVERIFY(s.get("CoInfo", "Email").contains('@'));
    // The sections appear in the file in the order of their first value.
    const QString text = readAll(s.filePath("Corvanel"));
    QVERIFY(text.indexOf("[CoInfoInc]") < text.indexOf("[CoInfo]"));
    QVERIFY(text.indexOf("[CoInfo]") < text.indexOf("[Op]"));
    int values = 0;
    for (const QString& line : text.split('\n'))
        values += line.contains('=') ? 1 : 0;
    QCOMPARE(values, 29);
}

void TestSettings::defaultsTwiceKeepOneOfEach() {
    QTemporaryDir dir;
    SettingsStore s(dir.path());
    modMain::WriteDefaultSettings(s);
    const QString once = readAll(s.filePath("Corvanel"));
    modMain::WriteDefaultSettings(s);
    QCOMPARE(readAll(s.filePath("Corvanel")), once);
}

namespace {
// The settings text with the values named "Section/Key" in `drop` left out and those in `set`
// given other values, as a first start cut short or a hand edit leaves it.
QString edited(const QString& text, const QStringList& drop, const QMap<QString, QString>& set) {
    QStringList out;
    QString section;
    for (const QString& line : text.split('\n')) {
        if (line.startsWith('[')) {
            section = line.mid(1, line.indexOf(']') - 1);
            if (drop.contains(section + "/*"))
                continue;
        } else if (line.contains('=')) {
            const QString name = section + '/' + line.left(line.indexOf('='));
            if (drop.contains(name) || drop.contains(section + "/*"))
                continue;
            if (set.contains(name)) {
                out << line.left(line.indexOf('=') + 1) + set[name];
                continue;
            }
        }
        out << line;
    }
    return out.join('\n');
}
} // namespace

void TestSettings::missingDefaultsRepairedInOrder_data() {
    QTest::addColumn<QStringList>("drop");
    QTest::addColumn<int>("added");
    QTest::newRow("nothing missing") << QStringList{} << 0;
    QTest::newRow("first start cut short after the company")
        << QStringList{"CoInfoInc/LetHead", "Op/*"} << 11;
    QTest::newRow("values missing here and there")
        << QStringList{"CoInfo/Phone", "Op/Overhead", "Op/Fringe", "CoInfoInc/Name"} << 4;
    QTest::newRow("first section missing") << QStringList{"CoInfoInc/*"} << 9;
    QTest::newRow("everything missing") << QStringList{"CoInfoInc/*", "CoInfo/*", "Op/*"} << 29;
}

// What is missing comes back with its default value in its place; what the user has is kept
// exactly as it is, even where it differs from the default.
void TestSettings::missingDefaultsRepairedInOrder() {
    QFETCH(QStringList, drop);
    QFETCH(int, added);
    QTemporaryDir dir;
    SettingsStore s(dir.path());
    modMain::WriteDefaultSettings(s);
    const QString path = s.filePath("Corvanel");
    const QString complete = readAll(path);
    const QMap<QString, QString> users = {{"CoInfo/Name", "O'Hara Roofing & Söhne"},
                                          {"Op/Profit", "%-20"},
                                          {"CoInfoInc/CellInc", "1"}};
    const auto write = [&](const QString& text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    };
    write(edited(complete, drop, users));
    QCOMPARE(modMain::RepairDefaultSettings(s), added);
    QMap<QString, QString> kept;
    for (auto it = users.begin(); it != users.end(); ++it)
        if (!drop.contains(it.key()) && !drop.contains(it.key().section('/', 0, 0) + "/*"))
            kept.insert(it.key(), it.value());
    QCOMPARE(readAll(path), edited(complete, {}, kept));
    // A second start finds nothing to add.
    QCOMPARE(modMain::RepairDefaultSettings(s), 0);
}

void TestSettings::showGreeting_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("missing");
    QTest::addColumn<bool>("shown");
    QTest::newRow("1") << "1" << false << true;
    QTest::newRow("1.0") << "1.0" << false << true;
    QTest::newRow("0") << "0" << false << false;
    QTest::newRow("2") << "2" << false << false;
    QTest::newRow("0.5") << "0.5" << false << false;
    QTest::newRow("-1") << "-1" << false << false;
    QTest::newRow("not a number") << "yes" << false << true;
    QTest::newRow("empty") << "" << false << true;
    QTest::newRow("missing") << "" << true << true;
}

void TestSettings::showGreeting() {
    QFETCH(QString, stored);
    QFETCH(bool, missing);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    SettingsStore s(dir.path());
    if (!missing)
        QVERIFY(s.set("Op", "Greet", stored));
    QCOMPARE(modMain::ShowGreeting(s), shown);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
