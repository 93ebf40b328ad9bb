// The start page: the estimates opened or saved last, each opened with one click, and how many
// pending estimates expire soon.
#include "../estimates/StoredEstimate.h"
#include "TestContext.h"

#include "app/StartPage.h"
#include "app/frmCorvanel.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/modSaveEst.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace StoredEstimate;

namespace {

// A stored estimate with one line, saved as Working.
int saved(AppContext& ctx, const QString& name, const QString& cost) {
    start(ctx, name);
    line(ctx, 1, "Shingles", 0, "Shingles", 1, cost);
    modSaveEst::SaveInput in;
    in.admin = {"%-0", "%-0", "Fixed-.00", "%-0"};
    modSaveEst::saveEstimate(ctx, in);
    const int id = ctx.EstID;
    ctx.EstID = 0;
    ctx.EstConn.clear();
    return id;
}

QStringList rowsOf(QTreeWidget* t) {
    QStringList out;
    for (int r = 0; r < t->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << t->topLevelItem(r)->text(c);
        out << cells.join('|');
    }
    return out;
}

void clickRow(QTreeWidget* t, int row) {
    QTreeWidgetItem* item = t->topLevelItem(row);
    QVERIFY(item);
    const QRect r = t->visualItemRect(item);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class tst_start_page : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void recentWorkInOrder();
    void oneClickOpens();
    void expiringCount_data();
    void expiringCount();
};

void tst_start_page::recentWorkInOrder() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    {
        frmCorvanel w(ctx);
        QCOMPARE(rowsOf(w.startPage->lstRecent),
                 QStringList{"No estimate has been opened or saved yet.|||"});
        QVERIFY(!(w.startPage->lstRecent->topLevelItem(0)->flags() & Qt::ItemIsEnabled));
    }
    QList<int> ids;
    for (int i = 0; i < 10; ++i)
        ids << saved(ctx, QStringLiteral("Estimate%1").arg(QChar('A' + i)),
                     QStringLiteral("%1.25").arg(100 * (i + 1)));
    modData::exec(ctx, ctx.MastEstConn, "update master set eststatus='Pending' where id=?",
                  {ids[9]});
    frmCorvanel w(ctx);
    const QStringList rows = rowsOf(w.startPage->lstRecent);
    // The last eight, the last saved first.
    QCOMPARE(rows.size(), StartPage::RecentCount);
    QCOMPARE(rows.first(), QStringLiteral("EstimateJ|Zoë O'Brien|Pending|$1,000.25"));
    QCOMPARE(rows[1], QStringLiteral("EstimateI|Zoë O'Brien|Working|$900.25"));
    QCOMPARE(rows.last(), QStringLiteral("EstimateC|Zoë O'Brien|Working|$300.25"));
}

void tst_start_page::oneClickOpens() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int first = saved(ctx, "First", "10.00");
    saved(ctx, "Second", "20.00");
    frmCorvanel w(ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.startPage->lstRecent->topLevelItem(1)->text(0), QStringLiteral("First"));
    clickRow(w.startPage->lstRecent, 1);
    QCOMPARE(ctx.WorkMode, Mode::Open);
    QCOMPARE(ctx.EstID, first);
    QVERIFY(w.tabsVisible());
    QCOMPARE(w.owner->txtEstName->text(), QStringLiteral("First"));
    // While an estimate is open the page's list cannot open another.
    QVERIFY(!w.startPage->lstRecent->isEnabled());
    w.openEstimate(first + 1);
    QCOMPARE(ctx.EstID, first);

    // Back to idle, the estimate just opened heads the list.
    w.mnuEstClose->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QVERIFY(w.startPage->lstRecent->isEnabled());
    QCOMPARE(w.startPage->lstRecent->topLevelItem(0)->text(0), QStringLiteral("First"));
}

void tst_start_page::expiringCount_data() {
    QTest::addColumn<QList<int>>("daysAgo"); // pending estimates valid 30 days
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QList<int>{31} << "No pending estimate expires within 7 days.";
    QTest::newRow("one") << QList<int>{24, 0} << "1 pending estimate expires within 7 days.";
    QTest::newRow("several") << QList<int>{24, 28, 29, 40}
                             << "3 pending estimates expire within 7 days.";
}

void tst_start_page::expiringCount() {
    QFETCH(QList<int>, daysAgo);
    QFETCH(QString, text);
    TestContext tc;
    for (int d : daysAgo)
        modData::exec(tc.ctx, tc.ctx.MastEstConn,
                      "insert into master(estname,eststatus,estdate,estlength) "
                      "values('P','Pending',?,30)",
                      {QDate::currentDate().addDays(-d).toString(Qt::ISODate)});
    frmCorvanel w(tc.ctx);
    QCOMPARE(w.startPage->lblExpiring->text(), text);
}

QTEST_MAIN(tst_start_page)
#include "tst_start_page.moc"
