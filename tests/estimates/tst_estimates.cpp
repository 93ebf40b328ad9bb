#include "StoredEstimate.h"
#include "TestContext.h"

#include "estimates/EstList.h"
#include "estimates/modEst.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/RuleQuantities.h"
#include "pricing/modGrid.h"
#include "storage/Connections.h"
#include "storage/PendingDeletes.h"
#include "storage/modTempDB.h"
#include "takeoff/Takeoff.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTest>

using namespace StoredEstimate;

class tst_estimates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }

    void isAlpha_data();
    void isAlpha();
    void builtNamesAreSafeFolderNames_data();
    void builtNamesAreSafeFolderNames();
    void reservedRowAndTypeList();
    void nameInUseSeesRowsAndFolders();
    void startWritesOwnerAndCompletesMaster();
    void failedStartLeavesNothingBehind();
    void removeFolderNeverLeavesTheEstimatesFolder();

    void saveInsertsThenUpdatesInPlace();
    void completeSaveMarksPendingToday();
    void failureMidwayLeavesStoredEstimateUnchanged();
    void failedWriteBackStoresNothingTwice_data();
    void failedWriteBackStoresNothingTwice();
    void openCopiesEverythingBack();
    void linesFollowTheRoofAfterReopen();
    void singleTotalAreaIsRecognised();
    void openOfMissingDatabaseCreatesNothing();

    void listFormats();
    void expiryNotes_data();
    void expiryNotes();
    void listsByStatus();
};

void tst_estimates::isAlpha_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstBad");
    QTest::newRow("letters and blank") << "Re roof" << -1;
    QTest::newRow("hyphen") << "Re-roof" << 2;
    QTest::newRow("digit") << "Roof 2" << 5;
    QTest::newRow("apostrophe") << "O'Brien" << 1;
    QTest::newRow("accented letter") << "Café" << 3;
    QTest::newRow("slash") << "a/b" << 1;
    QTest::newRow("empty") << "" << -1;
}

void tst_estimates::isAlpha() {
    QFETCH(QString, text);
    QFETCH(int, firstBad);
    QCOMPARE(modEst::firstNonAlpha(text), firstBad);
}

void tst_estimates::builtNamesAreSafeFolderNames_data() {
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Jones Reroof"
                           << "JonesReroof";
    QTest::newRow("apostrophe") << "O'Brien Reroof"
                                << "OBrienReroof";
    QTest::newRow("path separators") << "../x/y\\z Reroof"
                                     << "xyzReroof";
    QTest::newRow("nothing usable") << "12 - 34"
                                    << "Estimate7";
    QTest::newRow("too long") << QString(80, 'a') << QString(50, 'a');
}

void tst_estimates::builtNamesAreSafeFolderNames() {
    QFETCH(QString, built);
    QFETCH(QString, name);
    QCOMPARE(modEst::estNameFromBuilt(built, 7), name);
    QCOMPARE(modEst::estNameFromTyped("Smith Garage"), QStringLiteral("SmithGarage"));
}

void tst_estimates::reservedRowAndTypeList() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int id = modEst::CreateEstID(ctx);
    QVERIFY(id > 0);
    QSqlQuery q =
        modData::exec(ctx, ctx.MastEstConn,
                      "select eststatus,estlength,estdate,estname from master where id=?", {id});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Working"));
    QCOMPARE(q.value(1).toInt(), 30);
    QCOMPARE(q.value(2).toString(), QDate::currentDate().toString(Qt::ISODate));
    QVERIFY(q.value(3).isNull());
    // The reserved row has no type: it must not put an empty entry into the list.
    for (const char* t : {"Reroof", "Gutters", "reroof", "Addition"})
        modData::exec(ctx, ctx.MastEstConn, "insert into master(esttype) values(?)", {QString(t)});
    QCOMPARE(modEst::estimateTypes(ctx), QStringList({"Addition", "Gutters", "Reroof"}));
}

void tst_estimates::nameInUseSeesRowsAndFolders() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    modData::exec(ctx, ctx.MastEstConn, "insert into master(estname) values('SmithGarage')");
    const int own = modEst::CreateEstID(ctx);
    QVERIFY(modEst::nameInUse(ctx, "smithgarage", own));
    QVERIFY(!modEst::nameInUse(ctx, "JonesReroof", own));
    QDir().mkpath(ctx.estimatesDir() + "/JonesReroof");
    QVERIFY(modEst::nameInUse(ctx, "JONESREROOF", own));
    // Its own row does not count against it.
    modData::exec(ctx, ctx.MastEstConn, "update master set estname='Mine' where id=?", {own});
    QVERIFY(!modEst::nameInUse(ctx, "Mine", own));
}

void tst_estimates::startWritesOwnerAndCompletesMaster() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "OBrienReroof");
    QCOMPARE(ctx.EstName, QStringLiteral("OBrienReroof"));
    QCOMPARE(ctx.EstPath, QStringLiteral("OBrienReroof/OBrienReroof.db"));
    QVERIFY(QFile::exists(ctx.estimatesDir() + "/OBrienReroof/OBrienReroof.db"));
    QCOMPARE(dump(ctx, ctx.EstConn, "Main"),
             QStringList({"1|Zoë|O'Brien|12 Elm St|Anytown, MT 54321|555-123-4567|||||||||"}));
    QSqlQuery q = modData::exec(ctx, ctx.MastEstConn,
                                "select estname,estaddress,estpath,esttype from master where id=?",
                                {ctx.EstID});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("OBrienReroof"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("12 Elm St"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("OBrienReroof/OBrienReroof.db"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("Reroof"));
}

void tst_estimates::failedStartLeavesNothingBehind() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    ctx.EstID = modEst::CreateEstID(ctx);
    // The master row refuses a type longer than 25 characters: the folder and database made
    // before that step must go again.
    modEst::OwnerFields f = owner();
    f.estType = QString(26, 'x');
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modEst::startEstimate(ctx, "Smith", f));
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Smith"));
    QVERIFY(ctx.EstName.isEmpty());
    QVERIFY(ctx.EstConn.isEmpty());

    // A file where the folder should be: reported, and the file is left alone.
    QFile blocker(ctx.estimatesDir() + "/Jones");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modEst::startEstimate(ctx, "Jones", owner()));
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
    QVERIFY(
        modData::scalar(ctx, ctx.MastEstConn, "select estname from master where id=?", {ctx.EstID})
            .isNull());
}

void tst_estimates::removeFolderNeverLeavesTheEstimatesFolder() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    QDir().mkpath(ctx.estimatesDir() + "/Keep");
    QVERIFY(modEst::removeEstimateFolder(ctx, ""));
    QVERIFY(modEst::removeEstimateFolder(ctx, ".."));
    QVERIFY(modEst::removeEstimateFolder(ctx, "Missing"));
    QVERIFY(QFileInfo(ctx.estimatesDir() + "/Keep").isDir());
    start(ctx, "Gone");
    QVERIFY(modEst::removeEstimateFolder(ctx, "Gone"));
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Gone"));
    QVERIFY(QFileInfo(ctx.estimatesDir() + "/Keep").isDir());
}

namespace {
modSaveEst::SaveInput input(bool complete = false) {
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-15", "Fixed-100", "%-2"};
    in.complete = complete;
    return in;
}
} // namespace

void tst_estimates::saveInsertsThenUpdatesInPlace() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    area(ctx, 0, 6, 30, 0, 20, 849);
    lineal(ctx, 1, "Ridge 'A'", 100, 104);
    line(ctx, 4, "Shingles", 0, "O'Brien's shingles", 3, "45.50");
    modSaveEst::SaveInput in = input();
    in.summary = "It's a re-roof";
    modSaveEst::saveEstimate(ctx, in);

    QCOMPARE(dump(ctx, ctx.EstConn, "Areas"), QStringList({"1|0|6|30|0|20|849|0|0"}));
    QCOMPARE(dump(ctx, ctx.EstConn, "Lineal"), QStringList({"1|1|Ridge 'A'|100|104"}));
    QCOMPARE(count(ctx, ctx.EstConn, "LineItems"), 1);
    QCOMPARE(modData::scalar(ctx, ctx.EstConn, "select Name from LineItems").toString(),
             QStringLiteral("O'Brien's shingles"));
    QStringList stored;
    {
        QSqlQuery m = modData::exec(ctx, ctx.EstConn,
                                    "select Overhead,Profit,Contingency,Management,EstSummary,"
                                    "PaymentTerms from Main where ID=1");
        QVERIFY(m.next());
        for (int i = 0; i < 6; ++i)
            stored << m.value(i).toString();
    }
    QCOMPARE(stored,
             QStringList({"%-15", "%-15", "Fixed-100", "%-2", "It's a re-roof", "No terms"}));

    // The working rows now carry their stored ids: a second save stores nothing twice.
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select AreaID from TempAreas").toInt(), 1);
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select LineItemID from tpLineItems").toInt(), 1);
    modData::exec(ctx, ctx.TempDBConn, "update TempAreas set Total=900");
    area(ctx, 1, 0, 5, 0, 5, 12);
    modSaveEst::saveEstimate(ctx, input());
    QCOMPARE(dump(ctx, ctx.EstConn, "Areas"),
             QStringList({"1|0|6|30|0|20|900|0|0", "2|1|0|5|0|5|12|0|0"}));
    QCOMPARE(count(ctx, ctx.EstConn, "Lineal"), 1);
    QCOMPARE(count(ctx, ctx.EstConn, "LineItems"), 1);
    // Not declared complete: master is not touched.
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select eststatus from master where id=?",
                             {ctx.EstID})
                 .toString(),
             QStringLiteral("Working"));
}

void tst_estimates::completeSaveMarksPendingToday() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    modData::exec(ctx, ctx.MastEstConn, "update master set estdate='2026-01-02' where id=?",
                  {ctx.EstID});
    line(ctx, 4, "Shingles", 0, "Shingles", 3, "45.50");
    modSaveEst::saveEstimate(ctx, input(true));
    QSqlQuery q = modData::exec(ctx, ctx.MastEstConn,
                                "select eststatus,estdate from master where id=?", {ctx.EstID});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Pending"));
    QCOMPARE(q.value(1).toString(), QDate::currentDate().toString(Qt::ISODate));
}

void tst_estimates::failureMidwayLeavesStoredEstimateUnchanged() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    area(ctx, 0, 6, 30, 0, 20, 849);
    lineal(ctx, 2, "Eaves", 100, 42);
    line(ctx, 4, "Shingles", 0, "Shingles", 3, "45.50");
    modSaveEst::saveEstimate(ctx, input());
    const QStringList tables = {"Main", "Areas", "Lineal", "LineItems"};
    QList<QStringList> before;
    for (const QString& t : tables)
        before << dump(ctx, ctx.EstConn, t);

    // Changes to every table, then a failure at each statement in turn.
    modData::exec(ctx, ctx.TempDBConn, "update TempAreas set Total=1");
    area(ctx, 2, 0, 10, 20, 7, 105);
    lineal(ctx, 4, "Valley", 12, 12);
    line(ctx, 9, "Flashing", 1, "Drip edge", 10, "7.25");
    for (int failAt = 0; failAt < 6; ++failAt) {
        modSaveEst::SaveInput in = input(true);
        in.summary = "changed";
        in.beforeStatement = [failAt](int statement) {
            if (statement == failAt)
                throw modData::SqlError::message("disk full");
        };
        QVERIFY_THROWS_EXCEPTION(modData::SqlError, modSaveEst::saveEstimate(ctx, in));
        for (int i = 0; i < tables.size(); ++i)
            QCOMPARE(dump(ctx, ctx.EstConn, tables[i]), before[i]);
        QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select eststatus from master where id=?",
                                 {ctx.EstID})
                     .toString(),
                 QStringLiteral("Working"));
        // New working rows still wait to be inserted.
        QCOMPARE(
            modData::scalar(ctx, ctx.TempDBConn, "select count(*) from TempAreas where AreaID=0")
                .toInt(),
            1);
    }
    modSaveEst::saveEstimate(ctx, input());
    QCOMPARE(count(ctx, ctx.EstConn, "Areas"), 2);
    QCOMPARE(count(ctx, ctx.EstConn, "Lineal"), 2);
    QCOMPARE(count(ctx, ctx.EstConn, "LineItems"), 2);
}

void tst_estimates::failedWriteBackStoresNothingTwice_data() {
    // Where the fault is injected: a trigger refusing one write of the save, in the working
    // database (the ids written back, the deletions forgotten) or in the master list.
    QTest::addColumn<bool>("inMaster");
    QTest::addColumn<QString>("trigger");
    QTest::newRow("area ids") << false
                              << "before update of AreaID on TempAreas begin select "
                                 "raise(abort,'disk full'); end";
    QTest::newRow("lineal ids") << false
                                << "before update of LinealID on TempLineal begin select "
                                   "raise(abort,'disk full'); end";
    QTest::newRow("line ids") << false
                              << "before update of LineItemID on tpLineItems begin select "
                                 "raise(abort,'disk full'); end";
    QTest::newRow("deletions forgotten") << false
                                         << "before delete on PendingDeletes begin select "
                                            "raise(abort,'disk full'); end";
    QTest::newRow("status in master") << true
                                      << "before update of eststatus on master begin select "
                                         "raise(abort,'disk full'); end";
}

void tst_estimates::failedWriteBackStoresNothingTwice() {
    QFETCH(bool, inMaster);
    QFETCH(QString, trigger);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    area(ctx, 0, 6, 30, 0, 20, 849);
    lineal(ctx, 2, "Eaves", 100, 42);
    line(ctx, 4, "Shingles", 0, "Shingles", 3, "45.50");
    line(ctx, 5, "Shingles", 0, "Felt", 2, "20");
    modSaveEst::saveEstimate(ctx, input());
    // One stored line deleted, one of each kind added.
    PendingDeletes::mark(modData::db(ctx, ctx.TempDBConn), "LineItems", 2);
    modData::exec(ctx, ctx.TempDBConn, "delete from tpLineItems where LineItemID=2");
    area(ctx, 2, 0, 10, 20, 7, 105);
    lineal(ctx, 4, "Valley", 12, 12);
    line(ctx, 9, "Flashing", 1, "Drip edge", 10, "7.25");
    const QStringList tables = {"Main", "Areas", "Lineal", "LineItems"};
    QList<QStringList> stored;
    for (const QString& t : tables)
        stored << dump(ctx, ctx.EstConn, t);
    QStringList working;
    for (const char* t : {"TempAreas", "TempLineal", "tpLineItems", "PendingDeletes"})
        working << dump(ctx, ctx.TempDBConn, QString::fromLatin1(t));

    const QString conn = inMaster ? ctx.MastEstConn : ctx.TempDBConn;
    modData::exec(ctx, conn, "create trigger fault " + trigger);
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modSaveEst::saveEstimate(ctx, input(true)));
    // Nothing of the save is kept anywhere: the stored estimate, its status and the working
    // rows are as they were, so the failure message ("not saved") is the truth.
    for (int i = 0; i < tables.size(); ++i)
        QCOMPARE(dump(ctx, ctx.EstConn, tables[i]), stored[i]);
    QStringList after;
    for (const char* t : {"TempAreas", "TempLineal", "tpLineItems", "PendingDeletes"})
        after << dump(ctx, ctx.TempDBConn, QString::fromLatin1(t));
    QCOMPARE(after, working);
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select eststatus from master where id=?",
                             {ctx.EstID})
                 .toString(),
             QStringLiteral("Working"));

    // Once the fault is gone, the next save stores every row exactly once, and a third changes
    // nothing.
    modData::exec(ctx, conn, "drop trigger fault");
    modSaveEst::saveEstimate(ctx, input(true));
    modSaveEst::saveEstimate(ctx, input(true));
    QCOMPARE(count(ctx, ctx.EstConn, "Areas"), 2);
    QCOMPARE(count(ctx, ctx.EstConn, "Lineal"), 2);
    QCOMPARE(dump(ctx, ctx.EstConn, "LineItems"),
             QStringList({"1|4|0|Shingles|Shingles|Material|30000|sq|455000|1365000|0",
                          "3|9|1|Flashing|Drip edge|Material|100000|sq|72500|725000|0"}));
    QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select eststatus from master where id=?",
                             {ctx.EstID})
                 .toString(),
             QStringLiteral("Pending"));
}

void tst_estimates::openCopiesEverythingBack() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    area(ctx, 0, 0, 30, 0, 20, 600);
    area(ctx, 1, 0, 5, 0, 5, 12);
    lineal(ctx, 3, "O'Neil's hips", 10, 185);
    line(ctx, 9, "Flashing", 1, "Drip edge", 10, "7.25");
    line(ctx, 4, "Shingles", 0, "O'Brien's shingles", 3, "45.50");
    line(ctx, 2, "Shingles", 0, "Nails", 1, "0.5");
    modSaveEst::saveEstimate(ctx, input());
    const int id = ctx.EstID;

    ctx.EstConn.clear();
    modTempDB::CreateTempDB(ctx);
    const modOpenEst::OwnerRecord r = modOpenEst::OpenOwner(ctx, id);
    QCOMPARE(r.estName, QStringLiteral("Smith"));
    QCOMPARE(r.status, QStringLiteral("Working"));
    QCOMPARE(r.name[1], QStringLiteral("O'Brien"));
    QCOMPARE(r.name[0], QStringLiteral("Zoë"));
    modOpenEst::OpenRoof(ctx);
    modOpenEst::OpenLineItems(ctx);
    QCOMPARE(dump(ctx, ctx.TempDBConn, "TempAreas"),
             QStringList({"1|1|0|0|30|0|20|600|0|0", "2|2|1|0|5|0|5|12|0|0"}));
    QCOMPARE(dump(ctx, ctx.TempDBConn, "TempLineal"), QStringList({"1|1|3|O'Neil's hips|10|185"}));
    QCOMPARE(
        modData::scalar(ctx, ctx.TempDBConn, "select count(*) from tpLineItems where LineItemID>0")
            .toInt(),
        3);
    QCOMPARE(dump(ctx, ctx.TempDBConn, "TempSect"), QStringList({"1|Shingles|0", "2|Flashing|1"}));
    QVERIFY(!Takeoff::singleTotalArea(ctx));

    // Saving again without changes updates in place and inserts nothing.
    const QStringList stored = dump(ctx, ctx.EstConn, "LineItems");
    modSaveEst::saveEstimate(ctx, input());
    QCOMPARE(dump(ctx, ctx.EstConn, "LineItems"), stored);
    QCOMPARE(count(ctx, ctx.EstConn, "Areas"), 2);
    QCOMPARE(count(ctx, ctx.EstConn, "Lineal"), 1);
}

// A line whose quantity follows its item's take-off rule still follows it after the estimate is
// saved and opened again, so Refresh updates it then; a typed quantity stays the user's. Both
// the insert of a new line and the update of a stored one carry the mark.
void tst_estimates::linesFollowTheRoofAfterReopen() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    area(ctx, 0, 8, 300000, 0, 200000, 721); // 30 × 20 at 8/12
    auto item = [](std::int32_t id, const QString& name, int qty, bool fromRule) {
        CurItemRecord c;
        c.ItemID = id;
        c.ItemTable = QStringLiteral("Material");
        c.Name = name;
        c.Unit = QStringLiteral("bdl");
        c.Qty = Quantity::whole(qty);
        c.Cost = Money::fromCents(3000);
        c.LineTotal = *c.Cost.times(c.Qty);
        c.Sect = QStringLiteral("Roof");
        c.FromRule = fromRule;
        return c;
    };
    // 721 sq ft and 10 % waste: 8 squares to order, 24 bundles of shingles.
    modGrid::insertLine(ctx, {0, 0, item(1, "Architectural shingles, 30-year", 24, true)});
    modGrid::insertLine(ctx, {0, 0, item(8, "Hip and ridge cap shingles", 5, false)});
    modSaveEst::saveEstimate(ctx, input());
    QCOMPARE(modData::scalar(ctx, ctx.EstConn,
                             "select group_concat(FromRule) from (select * "
                             "from LineItems order by ID)")
                 .toString(),
             QStringLiteral("1,0"));
    const int id = ctx.EstID;

    auto reopen = [&] {
        ctx.EstConn.clear();
        modTempDB::CreateTempDB(ctx);
        modOpenEst::OpenOwner(ctx, id);
        modOpenEst::OpenRoof(ctx);
        modOpenEst::OpenLineItems(ctx);
    };
    reopen();
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn,
                             "select group_concat(Name || ':' || FromRule) "
                             "from (select * from tpLineItems order by "
                             "LineItemID)")
                 .toString(),
             QStringLiteral("Architectural shingles, 30-year:1,Hip and ridge cap shingles:0"));
    QVERIFY(RuleQuantities::plan(ctx).isEmpty());
    area(ctx, 0, 8, 150000, 0, 200000, 361); // 15 × 20 at 8/12: 12 squares to order
    const QList<RuleQuantities::Change> changes = RuleQuantities::plan(ctx);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0].name, QStringLiteral("Architectural shingles, 30-year"));
    QCOMPARE(changes[0].before, Quantity::whole(24));
    QCOMPARE(changes[0].after, Quantity::whole(36));

    // Stored lines updated: the shingles typed over, the cap back on its rule.
    const auto lineOf = [&](const QString& name) {
        return modData::scalar(ctx, ctx.TempDBConn, "select autoID from tpLineItems where Name=?",
                               {name})
            .toLongLong();
    };
    modGrid::updateLine(ctx, lineOf("Architectural shingles, 30-year"),
                        item(1, "Architectural shingles, 30-year", 30, false));
    modGrid::updateLine(ctx, lineOf("Hip and ridge cap shingles"),
                        item(8, "Hip and ridge cap shingles", 5, true));
    modSaveEst::saveEstimate(ctx, input());
    QCOMPARE(modData::scalar(ctx, ctx.EstConn,
                             "select group_concat(FromRule) from (select * "
                             "from LineItems order by ID)")
                 .toString(),
             QStringLiteral("0,1"));
    QCOMPARE(count(ctx, ctx.EstConn, "LineItems"), 2);
    reopen();
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn,
                             "select group_concat(Name || ':' || FromRule) "
                             "from (select * from tpLineItems order by "
                             "LineItemID)")
                 .toString(),
             QStringLiteral("Architectural shingles, 30-year:0,Hip and ridge cap shingles:1"));
}

void tst_estimates::singleTotalAreaIsRecognised() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    tc.createTempDB();
    QVERIFY(!Takeoff::singleTotalArea(ctx));
    area(ctx, 0, 0, 30, 0, 20, 600);
    QVERIFY(!Takeoff::singleTotalArea(ctx)); // one area without a pitch: the grid view
    // A plane of its own pitch is still a plane: only the quick figure's mark makes the view.
    modData::exec(ctx, ctx.TempDBConn, "update TempAreas set Pitch=12, Total=849");
    QVERIFY(!Takeoff::singleTotalArea(ctx));
    modData::exec(ctx, ctx.TempDBConn, "update TempAreas set Quick=1");
    const auto f = Takeoff::singleTotalArea(ctx);
    QVERIFY(f);
    QCOMPARE(f->pitch, 12);
    QCOMPARE(f->width1, 30);
    QCOMPARE(f->height, 20);
    QCOMPARE(f->total, 849);
}

void tst_estimates::openOfMissingDatabaseCreatesNothing() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    modData::exec(
        ctx, ctx.MastEstConn,
        "insert into master(estname,estpath,eststatus) values('Lost','Lost/Lost.db','Working')");
    const int id = modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modOpenEst::OpenOwner(ctx, id));
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Lost/Lost.db"));
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modOpenEst::OpenOwner(ctx, 999));
}

void tst_estimates::listFormats() {
    using EstList::BuildListItem;
    QCOMPARE(BuildListItem("WAIT", "SmithGarage*12 Elm St"),
             QStringLiteral("SmithGarage           12 Elm St"));
    QCOMPARE(BuildListItem("WAIT", QString(22, 'n') + "*" + QString(30, 'a')),
             QString(20, 'n') + "  " + QString(28, 'a'));
    QCOMPARE(BuildListItem("EXPIRE", "Smith#Expires in 30 days"),
             QStringLiteral("Smith                     Expires in 30 days       "));
    // An address with "#" keeps its columns.
    QCOMPARE(BuildListItem("ACCEPT", "Smith#12 Elm #4#3/1/26"),
             QStringLiteral("Smith            12 Elm #4         3/1/26    "));
    QCOMPARE(BuildListItem("REJECT", QString(20, 'n') + "#" + QString(20, 'a') + "#10/10/2026x"),
             QString(16, 'n') + " " + QString(17, 'a') + " " + "10/10/2026");
}

void tst_estimates::expiryNotes_data() {
    QTest::addColumn<int>("ageDays");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("note");
    QTest::newRow("dated today") << 0 << 30 << "Expires in 30 days";
    QTest::newRow("one day left") << 29 << 30 << "Expires in 1 days";
    QTest::newRow("expires today") << 30 << 30 << "**EXPIRED**";
    QTest::newRow("long past") << 400 << 30 << "**EXPIRED**";
    QTest::newRow("sixty or more days") << 0 << 90 << "Expires in 90 days";
}

void tst_estimates::expiryNotes() {
    QFETCH(int, ageDays);
    QFETCH(int, length);
    QFETCH(QString, note);
    const QDate today(2026, 12, 6);
    QCOMPARE(EstList::expiryNote(today.addDays(-ageDays), length, today), note);
}

void tst_estimates::listsByStatus() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const QDate today = QDate::currentDate();
    auto add = [&](const char* name, const char* status, const QDate& date, int length) {
        modData::exec(ctx, ctx.MastEstConn,
                      "insert into master(estname,estaddress,eststatus,estdate,estlength) "
                      "values(?,'1 Main St',?,?,?)",
                      {QString(name), QString(status), date.toString(Qt::ISODate), length});
        return modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
    };
    const int newer = add("Newer", "Pending", today, 30);
    const int older = add("Older", "Pending", today.addDays(-40), 30);
    const int far = add("Far", "Pending", today, 120);
    const int won = add("Won", "Accepted", QDate(2026, 3, 1), 30);

    const QList<EstList::Line> pending = EstList::PopEstList(ctx, 1, today);
    QCOMPARE(pending.size(), 6);
    QCOMPARE(pending[0].id, older);
    QVERIFY(pending[0].text.contains("**EXPIRED**"));
    QCOMPARE(pending[1].text, QStringLiteral(" "));
    QCOMPARE(pending[1].id, 0);
    QCOMPARE(pending[2].id, newer);
    QCOMPARE(pending[4].id, far);
    QVERIFY(pending[4].text.contains("Expires in 120 days"));

    const QList<EstList::Line> working = EstList::PopEstList(ctx, 0, today);
    QCOMPARE(working.size(), 1);
    QCOMPARE(working[0].text, QStringLiteral("None"));
    QCOMPARE(working[0].id, 0);
    const QList<EstList::Line> accepted = EstList::PopEstList(ctx, 2, today);
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(accepted[0].id, won);
    QVERIFY(accepted[0].text.endsWith("3/1/26    "));
}

QTEST_MAIN(tst_estimates)
#include "tst_estimates.moc"
