// The lists of estimates: owners and totals kept in the master list, the Open window's table
// and its search, the Manage window's search, and the estimates used last.
#include "StoredEstimate.h"
#include "TestContext.h"

#include "app/frmCorvanel.h"
#include "common/TextSearch.h"
#include "estimates/EstFacts.h"
#include "estimates/EstList.h"
#include "estimates/forms/EstimateTable.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmManageStatus.h"
#include "estimates/forms/frmOpenEst.h"
#include "estimates/modManage.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/modGrid.h"
#include "storage/Connections.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace StoredEstimate;
using Answer = Prompt::Answer;

namespace {

struct Stored {
    QString name, first, last, address, status;
    int daysAgo;     // estdate is this many days before today; -1 for no date
    int length;      // days valid
    qlonglong total; // ten-thousandths; -1 for none known
};

int addStored(AppContext& ctx, const Stored& s) {
    const QDate today = QDate::currentDate();
    modData::exec(
        ctx, ctx.MastEstConn,
        "insert into master(estname,esttype,estaddress,estpath,eststatus,estdate,"
        "estlength,estowner,esttotal) values(?,?,?,?,?,?,?,?,?)",
        {s.name, "Reroof", s.address, s.name + "/" + s.name + ".db", s.status,
         s.daysAgo < 0 ? QVariant() : QVariant(today.addDays(-s.daysAgo).toString(Qt::ISODate)),
         s.length, EstFacts::ownerName(s.first, s.last),
         s.total < 0 ? QVariant() : QVariant(s.total)});
    return modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
}

// Three estimates whose owners and addresses need folding to be found.
QList<int> addThree(AppContext& ctx) {
    return {addStored(
                ctx, {"OBrienTearOff", "Zoë", "O'Brien", "12 Elm St", "Pending", 2, 30, 179665000}),
            addStored(ctx, {"SmithGarage", "John", "Smith", "4 Oak Ave", "Working", 0, 30, -1}),
            addStored(ctx, {"MuellerGutters", "Anna", "Müller", "3 Rue de l'Église", "Accepted", 40,
                            30, 52500000})};
}

QList<int> shownIds(const EstimateTable& t) {
    QList<int> ids;
    for (int r = 0; r < t.rowCount(); ++r)
        ids << t.idAt(r);
    return ids;
}

QString cell(const QAbstractItemModel* m, int row, int column) {
    return m->index(row, column).data().toString();
}

qlonglong storedTotal(AppContext& ctx, int id) {
    const QVariant v =
        modData::scalar(ctx, ctx.MastEstConn, "select esttotal from master where id=?", {id});
    return v.isNull() ? -1 : v.toLongLong();
}

QList<int> recentIds(AppContext& ctx, int count = 8) {
    QList<int> ids;
    for (const EstList::Row& r : EstList::recent(ctx, count))
        ids << r.id;
    return ids;
}

modSaveEst::SaveInput saveInput() {
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-10", "Fixed-$250.00", "%-2"};
    in.summary = "Tear off and re-roof";
    in.terms = "Half down";
    return in;
}

} // namespace

class tst_estimate_lists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void fold_data();
    void fold();
    void search_data();
    void search();
    void tableColumns_data();
    void tableColumns();
    void tableSorts();
    void totalKeptOnSave();
    void failedSaveKeepsTotal();
    void listTotalIsTheEstimateTotal();
    void ownerFollowsEdits();
    void recentOrder();
    void expiring_data();
    void expiring();
    void openSearchFindsAndOpens();
    void manageOpensOnAllAndSearches();
};

void tst_estimate_lists::fold_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("ascii") << "O'Brien Tear-Off"
                           << "o'brien tear-off";
    QTest::newRow("diaeresis") << "Zoë"
                               << "zoe";
    QTest::newRow("capital accent") << "ÉGLISE"
                                    << "eglise";
    QTest::newRow("cedilla and tilde") << "Façade São"
                                       << "facade sao";
    QTest::newRow("decomposed input") << QString::fromUtf8("Zoe\u0308") << "zoe";
    QTest::newRow("no decomposition") << "Øster"
                                      << "øster";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_estimate_lists::fold() {
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(TextSearch::fold(text), folded);
}

void tst_estimate_lists::search_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("found"); // positions in addThree
    QTest::newRow("nothing typed") << "" << QList<int>{0, 1, 2};
    QTest::newRow("blanks only") << "   " << QList<int>{0, 1, 2};
    QTest::newRow("owner without accent") << "zoe" << QList<int>{0};
    QTest::newRow("owner with accent, upper case") << "ZOË" << QList<int>{0};
    QTest::newRow("part of a name") << "tear" << QList<int>{0};
    QTest::newRow("apostrophe") << "o'brien" << QList<int>{0};
    QTest::newRow("two words, any order") << "elm 12" << QList<int>{0};
    QTest::newRow("words from name and owner") << "garage john" << QList<int>{1};
    QTest::newRow("address accent") << "eglise" << QList<int>{2};
    QTest::newRow("owner umlaut") << "muller" << QList<int>{2};
    QTest::newRow("one word missing") << "smith elm" << QList<int>{};
    QTest::newRow("not across fields") << "garagejohn" << QList<int>{};
    QTest::newRow("common letters") << "e" << QList<int>{0, 1, 2};
}

// The Open window's search, through its table: name, owner and address, every word.
void tst_estimate_lists::search() {
    QFETCH(QString, typed);
    QFETCH(QList<int>, found);
    TestContext tc;
    const QList<int> ids = addThree(tc.ctx);
    EstimateTable t;
    t.setRows(EstList::rows(tc.ctx), QDate::currentDate());
    t.setSearch(typed);
    QList<int> expected;
    for (int k : found)
        expected << ids[k];
    QCOMPARE(shownIds(t), expected);
    // The search is kept when the rows are read again.
    t.setRows(EstList::rows(tc.ctx), QDate::currentDate());
    QCOMPARE(shownIds(t), expected);
}

void tst_estimate_lists::tableColumns_data() {
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<int>("length");
    QTest::addColumn<qlonglong>("total");
    QTest::addColumn<QString>("daysLeft");
    QTest::addColumn<QString>("totalText");
    QTest::newRow("pending, weeks left") << "Pending" << 5 << 30 << 179665000LL << "25 days"
                                         << "$17,966.50";
    QTest::newRow("pending, one day left") << "Pending" << 29 << 30 << 10000LL << "1 day"
                                           << "$1.00";
    QTest::newRow("pending, expires today") << "Pending" << 30 << 30 << 10000LL << "Expired"
                                            << "$1.00";
    QTest::newRow("pending, long expired") << "Pending" << 400 << 30 << 10000LL << "Expired"
                                           << "$1.00";
    QTest::newRow("pending, undated") << "Pending" << -1 << 30 << 10000LL << "Expired"
                                      << "$1.00";
    QTest::newRow("working") << "Working" << 400 << 30 << -1LL << ""
                             << "";
    QTest::newRow("accepted") << "Accepted" << 400 << 30 << 5LL << ""
                              << "$0.00";
    QTest::newRow("rejected") << "Rejected" << 1 << 30 << 0LL << ""
                              << "$0.00";
}

void tst_estimate_lists::tableColumns() {
    QFETCH(QString, status);
    QFETCH(int, daysAgo);
    QFETCH(int, length);
    QFETCH(qlonglong, total);
    QFETCH(QString, daysLeft);
    QFETCH(QString, totalText);
    TestContext tc;
    const int id = addStored(tc.ctx, {"OBrienTearOff", "Zoë", "O'Brien", "12 Elm St, Apt #4",
                                      status, daysAgo, length, total});
    EstimateTable t;
    t.setRows(EstList::rows(tc.ctx), QDate::currentDate());
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.idAt(0), id);
    QCOMPARE(t.index(0, EstimateTable::Name).data(EstimateTable::IdRole).toInt(), id);
    QCOMPARE(cell(&t, 0, EstimateTable::Name), QStringLiteral("OBrienTearOff"));
    QCOMPARE(cell(&t, 0, EstimateTable::Owner), QStringLiteral("Zoë O'Brien"));
    QCOMPARE(cell(&t, 0, EstimateTable::Address), QStringLiteral("12 Elm St, Apt #4"));
    QCOMPARE(cell(&t, 0, EstimateTable::Type), QStringLiteral("Reroof"));
    QCOMPARE(cell(&t, 0, EstimateTable::Status), status);
    QCOMPARE(cell(&t, 0, EstimateTable::Date),
             daysAgo < 0 ? QString()
                         : QLocale().toString(QDate::currentDate().addDays(-daysAgo),
                                              QLocale::ShortFormat));
    QCOMPARE(cell(&t, 0, EstimateTable::DaysLeft), daysLeft);
    QCOMPARE(cell(&t, 0, EstimateTable::Total), totalText);
}

void tst_estimate_lists::tableSorts() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int zoe = addStored(ctx, {"Zed", "Zoë", "O'Brien", "1 A St", "Pending", 10, 30, 300});
    const int zoa = addStored(ctx, {"Able", "Zoa", "Ames", "2 B St", "Pending", 25, 30, -1});
    const int eve = addStored(ctx, {"Mid", "Émile", "Roy", "3 C St", "Accepted", 60, 30, 100});
    const int old = addStored(ctx, {"Old", "Al", "Bee", "4 D St", "Pending", 90, 30, 200});
    EstimateTable t;
    t.setRows(EstList::rows(ctx), QDate::currentDate());
    struct Case {
        int column;
        Qt::SortOrder order;
        QList<int> ids;
    };
    const Case cases[] = {
        // Accents sort with their letters: Émile among the e's, Zoë after Zoa.
        {EstimateTable::Owner, Qt::AscendingOrder, {old, eve, zoa, zoe}},
        {EstimateTable::Owner, Qt::DescendingOrder, {zoe, zoa, eve, old}},
        {EstimateTable::Name, Qt::AscendingOrder, {zoa, eve, old, zoe}},
        {EstimateTable::Date, Qt::DescendingOrder, {zoe, zoa, eve, old}},
        // A total not yet known comes last in either order.
        {EstimateTable::Total, Qt::AscendingOrder, {eve, old, zoe, zoa}},
        {EstimateTable::Total, Qt::DescendingOrder, {zoe, old, eve, zoa}},
        // Days left: the expired one first, the accepted one (no days) last.
        {EstimateTable::DaysLeft, Qt::AscendingOrder, {old, zoa, zoe, eve}},
        {EstimateTable::DaysLeft, Qt::DescendingOrder, {zoe, zoa, old, eve}},
    };
    for (const Case& c : cases) {
        t.sort(c.column, c.order);
        QCOMPARE(shownIds(t), c.ids);
    }
    // A search keeps the order.
    t.setSearch("zo");
    QCOMPARE(shownIds(t), (QList<int>{zoe, zoa}));
}

// The total of the estimate is written into the master list by every save, figured as the
// totals tab figures it.
void tst_estimate_lists::totalKeptOnSave() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "OBrienTearOff");
    const int id = ctx.EstID;
    QCOMPARE(storedTotal(ctx, id), -1LL);
    line(ctx, 17, "Tear-off", 0, "Tear-off, one layer", 8, "450.00");
    line(ctx, 1, "Shingles", 1, "Architectural shingles", 9, "1150.00");
    modSaveEst::saveEstimate(ctx, saveInput());
    // 13,950.00 of lines, 15 % and 10 % of it, a fixed 250.00 and 2 %.
    QCOMPARE(storedTotal(ctx, id), Money::parse("17966.50")->raw());

    modData::exec(ctx, ctx.TempDBConn,
                  "update tpLineItems set Qty=100000, LineTotal=? where Qty=90000",
                  {qlonglong(Money::parse("11500")->raw())});
    modSaveEst::SaveInput in = saveInput();
    in.admin = {"%-0", "Fixed-.00", "Fixed-...", "%-0"};
    modSaveEst::saveEstimate(ctx, in);
    QCOMPARE(storedTotal(ctx, id), Money::parse("15100")->raw());
    QCOMPARE(Money::fromRaw(storedTotal(ctx, id)),
             EstFacts::storedTotal(modData::db(ctx, ctx.EstConn)));
}

// A save that fails midway leaves the master list's total as it was, with the estimate.
void tst_estimate_lists::failedSaveKeepsTotal() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Kept");
    const int id = ctx.EstID;
    line(ctx, 1, "Shingles", 0, "Architectural shingles", 2, "100.00");
    modSaveEst::saveEstimate(ctx, saveInput());
    const qlonglong before = storedTotal(ctx, id);
    const QStringList master = dump(ctx, ctx.MastEstConn, "master");
    line(ctx, 2, "Shingles", 0, "Ridge cap", 5, "60.00");
    modSaveEst::SaveInput in = saveInput();
    in.beforeStatement = [](int statement) {
        if (statement == 1)
            throw modData::SqlError::message("disk full");
    };
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modSaveEst::saveEstimate(ctx, in));
    QCOMPARE(storedTotal(ctx, id), before);
    QCOMPARE(dump(ctx, ctx.MastEstConn, "master"), master);
}

// Through the windows: the total the Open table shows is the one the totals tab showed.
void tst_estimate_lists::listTotalIsTheEstimateTotal() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    const QStringList v = {"Zoë", "O'Brien", "12 Elm St", "Anytown", "555-123-4567", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText("Reroof");
    w.owner->cmdStartEst->click();
    const int id = ctx.EstID;
    for (const auto& [sect, order] : {std::pair{"Shingles", 0}, std::pair{"Flashing", 1}})
        modData::exec(ctx, ctx.TempDBConn, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                      {sect, order});
    line(ctx, 4, "Shingles", 0, "Shingles", 3, "45.50");
    line(ctx, 9, "Flashing", 1, "Drip edge", 10, "7.25");
    modGrid::RePopGrid(ctx);
    w.lines->PopEstiGrid();
    w.totals->FigureTotals();
    const QString shown = w.totals->lblEstTotal->text();
    QCOMPARE(shown, QStringLiteral("$375.88"));
    tc.prompt->answer(Answer::No);
    w.mnuEstSave->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Idle);

    frmOpenEst d(ctx);
    d.txtSearch->setText("zoe");
    QCOMPARE(d.estimates->rowCount(), 1);
    QCOMPARE(d.estimates->idAt(0), id);
    QCOMPARE(cell(d.estimates, 0, EstimateTable::Total), shown);
    QCOMPARE(cell(d.estimates, 0, EstimateTable::Owner), QStringLiteral("Zoë O'Brien"));
}

void tst_estimate_lists::ownerFollowsEdits() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Owned");
    const int id = ctx.EstID;
    auto owner = [&] {
        return modData::scalar(ctx, ctx.MastEstConn, "select estowner from master where id=?", {id})
            .toString();
    };
    QCOMPARE(owner(), QStringLiteral("Zoë O'Brien"));
    modManage::loadOwner(ctx, id);
    modManage::updateOwner(ctx, id,
                           {"Thị", "Nguyễn", "9 Pine Rd", "Helena", "555-0100", "555-0101", "1"});
    QCOMPARE(owner(), QStringLiteral("Thị Nguyễn"));
    EstimateTable t;
    t.setRows(EstList::rows(ctx), QDate::currentDate());
    t.setSearch("nguyen pine");
    QCOMPARE(shownIds(t), QList<int>{id});
}

// The estimates opened or saved last, the last first; estimates being started are not listed.
void tst_estimate_lists::recentOrder() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    QList<int> ids;
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        start(ctx, name);
        line(ctx, 1, "Shingles", 0, "Shingles", 1, "10.00");
        ids << ctx.EstID;
    }
    // Starting one is its first use.
    QCOMPARE(recentIds(ctx), (QList<int>{ids[2], ids[1], ids[0]}));
    modTempDB::CreateTempDB(ctx);
    modOpenEst::OpenOwner(ctx, ids[0]);
    QCOMPARE(recentIds(ctx), (QList<int>{ids[0], ids[2], ids[1]}));
    ctx.EstID = ids[1];
    ctx.EstConn = ctx.estimateDbPath("Beta/Beta.db");
    line(ctx, 1, "Shingles", 0, "Shingles", 1, "10.00");
    modSaveEst::saveEstimate(ctx, saveInput());
    QCOMPARE(recentIds(ctx), (QList<int>{ids[1], ids[0], ids[2]}));
    QCOMPARE(recentIds(ctx, 2), (QList<int>{ids[1], ids[0]}));
    // A reserved row of an estimate not yet started is no work to return to.
    modEst::CreateEstID(ctx);
    EstFacts::markUsed(ctx,
                       modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt());
    QCOMPARE(recentIds(ctx), (QList<int>{ids[1], ids[0], ids[2]}));
    const QList<EstList::Row> rows = EstList::recent(ctx, 1);
    QCOMPARE(rows.first().name, QStringLiteral("Beta"));
    QCOMPARE(rows.first().owner, QStringLiteral("Zoë O'Brien"));
    // 10.00 of lines, 15 % and 10 % of it, a fixed 250.00 and 2 %.
    QCOMPARE(rows.first().total, Money::parse("262.70"));
}

void tst_estimate_lists::expiring_data() {
    QTest::addColumn<QList<int>>("daysAgo"); // pending estimates valid 30 days
    QTest::addColumn<int>("expiring");
    QTest::newRow("none") << QList<int>{} << 0;
    QTest::newRow("one and seven days left") << QList<int>{29, 23} << 2;
    QTest::newRow("eight days left") << QList<int>{22} << 0;
    QTest::newRow("expired today or before") << QList<int>{30, 31, 200} << 0;
    QTest::newRow("mixed") << QList<int>{0, 25, 26, 30} << 2;
}

void tst_estimate_lists::expiring() {
    QFETCH(QList<int>, daysAgo);
    QFETCH(int, expiring);
    TestContext tc;
    for (int d : daysAgo)
        addStored(tc.ctx, {"P", "A", "B", "C", "Pending", d, 30, 1});
    // Other statuses never expire.
    addStored(tc.ctx, {"W", "A", "B", "C", "Working", 27, 30, 1});
    addStored(tc.ctx, {"R", "A", "B", "C", "Rejected", 27, 30, 1});
    QCOMPARE(EstList::expiringWithin(tc.ctx, QDate::currentDate(), 7), expiring);
}

// Typing "zoe" lists Zoë O'Brien's estimate with its owner and total; Enter opens it.
void tst_estimate_lists::openSearchFindsAndOpens() {
    TestContext tc;
    const QList<int> ids = addThree(tc.ctx);
    frmOpenEst d(tc.ctx);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.tblEstimates->model()->rowCount(), 3);
    // The four lists are still there, as they were.
    QVERIFY(d.lstEstList[1]->item(0)->text().startsWith("OBrienTearOff"));
    QVERIFY(d.txtSearch->hasFocus());
    QTest::keyClicks(d.txtSearch, "zoe");
    QCOMPARE(d.SSTab1->currentIndex(), int(frmOpenEst::TableTab));
    QAbstractItemModel* m = d.tblEstimates->model();
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(cell(m, 0, EstimateTable::Owner), QStringLiteral("Zoë O'Brien"));
    QCOMPARE(cell(m, 0, EstimateTable::Total), QStringLiteral("$17,966.50"));
    QTest::keyClick(d.txtSearch, Qt::Key_Return);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.chosenID(), ids[0]);
}

void tst_estimate_lists::manageOpensOnAllAndSearches() {
    TestContext tc;
    const QList<int> ids = addThree(tc.ctx);
    frmManageStatus d(tc.ctx);
    QCOMPARE(d.cmbFilter->currentText(), QStringLiteral("All"));
    QCOMPARE(d.List1->count(), 3);
    QTest::keyClicks(d.txtSearch, "EGLISE");
    QCOMPARE(d.List1->count(), 1);
    QCOMPARE(d.List1->item(0)->data(Qt::UserRole).toInt(), ids[2]);
    QVERIFY(d.List1->item(0)->text().startsWith("MuellerGutters"));
    // The status filter and the search narrow together.
    d.txtSearch->setText("ar");
    QCOMPARE(d.List1->count(), 2);
    d.cmbFilter->setCurrentIndex(d.cmbFilter->findText("Working"));
    d.PopList("Working");
    QCOMPARE(d.List1->count(), 1);
    QCOMPARE(d.List1->item(0)->data(Qt::UserRole).toInt(), ids[1]);
    d.txtSearch->setText("nobody");
    QCOMPARE(d.List1->count(), 1);
    QCOMPARE(d.List1->item(0)->text(), QStringLiteral("None"));
    // Enter in the search box chooses the estimate found.
    d.txtSearch->setText("smith");
    d.cmbFilter->setCurrentIndex(d.cmbFilter->findText("All"));
    d.PopList("All");
    QTest::keyClick(d.txtSearch, Qt::Key_Return);
    QTest::keyClick(d.txtSearch, Qt::Key_Return);
    QVERIFY(d.editing());
    QCOMPARE(d.Label8->text(), QString::number(ids[1]));
}

QTEST_MAIN(tst_estimate_lists)
#include "tst_estimate_lists.moc"
