#include "takeoff/RoofMath.h"

#include <QTest>
#include <cmath>

using namespace RoofMath;

class tst_roofmath : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void factorsFollowTheSlope();
    void quickFigures_data();
    void quickFigures();
    void areas_data();
    void areas();
    void lineals_data();
    void lineals();
};

void tst_roofmath::factorsFollowTheSlope() {
    for (int n = 1; n <= 18; ++n) {
        const double exact = std::sqrt(144.0 + n * n) / 12.0;
        QVERIFY2(std::fabs(double(PitchValue(n)) - exact) < 0.000006,
                 qPrintable(QString::number(n)));
    }
    QCOMPARE(PitchValue(9), 1.25f);
    QCOMPARE(PitchValue(12), 1.41421f);
    QCOMPARE(PitchValue(7), 1.1577f);
    for (int n : {0, -1, 19, 1000})
        QCOMPARE(PitchValue(n), 0.0f);
}

void tst_roofmath::quickFigures_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("area");
    QTest::newRow("30 x 20 at 12") << 30.0 << 20.0 << 12 << 849;
    QTest::newRow("25.5 x 40 at 6") << 25.5 << 40.0 << 6 << 1140;
    QTest::newRow("pitch 9 is exact") << 10.0 << 10.0 << 9 << 125;
    QTest::newRow("no pitch") << 10.0 << 10.0 << 0 << 0;
}

void tst_roofmath::quickFigures() {
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, pitch);
    QFETCH(int, area);
    QCOMPARE(quickFigure(width, height, pitch), area);
}

void tst_roofmath::areas_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("w1");
    QTest::addColumn<int>("w2");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("total");
    QTest::newRow("rectangle") << int(Rect) << 10 << 0 << 10 << 100;
    QTest::newRow("triangle 12.5 to even") << int(Tri) << 5 << 0 << 5 << 12;
    QTest::newRow("triangle 7.5 to even") << int(Tri) << 3 << 0 << 5 << 8;
    QTest::newRow("trapezoid") << int(Trap) << 10 << 20 << 7 << 105;
    QTest::newRow("largest rectangle fits") << int(Rect) << 10000 << 0 << 10000 << 100000000;
}

void tst_roofmath::areas() {
    QFETCH(int, shape);
    QFETCH(int, w1);
    QFETCH(int, w2);
    QFETCH(int, h);
    QFETCH(int, total);
    QCOMPARE(areaTotal(shape, w1, w2, h), total);
}

void tst_roofmath::lineals_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("roof");
    QTest::addColumn<int>("total");
    QTest::newRow("cap") << int(Cap) << 100.0 << 0.0 << 104;
    QTest::newRow("starter") << int(Starter) << 100.0 << 0.0 << 42;
    QTest::newRow("10 % of 1850") << int(Percent) << 10.0 << 1850.0 << 185;
    QTest::newRow("10 % of 1845 to even") << int(Percent) << 10.0 << 1845.0 << 184;
    QTest::newRow("% of no roof") << int(Percent) << 10.0 << 0.0 << 0;
    QTest::newRow("misc 12.5") << int(Misc) << 12.5 << 0.0 << 12;
    QTest::newRow("misc 100") << int(Misc) << 100.0 << 0.0 << 100;
}

void tst_roofmath::lineals() {
    QFETCH(int, type);
    QFETCH(double, length);
    QFETCH(double, roof);
    QFETCH(int, total);
    QCOMPARE(linealTotal(type, length, roof), std::optional<std::int32_t>(total));
    QVERIFY(!linealTotal(0, 10, 0));
    QVERIFY(!linealTotal(Percent, 10000, 1e9)); // beyond what a total can hold
}

QTEST_MAIN(tst_roofmath)
#include "tst_roofmath.moc"
