#include "common/ErrorMessage.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "common/Prompt.h"

#include <QLocale>
#include <QTest>

class TestMoney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("plain") << "12.5" << true << qint64(125000);
        QTest::newRow("whole") << "100" << true << qint64(1000000);
        QTest::newRow("currency") << "$1,234.50" << true << qint64(12345000);
        QTest::newRow("negative currency") << "-$5.00" << true << qint64(-50000);
        QTest::newRow("accounting negative") << "($120.00)" << true << qint64(-1200000);
        QTest::newRow("four decimals") << "1.2345" << true << qint64(12345);
        QTest::newRow("fifth decimal half to even") << "0.00005" << true << qint64(0);
        QTest::newRow("fifth decimal half odd") << "0.00015" << true << qint64(2);
        QTest::newRow("fifth decimal above half") << "0.000051" << true << qint64(1);
        QTest::newRow("leading period") << ".5" << true << qint64(5000);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("text") << "abc" << false << qint64(0);
        QTest::newRow("two points") << "1.2.3" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("huge") << "99999999999999999999999" << false << qint64(0);
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, raw);
        const auto m = Money::parse(text);
        QCOMPARE(m.has_value(), ok);
        if (ok)
            QCOMPARE(m->raw(), raw);
    }

    void formats() {
        QCOMPARE(Money::fromRaw(125000).toSql(), QString("12.5"));
        QCOMPARE(Money::fromRaw(1000000).toSql(), QString("100"));
        QCOMPARE(Money::fromRaw(-2500).toSql(), QString("-0.25"));
        QCOMPARE(Money::fromRaw(1).toSql(), QString("0.0001"));
        QCOMPARE(Money::fromRaw(12345000).toCurrency(), QString("$1,234.50"));
        QCOMPARE(Money::fromRaw(12345000).toGrouped(), QString("1,234.50"));
        // Display rounds halves away from zero: 1 % of 0.50 is 0.005 and shows as 0.01.
        QCOMPARE(Money::fromRaw(50).toCurrency(), QString("$0.01"));
        QCOMPARE(Money::fromRaw(-50).roundedToCents().raw(), qint64(-100));
        QCOMPARE(Money::fromRaw(49).toCurrency(), QString("$0.00"));
        // Round trip of what the program shows.
        QCOMPARE(Money::fromText(Money::fromRaw(-1200000).toCurrency()).raw(), qint64(-1200000));
    }

    void fromDoubleRoundsHalfToEven() {
        QCOMPARE(Money::fromDouble(136.5).raw(), qint64(1365000));
        QCOMPARE(Money::fromDouble(0.00005).raw(), qint64(0)); // .5 ten-thousandth, to even
        QCOMPARE(Money::fromDouble(0.25 * 12.0).raw(), qint64(30000));
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("int") << "30" << true << 30.0;
        QTest::newRow("decimal") << "25.5" << true << 25.5;
        QTest::newRow("grouped") << "1,850" << true << 1850.0;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("blank") << "  " << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "12a" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QCOMPARE(Numbers::isNumber(text), ok);
        QCOMPARE(Numbers::value(text), value);
    }

    void rounding() {
        QCOMPARE(Numbers::toLong(12.5), 12);
        QCOMPARE(Numbers::toLong(7.5), 8);
        QCOMPARE(Numbers::toLong(10.5), 10);
        QCOMPARE(Numbers::toLong(184.5), 184);
        QCOMPARE(Numbers::toLong(-2.5), -2);
        QCOMPARE(Numbers::toLong(1e12), std::numeric_limits<std::int32_t>::max());
        QCOMPARE(Numbers::roundHalfEven(1.23456, 3), 1.235);
        QCOMPARE(Numbers::roundHalfEven(0.0625, 3), 0.062);
        QCOMPARE(Numbers::roundHalfEven(0.1875, 3), 0.188);
        QCOMPARE(Numbers::roundHalfAway(184.5), 185.0);
        QCOMPARE(Numbers::shortest(2.5), QString("2.5"));
        QCOMPARE(Numbers::shortest(20.0 * 7.65 * 0.01), QString("1.53"));
        QCOMPARE(Numbers::shortest(26.0), QString("26"));
        QCOMPARE(Numbers::shortest(0.1 * 3), QString("0.3"));
    }

    void standardErrorMessage() {
        QCOMPARE(
            ErrorMessage::text(3021, "No current record", "SaveEst", "Form frmCorvanel"),
            QString("Error 3021 (No current record) in procedure SaveEst of Form frmCorvanel"));
        ScriptedPrompt p;
        ErrorMessage::show(p, 5, "Bad", "ActiveMenu", "Form frmCorvanel");
        QCOMPARE(p.count(), 1);
        QCOMPARE(p.shown().first().title, QString("Corvanel"));
        QVERIFY(!p.shown().first().question);
    }

    void scriptedPromptAnswersInOrder() {
        ScriptedPrompt p;
        p.answerAll({Prompt::Answer::Yes, Prompt::Answer::No});
        QCOMPARE(
            p.ask("a", "t", Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::No),
            Prompt::Answer::Yes);
        QCOMPARE(
            p.ask("b", "t", Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::Yes),
            Prompt::Answer::No);
        // With nothing prepared the default button answers.
        QCOMPARE(
            p.ask("c", "t", Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::No),
            Prompt::Answer::No);
        QCOMPARE(p.texts(), QStringList({"a", "b", "c"}));
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
