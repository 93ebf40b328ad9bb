// Reports → "Estimate summary": counts and totals by status for a period, expired pending
// estimates apart, the win rate, pending work, the months, the CSV, the printed page and the
// window over them.
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "catalogue/CsvText.h"
#include "estimates/EstSummary.h"
#include "estimates/forms/frmEstSummary.h"
#include "storage/modData.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QValueAxis>
#include <cmath>
#include <limits>
#include <stdexcept>

using namespace EstSummary;

namespace {

// Every figure is seen on this day.
const QDate kToday(2026, 6, 15);

struct Stored {
    QString name, status;
    QString date; // ISO, empty for none
    int length;
    qlonglong total; // ten-thousandths; -1 for none known
};

// Estimates of every status over 2025–2027, with the edges of 2026 on both sides.
const QList<Stored> kKnown = {
    {"Working", "Working", "2026-01-10", 30, 10000000},   // $1,000.00
    {"Open", "Pending", "2026-06-01", 30, 25005000},      // $2,500.50, valid to 1 July
    {"RanOut", "Pending", "2026-03-01", 30, 8000000},     // $800.00, expired in March
    {"LastDay", "pending", "2026-06-10", 5, -1},          // expired on 15 June, no total
    {"Feb", "Accepted", "2026-02-28", 30, 50000000},      // $5,000.00
    {"NewYear", "Accepted", "2026-01-01", 30, 12345600},  // $1,234.56, first day
    {"Eve", "Rejected", "2026-12-31", 30, 3000000},       // $300.00, last day
    {"OldEve", "Rejected", "2025-12-31", 30, 99990000},   // the day before
    {"NextYear", "Accepted", "2027-01-01", 30, 77770000}, // the day after
    {"Undated", "Working", "", 30, 4000000},              // in no period
    {"Oddity", "Lost", "2026-05-05", 30, 1230000},        // a status not known: left out
    {"Cents", "Working", "2026-01-20", 30, 1234567},      // $123.4567 counts as $123.46
};

void store(AppContext& ctx, const QList<Stored>& list) {
    for (const Stored& s : list)
        modData::exec(ctx, ctx.MastEstConn,
                      "insert into master(estname,esttype,estaddress,estpath,eststatus,estdate,"
                      "estlength,estowner,esttotal) values(?,?,?,?,?,?,?,?,?)",
                      {s.name, "Reroof", "1 Elm St", s.name + "/" + s.name + ".db", s.status,
                       s.date.isEmpty() ? QVariant() : QVariant(s.date), s.length, "Zoë O'Brien",
                       s.total < 0 ? QVariant() : QVariant(s.total)});
}

QList<EstList::Row> knownRows() {
    QList<EstList::Row> rows;
    int id = 0;
    for (const Stored& s : kKnown) {
        EstList::Row r;
        r.id = ++id;
        r.name = s.name;
        r.status = s.status;
        r.date = QDate::fromString(s.date, Qt::ISODate);
        r.length = s.length;
        if (s.total >= 0)
            r.total = Money::fromRaw(s.total);
        rows << r;
    }
    return rows;
}

// "count:cents" per kind (Working, Pending, Expired, Accepted, Rejected), then "all".
QString tallies(const Figures& f) {
    QStringList parts;
    for (int k = 0; k < KindCount; ++k)
        parts << QStringLiteral("%1:%2")
                     .arg(f.byKind[std::size_t(k)].count)
                     .arg(f.byKind[std::size_t(k)].total.raw() / 100);
    parts << QStringLiteral("%1:%2").arg(f.all.count).arg(f.all.total.raw() / 100);
    return parts.join(QLatin1Char(' '));
}

QDate d(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

} // namespace

class tst_estimate_summary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void figures_data();
    void figures();
    void months();
    void totalsThatDoNotFit();
    void presetsOfTheYear();
    void csvRows();
    void csvFile();
    void window();
    void windowPeriods();
    void emptyPeriodAxisCountsInWholeSteps();
    void windowPrints();
    void windowExports();
    void menuOpensIt();
};

void tst_estimate_summary::figures_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("tallies");
    QTest::addColumn<QString>("winRate");
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("withoutTotal");

    // Working 1,000.00 + 123.46; Pending 2,500.50; Expired 800.00 and one without a total;
    // Accepted 5,000.00 + 1,234.56; Rejected 300.00.
    QTest::newRow("the year, both edges in") << d("2026-01-01") << d("2026-12-31")
                                             << "2:112346 1:250050 2:80000 2:623456 1:30000 "
                                                "8:1095852"
                                             << "66.7\u00A0%" << 12 << 1;
    QTest::newRow("January") << d("2026-01-01") << d("2026-01-31")
                             << "2:112346 0:0 0:0 1:123456 0:0 3:235802"
                             << "100\u00A0%" << 1 << 0;
    QTest::newRow("the last day alone")
        << d("2026-12-31") << d("2026-12-31") << "0:0 0:0 0:0 0:0 1:30000 1:30000"
        << "0\u00A0%" << 1 << 0;
    QTest::newRow("across the new year")
        << d("2025-12-15") << d("2026-01-05") << "0:0 0:0 0:0 1:123456 1:999900 2:1123356"
        << "50\u00A0%" << 2 << 0;
    QTest::newRow("nothing dated in it")
        << d("2030-01-01") << d("2030-12-31") << "0:0 0:0 0:0 0:0 0:0 0:0"
        << "\u2014" << 12 << 0;
    QTest::newRow("ends before it begins")
        << d("2026-12-31") << d("2026-01-01") << "0:0 0:0 0:0 0:0 0:0 0:0"
        << "\u2014" << 0 << 0;
}

void tst_estimate_summary::figures() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, tallies);
    QFETCH(QString, winRate);
    QFETCH(int, months);
    QFETCH(int, withoutTotal);
    // Through the master list, as the window reads it.
    TestContext tc;
    store(tc.ctx, kKnown);
    const Figures f = read(tc.ctx, from, to, kToday);
    QCOMPARE(::tallies(f), tallies);
    QCOMPARE(winRateText(f), winRate);
    QCOMPARE(int(f.months.size()), months);
    QCOMPARE(f.all.withoutTotal, withoutTotal);
    QCOMPARE(f.pendingValue(), f.byKind[Pending].total);
    // An estimate without a date is in no period; one of an unknown status is not counted.
    QCOMPARE(f.undated, to < from ? 0 : 1);
    // The months add up to the period.
    Tally sum;
    for (const Month& m : f.months) {
        sum.count += m.all.count;
        sum.total += m.all.total;
        int parts = 0;
        for (const Tally& t : m.byKind)
            parts += t.count;
        QCOMPARE(parts, m.all.count);
    }
    QCOMPARE(sum.count, f.all.count);
    QCOMPARE(sum.total, f.all.total);
}

void tst_estimate_summary::months() {
    const Figures f = figure(knownRows(), d("2026-01-01"), d("2026-12-31"), kToday);
    QStringList seen;
    for (const Month& m : f.months) {
        QStringList kinds;
        for (int k = 0; k < KindCount; ++k)
            if (m.byKind[std::size_t(k)].count)
                kinds << kindName(k);
        seen << m.first.toString("MM") + "=" + kinds.join('+');
    }
    QCOMPARE(seen.join(' '), QStringLiteral("01=Working+Accepted 02=Accepted 03=Expired 04= 05= "
                                            "06=Pending+Expired 07= 08= 09= 10= 11= 12=Rejected"));
    QCOMPARE(f.months[5].byKind[Expired].withoutTotal, 1);
    QCOMPARE(monthName(f.months[0].first), QStringLiteral("Jan 2026"));

    // Seen later, the open pending estimate has expired too.
    const Figures later = figure(knownRows(), d("2026-01-01"), d("2026-12-31"), d("2026-07-01"));
    QCOMPARE(later.byKind[Pending].count, 0);
    QCOMPARE(later.byKind[Expired].count, 3);
    QCOMPARE(later.pendingValue(), Money());
}

void tst_estimate_summary::totalsThatDoNotFit() {
    QList<EstList::Row> rows = knownRows().mid(0, 2);
    rows[0].total = Money::max();
    rows[1].status = "Working";
    rows[1].total = Money::fromRaw(10000);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error,
                             figure(rows, d("2026-01-01"), d("2026-12-31"), kToday));
}

void tst_estimate_summary::presetsOfTheYear() {
    QStringList seen;
    for (const Period& p : presets(d("2026-02-10")))
        seen << p.name + ":" + p.from.toString(Qt::ISODate) + ".." + p.to.toString(Qt::ISODate);
    QCOMPARE(
        seen,
        QStringList({"This year:2026-01-01..2026-12-31", "Last year:2025-01-01..2025-12-31",
                     "Last 12 months:2025-03-01..2026-02-28", "This quarter:2026-01-01..2026-03-31",
                     "This month:2026-02-01..2026-02-28", "Last month:2026-01-01..2026-01-31"}));
}

void tst_estimate_summary::csvRows() {
    const Figures f = figure(knownRows(), d("2026-01-01"), d("2026-02-28"), kToday);
    // Line by line, so that a difference shows where it is.
    QCOMPARE(
        csv(f).split("\r\n"),
        QStringList(
            {"Period,Status,Estimates,Total", "2026-01-01 to 2026-02-28,Working,2,1123.46",
             "2026-01-01 to 2026-02-28,Pending,0,0.00", "2026-01-01 to 2026-02-28,Expired,0,0.00",
             "2026-01-01 to 2026-02-28,Accepted,2,6234.56",
             "2026-01-01 to 2026-02-28,Rejected,0,0.00", "2026-01-01 to 2026-02-28,All,4,7358.02",
             "2026-01,Working,2,1123.46", "2026-01,Accepted,1,1234.56", "2026-01,All,3,2358.02",
             "2026-02,Accepted,1,5000.00", "2026-02,All,1,5000.00", ""}));
    // Credits are negative amounts, written with their sign.
    QList<EstList::Row> credit = knownRows().mid(0, 1);
    credit[0].total = Money::fromRaw(-12345);
    QVERIFY(csv(figure(credit, d("2026-01-01"), d("2026-01-31"), kToday))
                .contains("Working,1,-1.23\r\n"));
}

void tst_estimate_summary::csvFile() {
    QTemporaryDir dir;
    const Figures f = figure(knownRows(), d("2026-01-01"), d("2026-12-31"), kToday);
    const QString path = dir.filePath("summary.csv");
    QCOMPARE(writeCsv(f, path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), csv(f));
    // A spreadsheet reads it back as the same table: 4 columns, a row per status and "All",
    // then the months.
    const CsvText::Table t = CsvText::read(bytes, ',', CsvText::Encoding::Utf8);
    QVERIFY(t.error.isEmpty());
    QCOMPARE(t.rows.size(), std::size_t(1 + 6 + 12 + 7));
    for (const CsvText::Row& r : t.rows)
        QCOMPARE(r.fields.size(), 4);

    // A folder that does not exist: the user is told, nothing is written.
    const QString bad = dir.filePath("missing/summary.csv");
    QVERIFY(writeCsv(f, bad).startsWith("The estimate summary could not be written to " + bad));
    QVERIFY(!QFile::exists(bad));
}

void tst_estimate_summary::window() {
    TestContext tc;
    store(tc.ctx, kKnown);
    frmEstSummary w(tc.ctx, kToday);
    // This calendar year at first.
    QCOMPARE(w.cmbPeriod->currentText(), QStringLiteral("This year"));
    QCOMPARE(w.dtpFrom->date(), d("2026-01-01"));
    QCOMPARE(w.dtpTo->date(), d("2026-12-31"));

    QStringList table;
    for (int r = 0; r < w.tblSummary->rowCount(); ++r)
        table << w.tblSummary->item(r, 0)->text() + "|" + w.tblSummary->item(r, 1)->text() + "|" +
                     w.tblSummary->item(r, 2)->text();
    QCOMPARE(table,
             QStringList({"Working|2|$1,123.46", "Pending|1|$2,500.50", "Expired|2|$800.00 *",
                          "Accepted|2|$6,234.56", "Rejected|1|$300.00", "All|8|$10,958.52 *"}));
    QCOMPARE(w.lblWinRate->text(),
             QStringLiteral("Win rate: 66.7\u00A0% (2 accepted of 3 decided)"));
    QCOMPARE(w.lblPending->text(), QStringLiteral("Pending work: $2,500.50 in 1 estimate"));
    QVERIFY(w.lblNote->text().contains("1 estimate without a known total"));
    QVERIFY(w.lblNote->text().contains("1 estimate without a date is in no period."));

    // One bar per month, one stacked part per status.
    QChart* chart = w.chtMonths->chart();
    QVERIFY(chart);
    auto* series = qobject_cast<QStackedBarSeries*>(chart->series().value(0));
    QVERIFY(series);
    QCOMPARE(series->count(), int(KindCount));
    QCOMPARE(series->barSets()[Accepted]->label(), QStringLiteral("Accepted"));
    QCOMPARE(series->barSets()[Accepted]->at(1), 5000.0);
    QCOMPARE(series->barSets()[Working]->at(0), 1123.46);
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    QCOMPARE(axis->count(), 12);
    // Within one year the months are named alone, the year under them.
    QCOMPARE(axis->at(11), QStringLiteral("Dec"));
    QCOMPARE(axis->titleText(), QStringLiteral("2026"));

    // A dark palette: the chart follows it, its bars keep their colours.
    const QColor accepted = series->barSets()[Accepted]->color();
    QPalette dark = w.palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, Qt::white);
    w.setPalette(dark);
    QChart* redrawn = w.chtMonths->chart();
    QCOMPARE(redrawn->backgroundBrush().color(), QColor(40, 40, 40));
    QCOMPARE(redrawn->titleBrush().color(), QColor(Qt::white));
    auto* bars = qobject_cast<QStackedBarSeries*>(redrawn->series().value(0));
    QVERIFY(bars);
    QCOMPARE(bars->barSets()[Accepted]->color(), accepted);
}

void tst_estimate_summary::windowPeriods() {
    TestContext tc;
    store(tc.ctx, kKnown);
    frmEstSummary w(tc.ctx, kToday);
    // A period picked by name sets the dates.
    const int lastYear = w.cmbPeriod->findText("Last year");
    w.cmbPeriod->setCurrentIndex(lastYear);
    Q_EMIT w.cmbPeriod->activated(lastYear);
    QCOMPARE(w.dtpFrom->date(), d("2025-01-01"));
    QCOMPARE(w.dtpTo->date(), d("2025-12-31"));
    QCOMPARE(w.tblSummary->item(Rejected, 1)->text(), QStringLiteral("1"));
    QCOMPARE(w.lblWinRate->text(), QStringLiteral("Win rate: 0\u00A0% (0 accepted of 1 decided)"));

    // Dates typed: a period of no name.
    w.dtpTo->setDate(d("2026-01-05"));
    QCOMPARE(w.cmbPeriod->currentText(), QStringLiteral("Custom"));
    QCOMPARE(w.figures().all.count, 2);
    auto* months = qobject_cast<QBarCategoryAxis*>(w.chtMonths->chart()->axes(Qt::Horizontal)[0]);
    QCOMPARE(months->count(), 13);
    QCOMPARE(months->at(0), QStringLiteral("Jan 25"));

    // A period that ends before it begins says so and counts nothing.
    w.dtpFrom->setDate(d("2026-02-01"));
    QCOMPARE(w.figures().all.count, 0);
    QVERIFY(w.lblNote->text().startsWith("The period ends before it begins"));
    QCOMPARE(w.lblWinRate->text(), QStringLiteral("Win rate: \u2014"));
    QCOMPARE(tc.prompt->count(), 0);

    // In December the year and the last 12 months are the same dates: named as the year.
    frmEstSummary december(tc.ctx, d("2026-12-07"));
    QCOMPARE(december.cmbPeriod->currentText(), QStringLiteral("This year"));
}

// The amounts are labelled as whole numbers: each step between labels must be one, or an empty
// chart reads "0, 0, 0, 1, 1, 1" up its side.
void tst_estimate_summary::emptyPeriodAxisCountsInWholeSteps() {
    TestContext tc;
    frmEstSummary w(tc.ctx, kToday);
    QCOMPARE(w.figures().all.count, 0);
    auto* amounts = qobject_cast<QValueAxis*>(w.chtMonths->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(amounts);
    QCOMPARE(amounts->labelFormat(), QStringLiteral("%.0f"));
    const double step = (amounts->max() - amounts->min()) / (amounts->tickCount() - 1);
    QVERIFY2(step >= 1 && step == std::floor(step), qPrintable(QString::number(step)));
}

void tst_estimate_summary::windowPrints() {
    TestContext tc;
    store(tc.ctx, kKnown);
    frmEstSummary w(tc.ctx, kToday);
    QString printed, title;
    QImage chart;
    w.preview = [&](const QTextDocument& doc, const QString& t) {
        printed = doc.toPlainText();
        title = t;
        chart =
            doc.resource(QTextDocument::ImageResource, QUrl("summary-chart.png")).value<QImage>();
        return 1;
    };
    w.cmdPrintSummary->click();
    QCOMPARE(title, QStringLiteral("Estimate summary"));
    QVERIFY(printed.contains("Estimate summary"));
    QVERIFY(printed.contains("Accepted\n2\n$6,234.56"));
    QVERIFY(printed.contains("All\n8\n$10,958.52 *"));
    // (Plain text turns the blank before "%" that never breaks into an ordinary one.)
    QVERIFY(printed.contains("Win rate: 66.7 % (2 accepted of 3 decided)"));
    QVERIFY(printed.contains("Pending work: $2,500.50 in 1 estimate"));
    // The chart is on the page, drawn on white for paper.
    QVERIFY(!chart.isNull());
    QVERIFY(chart.width() >= 1200);
    QCOMPARE(chart.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_estimate_summary::windowExports() {
    TestContext tc;
    store(tc.ctx, kKnown);
    frmEstSummary w(tc.ctx, kToday);
    QTemporaryDir dir;
    QString path = dir.filePath("pipeline.csv");
    w.saveFileName = [&] { return path; };
    w.cmdExportSummary->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll().mid(3)), csv(w.figures()));
    QCOMPARE(tc.prompt->count(), 0);

    // Cancelled: nothing written, nothing said.
    path.clear();
    w.cmdExportSummary->click();
    QCOMPARE(tc.prompt->count(), 0);

    // A place that cannot be written: a warning that names it.
    path = dir.filePath("no/such/folder.csv");
    w.cmdExportSummary->click();
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(
        tc.prompt->lastText().startsWith("The estimate summary could not be written to " + path));
    QCOMPARE(tc.prompt->shown().last().icon, Prompt::Icon::Warning);
}

void tst_estimate_summary::menuOpensIt() {
    TestContext tc;
    store(tc.ctx, kKnown);
    frmCorvanel main(tc.ctx);
    QAction* action = main.findChild<QAction*>("mnuReportSummary");
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("Estimate summary"));
    QVERIFY(main.mnuReport->actions().contains(action));
    QVERIFY(action->isEnabled());
    QString opened;
    int counted = -1;
    UiTest::whenModal([&](QWidget* w) {
        opened = w->objectName();
        if (auto* s = qobject_cast<frmEstSummary*>(w)) {
            counted = s->figures().all.count + s->figures().undated;
            s->reject();
        }
    });
    action->trigger();
    QCOMPARE(opened, QStringLiteral("frmEstSummary"));
    QVERIFY(counted >= 1); // the undated estimate at least, whatever today is
    // Not while an estimate is open.
    main.ActiveMenu("new");
    QVERIFY(!action->isEnabled());
}

QTEST_MAIN(tst_estimate_summary)
#include "tst_estimate_summary.moc"
