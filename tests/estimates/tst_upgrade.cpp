// Data written by earlier versions of the program: upgraded when opened, refused when newer.
#include "StoredEstimate.h"
#include "TestContext.h"

#include "app/Startup.h"
#include "catalogue/TakeoffRules.h"
#include "estimates/EstList.h"
#include "estimates/WorkState.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/RuleQuantities.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"
#include "takeoff/Takeoff.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

// Copies a folder tree (the data files of an earlier version) into place.
void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        QVERIFY2(QFile::copy(file, target), qPrintable(target));
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The version a file says it has, read without the program's connections (which would upgrade).
int rawVersion(const QString& path) {
    const QString name = QStringLiteral("raw-version");
    int v = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            v = Migrations::versionOf(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return v;
}

void setRawVersion(const QString& path, int version) {
    const QString name = QStringLiteral("raw-set");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString v0() {
    return qEnvironmentVariable("CORVANEL_TEST_DATA") + QStringLiteral("/v0");
}

// The installation of version 0 with its estimate as version 3 wrote it.
void installVersion3(const QString& appPath) {
    copyTree(v0() + QStringLiteral("/Corvanel"), appPath);
    copyTree(qEnvironmentVariable("CORVANEL_TEST_DATA") + QStringLiteral("/v3/Corvanel"), appPath);
}

} // namespace

class tst_upgrade : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void earlierInstallationOpensAndSaves();
    void workingFileOfTheFirstVersion();
    void storedAmountsBecomePlain_data();
    void storedAmountsBecomePlain();
    void startFillsOwnersAndTotals_data();
    void startFillsOwnersAndTotals();
    void roofFiguresTheSame_data();
    void roofFiguresTheSame();
    void catalogueGetsTakeoffRules();
    void version3LinesFollowNothing();
    void newerFilesAreRefusedUntouched_data();
    void newerFilesAreRefusedUntouched();
};

// An estimate saved before databases carried a version opens with everything it held, is
// brought to this program's layout, and saves again without a change to what was stored.
void tst_upgrade::earlierInstallationOpensAndSaves() {
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    const QString est = ctx.estimatesDir() + QStringLiteral("/OBrienReroof/OBrienReroof.db");
    QCOMPARE(rawVersion(est), 0);
    QCOMPARE(rawVersion(ctx.MastEstConn), 0);

    modTempDB::CreateTempDB(ctx);
    const modOpenEst::OwnerRecord owner = modOpenEst::OpenOwner(ctx, 1);
    QCOMPARE(owner.estName, QStringLiteral("OBrienReroof"));
    QCOMPARE(owner.status, QStringLiteral("Pending"));
    QCOMPARE(owner.name[0], QStringLiteral("Zoë"));
    QCOMPARE(owner.name[1], QStringLiteral("O'Brien"));
    modOpenEst::OpenRoof(ctx);
    modOpenEst::OpenLineItems(ctx);
    QCOMPARE(StoredEstimate::count(ctx, ctx.TempDBConn, "TempAreas"), 2);
    QCOMPARE(StoredEstimate::count(ctx, ctx.TempDBConn, "TempLineal"), 2);
    QCOMPARE(
        modData::scalar(ctx, ctx.TempDBConn, "select sum(LineTotal) from tpLineItems").toLongLong(),
        qlonglong(3600000 + 10350000));
    // Whole quantities stay whole: 8 and 9 squares, now in ten-thousandths.
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select group_concat(Qty) from tpLineItems")
                 .toString(),
             QStringLiteral("80000,90000"));

    const QStringList tables = {"Main", "Areas", "Lineal", "LineItems"};
    QStringList before;
    for (const QString& t : tables)
        before << StoredEstimate::dump(ctx, ctx.EstConn, t);
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-10", "Fixed-250", "%-2"};
    in.summary = QStringLiteral("Tear off and re-roof the house");
    in.terms = QStringLiteral("Half down, half on completion");
    modSaveEst::saveEstimate(ctx, in);
    QStringList after;
    for (const QString& t : tables)
        after << StoredEstimate::dump(ctx, ctx.EstConn, t);
    // The one addition: the waste the estimate was figured with (the Setup default of 10 %) is
    // now stored with it.
    QVERIFY(before[0].endsWith('|'));
    before[0] += QStringLiteral("100000");
    QCOMPARE(after, before);

    ctx.connections->closeAll();
    QCOMPARE(rawVersion(est), Migrations::currentVersion(Migrations::Kind::Estimate));
    QCOMPARE(rawVersion(ctx.MastEstConn), Migrations::currentVersion(Migrations::Kind::MasterList));
    QCOMPARE(rawVersion(ctx.TempDBConn), Migrations::currentVersion(Migrations::Kind::Working));
    QVERIFY(tc.prompt->texts().isEmpty());
}

// The working database an earlier version left behind: quantities become ten-thousandths, every
// line and grid row knows its section by identity, and deletions have a table to wait in.
void tst_upgrade::workingFileOfTheFirstVersion() {
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    QCOMPARE(rawVersion(ctx.TempDBConn), 0);
    QSqlDatabase db = ctx.connections->database(ctx.TempDBConn);
    QVERIFY2(db.isOpen(), qPrintable(ctx.connections->lastError()));
    QCOMPARE(Migrations::versionOf(db), Migrations::currentVersion(Migrations::Kind::Working));
    QCOMPARE(StoredEstimate::dump(ctx, ctx.TempDBConn, "tpLineItems"),
             QStringList({"1|1|0|20|0|Tear off|Tear-off labor|Labor|80000|sq|450000|3600000|1|0",
                          "2|2|0|1|1|Roofing|Architectural shingles, 30-year|Material|90000|sq|"
                          "1150000|10350000|2|0"}));
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn,
                             "select group_concat(coalesce(Qty,'-') || '@' || "
                             "coalesce(SectID,'-'), ',') from (select * from EstiGrid order by "
                             "autoID)")
                 .toString(),
             QStringLiteral("-@-,80000@1,-@-,-@-,-@-,90000@2,-@-,-@-"));
    QCOMPARE(StoredEstimate::count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
    // The working copy of an earlier program records nothing to recover: none is offered.
    QCOMPARE(StoredEstimate::count(ctx, ctx.TempDBConn, "WorkState"), 0);
    QVERIFY(!WorkState::unsaved(ctx));
    // The layout just before the recovery record: the record's table is added.
    modTempDB::CreateTempDB(ctx);
    QVERIFY(QSqlQuery(ctx.connections->database(ctx.TempDBConn)).exec("drop table WorkState"));
    QVERIFY(QSqlQuery(ctx.connections->database(ctx.TempDBConn))
                .exec(QStringLiteral("PRAGMA user_version = %1")
                          .arg(Migrations::currentVersion(Migrations::Kind::Working) - 1)));
    ctx.connections->close(ctx.TempDBConn);
    QVERIFY(ctx.connections->database(ctx.TempDBConn).isOpen());
    QCOMPARE(StoredEstimate::count(ctx, ctx.TempDBConn, "WorkState"), 0);
    QCOMPARE(rawVersion(ctx.TempDBConn), Migrations::currentVersion(Migrations::Kind::Working));
    // The units database of the same kind has none of those tables and only takes the version.
    modTempDB::CreateUnitDB(ctx);
    QSqlDatabase units = ctx.connections->database(ctx.UnitDBConn);
    QVERIFY(QSqlQuery(units).exec("PRAGMA user_version = 1"));
    ctx.connections->close(ctx.UnitDBConn);
    QVERIFY(ctx.connections->database(ctx.UnitDBConn).isOpen());
    QCOMPARE(rawVersion(ctx.UnitDBConn), Migrations::currentVersion(Migrations::Kind::Working));
    QVERIFY(tc.prompt->texts().isEmpty());
}

void tst_upgrade::storedAmountsBecomePlain_data() {
    QTest::addColumn<int>("version"); // the file's version before the upgrade
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("plain");
    const QStringList v0 = {"%-15", "%-10", "Fixed-$250.00", "%-2"};
    const QStringList plain = {"%-15", "%-10", "Fixed-250", "%-2"};
    for (int version : {0, 1}) {
        const QString v = QStringLiteral("version %1, ").arg(version);
        QTest::newRow(qPrintable(v + "as stored, US English")) << version << "en_US" << v0 << plain;
        QTest::newRow(qPrintable(v + "as stored, opened under German"))
            << version << "de_DE" << v0 << plain;
        QTest::newRow(qPrintable(v + "as stored, opened under C")) << version << "C" << v0 << plain;
    }
    // Texts an earlier version wrote under German: currency of that locale, percentages as typed.
    QTest::newRow("German texts") << 1 << "de_DE"
                                  << QStringList{"%-7,5", "Fixed-1.234,50 €", "Fixed--12,00 €",
                                                 "%-2"}
                                  << QStringList{"%-7.5", "Fixed-1234.5", "Fixed--12", "%-2"};
    QTest::newRow("grouped US amounts under German")
        << 1 << "de_DE" << QStringList{"Fixed-$1,234.50", "Fixed-($50.00)", "%-0.5", "Fixed-0"}
        << QStringList{"Fixed-1234.5", "Fixed--50", "%-0.5", "Fixed-0"};
    // What reads as no amount stays as it was, for the totals to report.
    QTest::newRow("not an amount")
        << 1 << "en_US" << QStringList{"Fixed-...", "%-abc", "Fixed-.00", "%-"}
        << QStringList{"Fixed-...", "%-abc", "Fixed-0", "%-"};
}

// The administrative texts of an earlier estimate file become plain decimals when it is opened,
// whatever locale the program runs under now, and the estimate's total stays what it was.
void tst_upgrade::storedAmountsBecomePlain() {
    QFETCH(int, version);
    QFETCH(QString, locale);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, plain);
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    const QString est = ctx.estimatesDir() + QStringLiteral("/OBrienReroof/OBrienReroof.db");
    {
        const QString name = QStringLiteral("raw-admin");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(est);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.prepare("update Main set Overhead=?, Profit=?, Contingency=?, Management=?"));
            for (const QString& s : stored)
                q.addBindValue(s);
            QVERIFY(q.exec());
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    setRawVersion(est, version);
    QLocale::setDefault(QLocale(locale));
    modTempDB::CreateTempDB(ctx);
    modOpenEst::OpenOwner(ctx, 1);
    QStringList after;
    QSqlQuery q = modData::exec(ctx, ctx.EstConn,
                                "select Overhead, Profit, Contingency, Management from Main");
    QVERIFY(q.next());
    for (int i = 0; i < 4; ++i)
        after << q.value(i).toString();
    TestContext::pinLocale();
    QCOMPARE(after, plain);
    QCOMPARE(
        modData::scalar(ctx, ctx.EstConn, "select group_concat(Qty) from LineItems").toString(),
        QStringLiteral("80000,90000"));
}

void tst_upgrade::startFillsOwnersAndTotals_data() {
    QTest::addColumn<int>("version");
    QTest::newRow("version 0") << 0;
    // Version 1 has the layout of version 0.
    QTest::newRow("version 1") << 1;
}

// The master list of an earlier version gains owners and totals on the first start: each read
// from the estimate's own database, the total as the estimate figures it.
void tst_upgrade::startFillsOwnersAndTotals() {
    QFETCH(int, version);
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    setRawVersion(ctx.MastEstConn, version);
    const QString est = ctx.estimatesDir() + QStringLiteral("/OBrienReroof/OBrienReroof.db");
    const QByteArray estimateBefore = digest(est);
    {
        // An estimate whose database is gone, listed by the earlier version.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw-insert");
        db.setDatabaseName(ctx.MastEstConn);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("insert into master(estname,estpath,eststatus) values('Gone',"
                       "'Gone/Gone.db','Working')"));
        db.close();
    }
    QSqlDatabase::removeDatabase("raw-insert");

    const Startup::Result r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY2(r.warning.isEmpty(), qPrintable(r.warning));
    QCOMPARE(StoredEstimate::dump(ctx, ctx.MastEstConn,
                                  "(select id,estname,estowner,esttotal,estused from master)"),
             (QStringList{"1|OBrienReroof|Zoë O'Brien|20216500|", "2|Gone|||"}));
    // Read, never written: the estimate is upgraded only when it is opened.
    QCOMPARE(digest(est), estimateBefore);
    QVERIFY(!ctx.connections->isOpen(est));

    // The table of the Open window shows them.
    const QList<EstList::Row> rows = EstList::rows(ctx);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].owner, QStringLiteral("Zoë O'Brien"));
    // 1,395.00 of lines (8 x 45.00 and 9 x 115.00), 15 % and 10 % of it, 250.00 and 2 %.
    QCOMPARE(rows[0].total, Money::parse(QStringLiteral("2021.65")));
    QVERIFY(rows[1].matches({}));
    QVERIFY(!rows[1].total);

    // What is known is never figured again; the gap is tried again on the next start.
    modData::exec(ctx, ctx.MastEstConn, "update master set esttotal=5 where id=1");
    QVERIFY(Startup::prepareInstallation(ctx).ok);
    QCOMPARE(StoredEstimate::dump(ctx, ctx.MastEstConn, "(select id,esttotal from master)"),
             (QStringList{"1|5", "2|"}));
    QVERIFY(tc.prompt->texts().isEmpty());
}

void tst_upgrade::roofFiguresTheSame_data() {
    QTest::addColumn<int>("version"); // the file's version before the upgrade
    QTest::addColumn<bool>("quick");  // a roof measured as one total area
    QTest::addColumn<QStringList>("areas");
    QTest::addColumn<qlonglong>("roofArea");
    for (int version : {0, 2}) {
        const QString v = QStringLiteral("version %1, ").arg(version);
        // Planes of earlier versions had no pitch; their totals stay as they were.
        QTest::newRow(qPrintable(v + "planes"))
            << version << false
            << QStringList{"1|0|0|300000|0|200000|600|0|0", "2|1|0|150000|0|200000|150|0|0"}
            << 750LL;
        // A quick figure was marked by its pitch; now by Quick, and it stays the quick figure.
        QTest::newRow(qPrintable(v + "quick figure"))
            << version << true << QStringList{"1|0|6|260000|0|400000|1140|0|1"} << 1140LL;
    }
}

// An estimate of an earlier version shows the same roof after the upgrade: the same Roof Area,
// the same view, its measurements in ten-thousandths of a foot.
void tst_upgrade::roofFiguresTheSame() {
    QFETCH(int, version);
    QFETCH(bool, quick);
    QFETCH(QStringList, areas);
    QFETCH(qlonglong, roofArea);
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    const QString est = ctx.estimatesDir() + QStringLiteral("/OBrienReroof/OBrienReroof.db");
    if (quick) {
        const QString name = QStringLiteral("raw-quick");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(est);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("delete from Areas"));
            QVERIFY(q.exec("insert into Areas(ID,Shape,Pitch,Width1,Width2,Height,Total) "
                           "values(1,0,6,26,0,40,1140)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    setRawVersion(est, version);
    modTempDB::CreateTempDB(ctx);
    modOpenEst::OpenOwner(ctx, 1);
    modOpenEst::OpenRoof(ctx);
    QCOMPARE(StoredEstimate::dump(ctx, ctx.EstConn, "Areas"), areas);
    QCOMPARE(Takeoff::totals(ctx).area, roofArea);
    QCOMPARE(Takeoff::singleTotalArea(ctx).has_value(), quick);
    // Lineal lengths too: 40 ft of ridge cap and a "%" item of 10.
    QCOMPARE(StoredEstimate::dump(ctx, ctx.EstConn, "Lineal"),
             QStringList({"1|1|Ridge cap|400000|40", "2|3|Waste|100000|75"}));
    QCOMPARE(Takeoff::totals(ctx).other, 115LL);
    // No waste was stored: the estimate shows the Setup default.
    QCOMPARE(Takeoff::waste(ctx), Takeoff::defaultWaste(ctx));
}

// A catalogue of an earlier version gets the rules of the shipped items it still has as
// shipped; its prices and units stay its own (its shingles are sold by the square: 1 per
// square).
void tst_upgrade::catalogueGetsTakeoffRules() {
    using TakeoffRule::Measure;
    using TakeoffRule::Rule;
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    QCOMPARE(rawVersion(ctx.CostConn), 0);
    QCOMPARE(TakeoffRules::ruleOf(ctx, false, 1),
             std::optional<Rule>({Measure::SquaresToOrder, 0, 10000, true}));
    QCOMPARE(TakeoffRules::ruleOf(ctx, false, 8),
             std::optional<Rule>({Measure::Lineal, 1 << 5 | 1 << 6, 330000, false}));
    QCOMPARE(TakeoffRules::ruleOf(ctx, false, 17),
             std::optional<Rule>({Measure::RoofArea, 0, 1000000, false}));
    QVERIFY(!TakeoffRules::ruleOf(ctx, false, 9)); // ridge vent: none shipped
    QCOMPARE(modData::scalar(ctx, ctx.CostConn, "select unit || amount from costitem where ID=1")
                 .toString(),
             QStringLiteral("sq1150000"));
    ctx.connections->closeAll();
    QCOMPARE(rawVersion(ctx.CostConn), Migrations::currentVersion(Migrations::Kind::Catalogue));
}

// An estimate saved by version 3 opens with the same lines, roof and total; its lines followed
// no take-off rule then and follow none now, so Refresh leaves them as they were stored.
void tst_upgrade::version3LinesFollowNothing() {
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    installVersion3(ctx.AppPath);
    const QString est = ctx.estimatesDir() + QStringLiteral("/OBrienReroof/OBrienReroof.db");
    QCOMPARE(rawVersion(est), 3);
    modTempDB::CreateTempDB(ctx);
    modOpenEst::OpenOwner(ctx, 1);
    modOpenEst::OpenRoof(ctx);
    modOpenEst::OpenLineItems(ctx);
    QCOMPARE(StoredEstimate::dump(ctx, ctx.EstConn, "LineItems"),
             QStringList({"1|20|0|Tear off|Tear-off labor|Labor|80000|sq|450000|3600000|0",
                          "2|1|1|Roofing|Architectural shingles, 30-year|Material|90000|sq|"
                          "1150000|10350000|0"}));
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select sum(FromRule) from tpLineItems").toInt(),
             0);
    QCOMPARE(Takeoff::totals(ctx).area, 750LL);
    // A bigger roof: both items have rules, but neither line was proposed by one.
    StoredEstimate::area(ctx, 0, 8, 300000, 0, 200000, 721);
    QVERIFY(RuleQuantities::plan(ctx).isEmpty());
    QCOMPARE(
        modData::scalar(ctx, ctx.TempDBConn, "select sum(LineTotal) from tpLineItems").toLongLong(),
        qlonglong(3600000 + 10350000));
    ctx.connections->closeAll();
    QCOMPARE(rawVersion(est), Migrations::currentVersion(Migrations::Kind::Estimate));
    QVERIFY(tc.prompt->texts().isEmpty());
}

void tst_upgrade::newerFilesAreRefusedUntouched_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("estimate") << "estimates/OBrienReroof/OBrienReroof.db";
    QTest::newRow("master list") << "data/MastEst.db";
    QTest::newRow("catalogue") << "data/cost.db";
}

void tst_upgrade::newerFilesAreRefusedUntouched() {
    QFETCH(QString, file);
    TestContext tc(TestContext::Setup::Empty);
    AppContext& ctx = tc.ctx;
    copyTree(v0() + QStringLiteral("/Corvanel"), ctx.AppPath);
    const QString path = ctx.AppPath + QLatin1Char('/') + file;
    setRawVersion(path, 99);
    const QByteArray before = digest(path);

    QSqlDatabase db = ctx.connections->database(path);
    QVERIFY(!db.isOpen());
    QVERIFY(!ctx.connections->isOpen(path));
    const QString why = ctx.connections->lastError();
    QVERIFY2(why.contains(QStringLiteral("newer version of Corvanel")), qPrintable(why));
    QVERIFY2(why.contains(QStringLiteral("left unchanged")), qPrintable(why));
    QCOMPARE(digest(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QCOMPARE(rawVersion(path), 99);

    // Refused through every road, not only the first.
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, modData::db(ctx, path));
    QCOMPARE(digest(path), before);
}

QTEST_GUILESS_MAIN(tst_upgrade)
#include "tst_upgrade.moc"
