#include "common/ErrorMessage.h"
#include "common/Money.h"
#include "common/Numbers.h"
#include "common/Prompt.h"
#include "common/Quantity.h"

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
        // The whole part fits, its ten-thousandths do not.
        QTest::newRow("just too large") << "922337203685479" << false << qint64(0);
        QTest::newRow("largest") << "922337203685477.5807" << true << qint64(INT64_MAX);
        QTest::newRow("exponent") << "1e5" << false << qint64(0);
        QTest::newRow("comma decimal in US English") << "1,5" << false << qint64(0);
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

    // One reading for every number box, in every locale: the user's decimal point or a plain
    // period, grouping only where it cannot be a decimal point, no exponents. An empty `plain`
    // means the text is refused.
    void readingInEveryLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        const QString us = "en_US", de = "de_DE", c = "C", fr = "fr_FR";
        for (const QString& loc : {us, de, c, fr}) {
            QTest::newRow(qPrintable(loc + " period decimal")) << loc << "8.5"
                                                               << "8.5";
            QTest::newRow(qPrintable(loc + " whole")) << loc << " 12 "
                                                      << "12";
            QTest::newRow(qPrintable(loc + " negative")) << loc << "-0.25"
                                                         << "-0.25";
            QTest::newRow(qPrintable(loc + " plus")) << loc << "+3"
                                                     << "3";
            QTest::newRow(qPrintable(loc + " leading point")) << loc << ".5"
                                                              << "0.5";
            QTest::newRow(qPrintable(loc + " exponent")) << loc << "1e5"
                                                         << "";
            QTest::newRow(qPrintable(loc + " inf")) << loc << "inf"
                                                    << "";
            QTest::newRow(qPrintable(loc + " two points")) << loc << "1.2.3"
                                                           << "";
            QTest::newRow(qPrintable(loc + " sign only")) << loc << "-"
                                                          << "";
            QTest::newRow(qPrintable(loc + " letters")) << loc << "12a"
                                                        << "";
            // The program writes a period decimal; it reads back the same everywhere.
            QTest::newRow(qPrintable(loc + " three decimals")) << loc << "1.234"
                                                               << "1.234";
        }
        QTest::newRow("en_US grouped") << us << "1,234"
                                       << "1234";
        QTest::newRow("en_US grouped decimal") << us << "1,234,567.25"
                                               << "1234567.25";
        QTest::newRow("en_US comma is no decimal") << us << "1,5"
                                                   << "";
        QTest::newRow("en_US irregular groups") << us << "12,34"
                                                << "";
        QTest::newRow("en_US group after the point") << us << "1.234,5"
                                                     << "";
        QTest::newRow("C grouped") << c << "1,234.5"
                                   << "1234.5";
        QTest::newRow("C comma is no decimal") << c << "1,5"
                                               << "";
        QTest::newRow("de_DE comma decimal") << de << "1,5"
                                             << "1.5";
        QTest::newRow("de_DE grouped decimal") << de << "1.234,5"
                                               << "1234.5";
        QTest::newRow("de_DE two groups") << de << "1.234.567"
                                          << "1234567";
        QTest::newRow("de_DE long period decimal") << de << "1234.5"
                                                   << "1234.5";
        QTest::newRow("de_DE leading zero group") << de << "0.125"
                                                  << "0.125";
        QTest::newRow("de_DE US form") << de << "1,234.5"
                                       << "";
        QTest::newRow("fr_FR comma decimal") << fr << "2,5"
                                             << "2.5";
        QTest::newRow("fr_FR blank groups") << fr << "1 234,5"
                                            << "1234.5";
        QTest::newRow("fr_FR no-break groups") << fr << QString("1\u202F234") << "1234";
    }
    void readingInEveryLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, plain);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const std::optional<QString> read = Numbers::plainText(text);
        const auto money = Money::parse(text);
        const auto qty = Quantity::parse(text);
        const auto number = Numbers::parse(text);
        QLocale::setDefault(before);
        QCOMPARE(read.value_or(QString()), plain);
        QCOMPARE(number.has_value(), !plain.isEmpty());
        QCOMPARE(money.has_value(), !plain.isEmpty());
        QCOMPARE(qty.has_value(), !plain.isEmpty());
        if (plain.isEmpty())
            return;
        // What is priced (the amount) and what is stored (the quantity) are the same number.
        const qint64 raw = Numbers::tenThousandths(plain).value();
        QCOMPARE(money->raw(), raw);
        QCOMPARE(qty->raw(), raw);
        QCOMPARE(*number, plain.toDouble());
    }

    // Amounts stored by earlier versions as currency text still read, under any locale.
    void storedAmounts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<qint64>("raw");
        for (const QString loc : {"en_US", "de_DE", "C"}) {
            QTest::newRow(qPrintable(loc + " plain")) << loc << "1234.5" << qint64(12345000);
            QTest::newRow(qPrintable(loc + " US currency"))
                << loc << "$1,234.50" << qint64(12345000);
            QTest::newRow(qPrintable(loc + " negative")) << loc << "($50.00)" << qint64(-500000);
            QTest::newRow(qPrintable(loc + " not an amount")) << loc << "..." << qint64(-1);
        }
        QTest::newRow("de_DE euro")
            << "de_DE" << QString("1.234,50\u00A0\u20AC") << qint64(12345000);
    }
    void storedAmounts() {
        QFETCH(QString, locale);
        QFETCH(QString, stored);
        QFETCH(qint64, raw);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const auto m = Money::parseStored(stored);
        QLocale::setDefault(before);
        QCOMPARE(m.has_value(), raw != -1);
        if (m)
            QCOMPARE(m->raw(), raw);
    }

    void quantities_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("german");
        QTest::newRow("whole") << qint64(80000) << "8"
                               << "8";
        QTest::newRow("half") << qint64(85000) << "8.5"
                              << "8,5";
        QTest::newRow("two decimals") << qint64(83600) << "8.36"
                                      << "8,36";
        QTest::newRow("four decimals") << qint64(1) << "0.0001"
                                       << "0,0001";
        QTest::newRow("negative") << qint64(-2500) << "-0.25"
                                  << "-0,25";
        QTest::newRow("large") << qint64(123456780000) << "12345678"
                               << "12345678";
    }
    void quantities() {
        QFETCH(qint64, raw);
        QFETCH(QString, plain);
        QFETCH(QString, german);
        const Quantity q = Quantity::fromRaw(raw);
        QCOMPARE(q.toPlain(), plain);
        QCOMPARE(q.toText(), plain);
        QCOMPARE(Quantity::parse(q.toText()), q);
        const QLocale before;
        QLocale::setDefault(QLocale("de_DE"));
        const QString shown = q.toText();
        const auto back = Quantity::parse(shown);
        QLocale::setDefault(before);
        QCOMPARE(shown, german);
        QCOMPARE(back, q);
    }

    // Quantity × unit price, to the cent, halves away from zero, refused when too large.
    void priceTimesQuantity_data() {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<qint64>("total"); // -1: refused
        QTest::newRow("8.5 squares") << "115"
                                     << "8.5" << qint64(9775000);
        QTest::newRow("8.36 squares") << "115.5"
                                      << "8.36" << qint64(9655800);
        QTest::newRow("below half a cent") << "1.0049"
                                           << "1" << qint64(10000);
        QTest::newRow("half a cent") << "0.005"
                                     << "1" << qint64(100);
        QTest::newRow("just below half a cent") << "1.0099"
                                                << "0.4975" << qint64(5000);
        QTest::newRow("negative half") << "-0.005"
                                       << "1" << qint64(-100);
        QTest::newRow("credit") << "-12.5"
                                << "2.5" << qint64(-312500);
        QTest::newRow("largest quantity and price") << "1000000000"
                                                    << "1000000000" << qint64(-1);
        QTest::newRow("just fits") << "922337203685"
                                   << "1000" << qint64(9223372036850000000);
    }
    void priceTimesQuantity() {
        QFETCH(QString, price);
        QFETCH(QString, qty);
        QFETCH(qint64, total);
        const auto t = Money::parse(price)->times(*Quantity::parse(qty));
        QCOMPARE(t.has_value(), total != -1);
        if (t)
            QCOMPARE(t->raw(), total);
    }

    void sumsThatDoNotFit() {
        QCOMPARE(Money::sum(Money::fromRaw(5), Money::fromRaw(-7)), Money::fromRaw(-2));
        QCOMPARE(Money::sum(Money::max(), Money::fromRaw(1)), std::nullopt);
        QCOMPARE(Money::sum(Money::min(), Money::fromRaw(-1)), std::nullopt);
        QCOMPARE(Money::sum(Money::max(), Money::min()), Money());
        // A double beyond the type reads as nothing rather than wrapping.
        QCOMPARE(Money::fromDouble(1e300), Money());
        QCOMPARE(Money::fromDouble(-1e15).raw(), qint64(0));
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
        QTest::newRow("exponent") << "1e5" << false << 0.0;
        QTest::newRow("comma decimal") << "1,5" << false << 0.0;
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
