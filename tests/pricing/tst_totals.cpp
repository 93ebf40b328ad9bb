#include "TestContext.h"

#include "pricing/Totals.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QTest>

using Totals::AdminAmount;

namespace {

// An amount as it shows after `shown` was figured or loaded.
AdminAmount showing(const QString& shown) {
    AdminAmount a;
    a.figure = shown;
    a.shown = shown;
    a.amount = Money::fromText(shown);
    return a;
}

QStringList shownTexts(const Totals::AdminAmounts& admin) {
    QStringList texts;
    for (const AdminAmount& a : admin)
        texts << a.shown;
    return texts;
}

} // namespace

// The estimate's totals as the Terms/Totals and Line Items tabs show them, figured without a
// window. The expected texts are what those tabs have always shown for the same entries.
class tst_totals : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void figureAdmin_data();
    void figureAdmin();
    void notANumber_data();
    void notANumber();
    void figure_data();
    void figure();
    void loadedAndClosed_data();
    void loadedAndClosed();
    void sumByType();
};

void tst_totals::figureAdmin_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("figure");
    QTest::addColumn<QString>("subTotal");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("fixed") << 2 << true << "25"
                           << "150"
                           << "Fixed @"
                           << "$25.00"
                           << "Fixed-25";
    QTest::newRow("fixed from currency text") << 2 << true << "$1,234.5"
                                              << "0"
                                              << "Fixed @"
                                              << "$1,234.50"
                                              << "Fixed-1234.5";
    QTest::newRow("fixed half cent away from zero") << 1 << true << "0.005"
                                                    << "0"
                                                    << "Fixed @"
                                                    << "$0.01"
                                                    << "Fixed-0.01";
    QTest::newRow("negative fixed") << 3 << true << "-50"
                                    << "0"
                                    << "Fixed @"
                                    << "($50.00)"
                                    << "Fixed--50";
    QTest::newRow("negative half cent") << 3 << true << "-0.005"
                                        << "0"
                                        << "Fixed @"
                                        << "($0.01)"
                                        << "Fixed--0.01";
    QTest::newRow("1% of 0.50 shows a cent") << 0 << false << "1"
                                             << "0.50"
                                             << "1%"
                                             << "$0.01"
                                             << "%-1";
    QTest::newRow("overhead keeps the percentage as typed") << 0 << false << "10.50"
                                                            << "150"
                                                            << "10.50%"
                                                            << "$15.75"
                                                            << "%-10.50";
    QTest::newRow("the others show its shortest form") << 1 << false << "10.50"
                                                       << "150"
                                                       << "10.5%"
                                                       << "$15.75"
                                                       << "%-10.5";
    // 4.99 in single precision is 4.98999977…: 0.0249499989 rounds to four decimals below the
    // half cent, where the exact 0.02495 would show 0.03.
    QTest::newRow("single precision below a half cent") << 0 << false << "4.99"
                                                        << "0.50"
                                                        << "4.99%"
                                                        << "$0.02"
                                                        << "%-4.99";
    QTest::newRow("single precision shows as such") << 1 << false << "4.99"
                                                    << "0.50"
                                                    << "4.98999977111816%"
                                                    << "$0.02"
                                                    << "%-4.98999977111816";
    QTest::newRow("single precision of a large sub total") << 2 << false << "8.006"
                                                           << "999,999.99"
                                                           << "8.00599956512451%"
                                                           << "$80,059.99"
                                                           << "%-8.00599956512451";
    // Four decimals first (0.2550), then the cents: 0.122 % of 209 shows 0.26, not 0.25.
    QTest::newRow("four decimals before the cents") << 0 << false << "0.122"
                                                    << "209"
                                                    << "0.122%"
                                                    << "$0.26"
                                                    << "%-0.122";
    QTest::newRow("negative percentage") << 2 << false << "-5"
                                         << "100"
                                         << "-5%"
                                         << "($5.00)"
                                         << "%--5";
    QTest::newRow("percent of nothing") << 3 << false << "15"
                                        << "0"
                                        << "15%"
                                        << "$0.00"
                                        << "%-15";
}

void tst_totals::figureAdmin() {
    QFETCH(int, index);
    QFETCH(bool, fixed);
    QFETCH(QString, figure);
    QFETCH(QString, subTotal);
    QFETCH(QString, type);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    const std::optional<AdminAmount> a =
        Totals::figureAdmin(index, fixed, figure, Money::parse(subTotal).value());
    QVERIFY(a);
    QCOMPARE(a->fixed, fixed);
    QCOMPARE(a->typeText(), type);
    QCOMPARE(a->shown, shown);
    QCOMPARE(a->amount, Money::parse(shown).value());
    QCOMPARE(a->storedText(), stored);
    // Figured again from what it shows and stores, it stays the same.
    QCOMPARE(Totals::figureAdmin(index, a->fixed, a->figure, Money::parse(subTotal).value()), a);
}

void tst_totals::notANumber_data() {
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("figure");
    QTest::newRow("fixed words") << true << "lots";
    QTest::newRow("fixed empty") << true << "";
    QTest::newRow("fixed not yet figured") << true << "...";
    QTest::newRow("percent empty") << false << "";
    QTest::newRow("percent with its sign") << false << "12%";
    QTest::newRow("percent as currency") << false << "$5";
}

void tst_totals::notANumber() {
    QFETCH(bool, fixed);
    QFETCH(QString, figure);
    for (int index = 0; index < 4; ++index)
        QVERIFY(!Totals::figureAdmin(index, fixed, figure, Money::fromCents(10000)));
}

void tst_totals::figure_data() {
    QTest::addColumn<QList<qint64>>("typeCents");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("shownBefore");
    QTest::addColumn<QString>("subTotal");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("adminTotal");
    QTest::addColumn<QString>("estTotal");
    QTest::addColumn<QList<int>>("mismatches");
    QTest::newRow("the example") << QList<qint64>{10000, 5000, 0, 0, 0, 0}
                                 << QStringList{"%-10", "%-5", "Fixed-25", "%-0"} << "..."
                                 << "$150.00" << QStringList{"$15.00", "$7.50", "$25.00", "$0.00"}
                                 << "$47.50"
                                 << "$197.50" << QList<int>{};
    QTest::newRow("admin total counts the cents shown")
        << QList<qint64>{0, 0, 0, 0, 50, 0} << QStringList{"%-1", "%-1", "%-1", "%-1"} << "..."
        << "$0.50" << QStringList{"$0.01", "$0.01", "$0.01", "$0.01"} << "$0.04"
        << "$0.54" << QList<int>{};
    QTest::newRow("no lines") << QList<qint64>{0, 0, 0, 0, 0, 0}
                              << QStringList{"%-15", "%-15", "Fixed-100", "%-2"} << "..."
                              << "$0.00" << QStringList{"$0.00", "$0.00", "$100.00", "$0.00"}
                              << "$100.00"
                              << "$100.00" << QList<int>{};
    QTest::newRow("every type counts")
        << QList<qint64>{100, 200, 300, 400, 500, 600} << QStringList{"", "", "", ""} << "..."
        << "$21.00" << QStringList{"$0.00", "$0.00", "$0.00", "$0.00"} << "$0.00"
        << "$21.00" << QList<int>{};
    QTest::newRow("negative fixed is a discount")
        << QList<qint64>{20000, 0, 0, 0, 0, 0}
        << QStringList{"%-7.5", "Fixed-$120.00", "", "Fixed--$50.00"} << "..."
        << "$200.00" << QStringList{"$15.00", "$120.00", "$0.00", "($50.00)"} << "$85.00"
        << "$285.00" << QList<int>{};
    // A figure that is not a number keeps what its amount showed, and that amount counts.
    QTest::newRow("not a number keeps what it showed")
        << QList<qint64>{0, 10000, 0, 0, 0, 0} << QStringList{"Fixed-10", "%-abc", "", "x"}
        << "$3.00"
        << "$100.00" << QStringList{"$10.00", "$3.00", "$0.00", "$3.00"} << "$16.00"
        << "$116.00" << QList<int>{1, 3};
    QTest::newRow("unreadable fixed text counts as nothing")
        << QList<qint64>{10000, 0, 0, 0, 0, 0} << QStringList{"Fixed-$abc", "", "", ""} << "..."
        << "$100.00" << QStringList{"$abc", "$0.00", "$0.00", "$0.00"} << "$0.00"
        << "$100.00" << QList<int>{0};
}

void tst_totals::figure() {
    QFETCH(QList<qint64>, typeCents);
    QFETCH(QStringList, stored);
    QFETCH(QString, shownBefore);
    QFETCH(QString, subTotal);
    QFETCH(QStringList, shown);
    QFETCH(QString, adminTotal);
    QFETCH(QString, estTotal);
    QFETCH(QList<int>, mismatches);
    Totals::TypeTotals types{};
    for (int k = 0; k < Totals::TypeCount; ++k)
        types[k] = Money::fromCents(typeCents[k]);
    Totals::AdminAmounts admin;
    for (int i = 0; i < 4; ++i)
        admin[i] = Totals::loadedAdmin(stored[i], showing(shownBefore));

    const Totals::Figured f = Totals::figure(types, admin);
    QCOMPARE(f.totals.types, types);
    QCOMPARE(f.totals.subTotal.toCurrency(), subTotal);
    QCOMPARE(shownTexts(f.totals.admin), shown);
    QCOMPARE(f.totals.adminTotal.toCurrency(), adminTotal);
    QCOMPARE(f.totals.estTotal.toCurrency(), estTotal);
    QCOMPARE(f.totals.estTotal, f.totals.subTotal + f.totals.adminTotal);
    QCOMPARE(f.mismatches, mismatches);
    for (int i : mismatches)
        QCOMPARE(f.totals.admin[i], admin[i]);
}

void tst_totals::loadedAndClosed_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("storedAgain");
    QTest::addColumn<QString>("closedType");
    QTest::addColumn<QString>("closedStored");
    QTest::newRow("percent keeps what it showed") << "%-7.5"
                                                  << "7.5%"
                                                  << "$1.00"
                                                  << "%-7.5"
                                                  << "7.5%"
                                                  << "%-7.5";
    QTest::newRow("fixed shows its amount") << "Fixed-120"
                                            << "Fixed @"
                                            << "$120.00"
                                            << "Fixed-120"
                                            << "Fixed @"
                                            << "Fixed-...";
    // Earlier versions stored currency text; it reads, and is stored again as a plain decimal.
    QTest::newRow("fixed stored as currency text") << "Fixed-$1,120.00"
                                                   << "Fixed @"
                                                   << "$1,120.00"
                                                   << "Fixed-1120"
                                                   << "Fixed @"
                                                   << "Fixed-...";
    QTest::newRow("negative fixed") << "Fixed--$50.00"
                                    << "Fixed @"
                                    << "($50.00)"
                                    << "Fixed--50"
                                    << "Fixed @"
                                    << "Fixed-...";
    QTest::newRow("blank is a fixed nothing") << "  "
                                              << "Fixed @"
                                              << ".00"
                                              << "Fixed-.00"
                                              << "Fixed @"
                                              << "Fixed-...";
    QTest::newRow("no kind is a percentage of nothing") << "15"
                                                        << "%"
                                                        << "$1.00"
                                                        << "%-"
                                                        << "%"
                                                        << "%-";
}

void tst_totals::loadedAndClosed() {
    QFETCH(QString, stored);
    QFETCH(QString, type);
    QFETCH(QString, shown);
    QFETCH(QString, storedAgain);
    QFETCH(QString, closedType);
    QFETCH(QString, closedStored);
    const AdminAmount a = Totals::loadedAdmin(stored, showing("$1.00"));
    QCOMPARE(a.typeText(), type);
    QCOMPARE(a.shown, shown);
    QCOMPARE(a.amount, Money::fromText(shown));
    QCOMPARE(a.storedText(), storedAgain);

    const AdminAmount closed = Totals::closedAdmin(a);
    QCOMPARE(closed.typeText(), closedType);
    QCOMPARE(closed.shown, Totals::kNotFigured);
    QCOMPARE(closed.amount, Money());
    QCOMPARE(closed.storedText(), closedStored);
}

void tst_totals::sumByType() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    modTempDB::CreateTempDB(ctx);
    QCOMPARE(Totals::sumByType(ctx), Totals::TypeTotals{});

    struct Line {
        const char* type;
        qint64 cents;
    };
    // Type names match whatever their case; a type the tab does not list counts nowhere.
    const Line lines[] = {{"Material", 10050}, {"material", 25}, {"Labor", 7000},
                          {"SUBCON", -1500},   {"Fee", 3},       {"Unit_Item", 16000},
                          {"Other", 99999}};
    for (const Line& l : lines)
        modData::exec(ctx, ctx.TempDBConn,
                      "insert into tpLineItems(ItemID,Sect,SecOrder,Name,ItemTable,Qty,Unit,"
                      "Cost,LineTotal) values(1,'S',0,'x',?,1,'ea',?,?)",
                      {QString::fromLatin1(l.type), l.cents * 100, l.cents * 100});
    const Totals::TypeTotals expected = {Money::fromCents(10075), Money::fromCents(7000),
                                         Money::fromCents(-1500), Money(),
                                         Money::fromCents(3),     Money::fromCents(16000)};
    QCOMPARE(Totals::sumByType(ctx), expected);
}

QTEST_MAIN(tst_totals)
#include "tst_totals.moc"
