// Measurements as roofers write them, planes with their own pitch, squares with waste, and
// the words the grids and documents use for them.
#include "TestContext.h"

#include "takeoff/Measure.h"
#include "takeoff/RoofMath.h"
#include "takeoff/Takeoff.h"
#include "takeoff/TakeoffRule.h"

#include <QLocale>
#include <QTest>

using namespace RoofMath;

class tst_measure : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void reads_data();
    void reads();
    void refuses_data();
    void refuses();
    void readsTheUsersDecimalPoint();
    void planeSurfaces_data();
    void planeSurfaces();
    void squaresToOrder_data();
    void squaresToOrder();
    void linealKinds_data();
    void linealKinds();
    void areaInWords_data();
    void areaInWords();
    void rules_data();
    void rules();
};

void tst_measure::reads_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qlonglong>("tenThousandths");
    QTest::newRow("whole feet") << "30" << 300000LL;
    QTest::newRow("decimal feet") << "30.5" << 305000LL;
    QTest::newRow("feet and inches with marks") << "30' 6\"" << 305000LL;
    QTest::newRow("no space, no inch mark") << "30'6" << 305000LL;
    QTest::newRow("two numbers apart") << "30 6" << 305000LL;
    QTest::newRow("feet mark only") << "30'" << 300000LL;
    QTest::newRow("words") << "30 ft 6 in" << 305000LL;
    QTest::newRow("curly marks") << "30’ 6”" << 305000LL;
    QTest::newRow("inches alone") << "6\"" << 5000LL;
    QTest::newRow("7 inches to ten-thousandths") << "10' 7\"" << 105833LL;
    QTest::newRow("half inch") << "0' 0.5\"" << 417LL;
    QTest::newRow("11 inches") << "12' 11\"" << 129167LL;
    QTest::newRow("spaces around") << "  20 ' 3 \"  " << 202500LL;
    QTest::newRow("negative plain number for the range check") << "-4" << -40000LL;
}

void tst_measure::reads() {
    QFETCH(QString, typed);
    QFETCH(qlonglong, tenThousandths);
    const Measure::Reading r = Measure::read(typed);
    QVERIFY2(r.feet, qPrintable(r.error));
    QCOMPARE(qlonglong(*r.feet), tenThousandths);
    QVERIFY(r.error.isEmpty());
}

void tst_measure::refuses_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString how = "is not a measurement. Type feet as 30.5, or feet and inches as 30' 6\".";
    QTest::newRow("empty") << "  "
                           << "Please enter a measurement.";
    QTest::newRow("word") << "ten"
                          << "\"ten\" " + how;
    QTest::newRow("12 inches") << "30' 12\""
                               << "Inches must be less than 12 (\"30' 12\"\").";
    QTest::newRow("three numbers") << "30 6 2"
                                   << "\"30 6 2\" " + how;
    QTest::newRow("negative feet and inches") << "-30' 6\""
                                              << "\"-30' 6\"\" " + how;
    QTest::newRow("marks only") << "'\""
                                << "\"'\"\" " + how;
    QTest::newRow("exponent") << "1e3"
                              << "\"1e3\" " + how;
    QTest::newRow("inches first") << "6\" 30'"
                                  << "\"6\" 30'\" " + how;
}

void tst_measure::refuses() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const Measure::Reading r = Measure::read(typed);
    QVERIFY(!r.feet);
    QCOMPARE(r.error, message);
}

void tst_measure::readsTheUsersDecimalPoint() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Measure::read("30,5").feet, std::optional<std::int64_t>(305000));
    QCOMPARE(Measure::read("30.5").feet, std::optional<std::int64_t>(305000));
    QCOMPARE(Measure::read("30' 6,5\"").feet, std::optional<std::int64_t>(305417));
    QCOMPARE(Measure::text(305000), QStringLiteral("30,5 ft"));
    QCOMPARE(Measure::note("30' 6\""), QStringLiteral("= 30,5 ft"));
    TestContext::pinLocale();
    QCOMPARE(Measure::text(305000), QStringLiteral("30.5 ft"));
}

void tst_measure::planeSurfaces_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<double>("w1");
    QTest::addColumn<double>("w2");
    QTest::addColumn<double>("h");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<bool>("onSlope");
    QTest::addColumn<int>("surface");
    // 600 × 1.20185 = 721.11
    QTest::newRow("30 x 20 at 8/12 on the plan")
        << int(Rect) << 30.0 << 0.0 << 20.0 << 8 << false << 721;
    // 300 × 1.20185 = 360.555
    QTest::newRow("15 x 20 at 8/12 on the plan")
        << int(Rect) << 15.0 << 0.0 << 20.0 << 8 << false << 361;
    QTest::newRow("on the slope: no factor")
        << int(Rect) << 30.0 << 0.0 << 20.0 << 8 << true << 600;
    QTest::newRow("no pitch") << int(Rect) << 10.5 << 0.0 << 10.0 << 0 << false << 105;
    // 12.5 × 1.41421 = 17.68
    QTest::newRow("triangle at 12/12") << int(Tri) << 5.0 << 0.0 << 5.0 << 12 << false << 18;
    // (10 + 20) / 2 × 7 = 105, × 1.05409 = 110.68
    QTest::newRow("trapezoid at 4/12") << int(Trap) << 10.0 << 20.0 << 7.0 << 4 << false << 111;
    // 30.5 × 20.25 = 617.625 × 1.25 = 772.03
    QTest::newRow("feet and inches at 9/12")
        << int(Rect) << 30.5 << 0.0 << 20.25 << 9 << false << 772;
}

void tst_measure::planeSurfaces() {
    QFETCH(int, shape);
    QFETCH(double, w1);
    QFETCH(double, w2);
    QFETCH(double, h);
    QFETCH(int, pitch);
    QFETCH(bool, onSlope);
    QFETCH(int, surface);
    QCOMPARE(surfaceTotal(planArea(shape, w1, w2, h), pitch, onSlope), surface);
    // A rectangle on the plan figures as the quick figure does, at every pitch and size.
    for (int n = 1; n <= 18; ++n)
        for (double side : {20.0, 37.5, 10000.0})
            QCOMPARE(surfaceTotal(planArea(Rect, side, 0, 20), n, false), quickFigure(side, 20, n));
}

void tst_measure::squaresToOrder_data() {
    QTest::addColumn<qlonglong>("area");
    QTest::addColumn<qlonglong>("waste"); // ten-thousandths of a percent
    QTest::addColumn<QString>("squares");
    QTest::addColumn<qlonglong>("thirds");
    QTest::addColumn<QString>("order");
    // 1082 × 1.1 = 1190.2 sq ft = 11.902 squares: up to 12.
    QTest::newRow("two planes, 10 %") << 1082LL << 100000LL << "10.82" << 36LL << "12";
    QTest::newRow("exactly 12 squares stays 12") << 1200LL << 0LL << "12.00" << 36LL << "12";
    QTest::newRow("just over goes to a third") << 1201LL << 0LL << "12.01" << 37LL << "12.33";
    QTest::newRow("two thirds") << 1150LL << 0LL << "11.50" << 35LL << "11.67";
    // 1000 × 1.15 = 1150: 34.5 thirds, up to 35.
    QTest::newRow("15 % waste") << 1000LL << 150000LL << "10.00" << 35LL << "11.67";
    // 2.5 % of 1000 is 25: 10.25 squares, 30.75 thirds, up to 31.
    QTest::newRow("decimal waste") << 1000LL << 25000LL << "10.00" << 31LL << "10.33";
    QTest::newRow("nothing measured") << 0LL << 100000LL << "0.00" << 0LL << "0";
    QTest::newRow("one square foot") << 1LL << 0LL << "0.01" << 1LL << "0.33";
    QTest::newRow("large roof") << 2000000000LL << 1000000LL << "20,000,000.00" << 120000000LL
                                << "40,000,000";
}

void tst_measure::squaresToOrder() {
    QFETCH(qlonglong, area);
    QFETCH(qlonglong, waste);
    QFETCH(QString, squares);
    QFETCH(qlonglong, thirds);
    QFETCH(QString, order);
    const Takeoff::RoofTotals t = Takeoff::withTotal(area, 0, waste);
    QCOMPARE(t.squares(), squares);
    QCOMPARE(qlonglong(t.orderThirds()), thirds);
    QCOMPARE(t.squaresToOrder(), order);
}

void tst_measure::linealKinds_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("total");
    QTest::newRow("cap keeps its factor") << int(Cap) << "Cap"
                                          << "lf" << 100.0 << 104;
    QTest::newRow("starter keeps its factor") << int(Starter) << "Starter"
                                              << "lf" << 100.0 << 42;
    QTest::newRow("% of the roof") << int(Percent) << "%"
                                   << "%" << 10.0 << 185;
    QTest::newRow("misc") << int(Misc) << "Misc"
                          << "lf" << 12.5 << 12;
    QTest::newRow("ridge") << int(Ridge) << "Ridge"
                           << "lf" << 40.0 << 40;
    QTest::newRow("hip") << int(Hip) << "Hip"
                         << "lf" << 30.0 << 30;
    QTest::newRow("valley") << int(Valley) << "Valley"
                            << "lf" << 22.5 << 22;
    QTest::newRow("rake") << int(Rake) << "Rake"
                          << "lf" << 80.0 << 80;
    QTest::newRow("eave") << int(Eave) << "Eave"
                          << "lf" << 120.0 << 120;
    QTest::newRow("step flashing") << int(StepFlashing) << "Step flashing"
                                   << "lf" << 16.0 << 16;
    QTest::newRow("wall flashing") << int(WallFlashing) << "Wall flashing"
                                   << "lf" << 14.0 << 14;
    QTest::newRow("drip edge") << int(DripEdge) << "Drip edge"
                               << "lf" << 200.5 << 200;
}

void tst_measure::linealKinds() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, unit);
    QFETCH(double, length);
    QFETCH(int, total);
    QCOMPARE(linealName(type), name);
    QCOMPARE(linealUnit(type), unit);
    QCOMPARE(linealTotal(type, length, 1850), std::optional<std::int32_t>(total));
    QVERIFY(linealName(LastLinealType + 1).isEmpty());
    QVERIFY(!linealTotal(LastLinealType + 1, 10, 0));
}

void tst_measure::areaInWords_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<qlonglong>("w1");
    QTest::addColumn<qlonglong>("w2");
    QTest::addColumn<qlonglong>("h");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("quick");
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("plan");
    QTest::newRow("rectangle") << int(Rect) << 300000LL << 0LL << 200000LL << 8 << 721 << false
                               << "Rectangle 30 ft × 20 ft, 8/12, 721 sq ft" << 600;
    QTest::newRow("triangle without pitch")
        << int(Tri) << 305000LL << 0LL << 100000LL << 0 << 153 << false
        << "Triangle 30.5 ft × 10 ft, none, 153 sq ft" << 152;
    QTest::newRow("trapezoid") << int(Trap) << 100000LL << 200000LL << 70000LL << 4 << 111 << false
                               << "Trapezoid top 10 ft, bottom 20 ft × 7 ft, 4/12, 111 sq ft"
                               << 105;
    QTest::newRow("quick figure") << 0 << 300000LL << 0LL << 200000LL << 12 << 849 << true
                                  << "Whole roof 30 ft × 20 ft, 12/12, 849 sq ft" << 600;
    QTest::newRow("thousands") << int(Rect) << 1000000LL << 0LL << 1000000LL << 0 << 10000 << false
                               << "Rectangle 100 ft × 100 ft, none, 10,000 sq ft" << 10000;
}

void tst_measure::areaInWords() {
    QFETCH(int, shape);
    QFETCH(qlonglong, w1);
    QFETCH(qlonglong, w2);
    QFETCH(qlonglong, h);
    QFETCH(int, pitch);
    QFETCH(int, total);
    QFETCH(bool, quick);
    QFETCH(QString, words);
    QFETCH(int, plan);
    const Takeoff::Area a{shape, w1, w2, h, total, pitch, false};
    QCOMPARE(Takeoff::describeArea(a, quick), words);
    QCOMPARE(Takeoff::planTotal(a, quick), plan);
}

void tst_measure::rules_data() {
    using TakeoffRule::Measure;
    QTest::addColumn<int>("measure");
    QTest::addColumn<int>("kinds");
    QTest::addColumn<qlonglong>("amount");
    QTest::addColumn<bool>("perMeasure");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("qty"); // empty: nothing proposed
    QTest::addColumn<QString>("from");
    const int ridgeHip = 1 << Ridge | 1 << Hip;
    const int eaveRake = 1 << Eave | 1 << Rake;
    // The roof: 1082 sq ft with 10 % waste (12 squares to order), two planes, 40 ft of ridge,
    // 30 ft of hips, 120.5 ft of eaves, 80 ft of rakes.
    QTest::newRow("squares to order × 3 bundles")
        << int(Measure::SquaresToOrder) << 0 << 30000LL << true << "bdl"
        << "36"
        << "from 12 squares to order × 3 bdl";
    QTest::newRow("10 squares per roll")
        << int(Measure::SquaresToOrder) << 0 << 100000LL << false << "roll"
        << "2"
        << "from 12 squares to order ÷ 10 square per roll";
    QTest::newRow("roof area ÷ 100 sq ft per square")
        << int(Measure::RoofArea) << 0 << 1000000LL << false << "sq"
        << "11"
        << "from 1,082 sq ft of roof area ÷ 100 sq ft per sq";
    QTest::newRow("ridge and hip ÷ 33 lf per bundle")
        << int(Measure::Lineal) << ridgeHip << 330000LL << false << "bdl"
        << "3"
        << "from 70 lf of Ridge and Hip ÷ 33 lf per bdl";
    QTest::newRow("eave and rake ÷ 10 ft per piece")
        << int(Measure::Lineal) << eaveRake << 100000LL << false << "pc"
        << "21"
        << "from 200.5 lf of Rake and Eave ÷ 10 lf per pc";
    QTest::newRow("one lineal kind, per foot")
        << int(Measure::Lineal) << (1 << Eave) << 10000LL << true << "lf"
        << "121"
        << "from 120.5 lf of Eave × 1 lf";
    QTest::newRow("a count of planes") << int(Measure::Planes) << 0 << 20000LL << true << "ea"
                                       << "4"
                                       << "from 2 roof planes × 2 ea";
    QTest::newRow("a kind not measured")
        << int(Measure::Lineal) << (1 << Valley) << 660000LL << false << "roll"
        << ""
        << "";
    QTest::newRow("no coverage") << int(Measure::SquaresToOrder) << 0 << 0LL << true << "bdl"
                                 << ""
                                 << "";
    QTest::newRow("no measure") << int(Measure::None) << 0 << 30000LL << true << "bdl"
                                << ""
                                << "";
}

void tst_measure::rules() {
    QFETCH(int, measure);
    QFETCH(int, kinds);
    QFETCH(qlonglong, amount);
    QFETCH(bool, perMeasure);
    QFETCH(QString, unit);
    QFETCH(QString, qty);
    QFETCH(QString, from);
    TakeoffRule::RoofMeasures roof;
    roof.area = 1082;
    roof.orderThirds = Takeoff::withTotal(1082, 0, 100000).orderThirds();
    roof.planes = 2;
    roof.lengths = {
        {Ridge, 400000}, {Hip, 300000}, {Eave, 1205000}, {Rake, 800000}, {Percent, 100000}};
    const TakeoffRule::Rule r{TakeoffRule::Measure(measure), kinds, amount, perMeasure};
    const auto p = TakeoffRule::propose(r, roof, unit);
    QCOMPARE(p.has_value(), !qty.isEmpty());
    if (p) {
        QCOMPARE(p->qty.toPlain(), qty);
        QVERIFY(p->qty.isWhole());
        QCOMPARE(p->from, from);
    }
}

QTEST_GUILESS_MAIN(tst_measure)
#include "tst_measure.moc"
