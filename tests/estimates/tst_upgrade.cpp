// Data written by earlier versions of the program: upgraded when opened, refused when newer.
#include "StoredEstimate.h"
#include "TestContext.h"

#include "app/Startup.h"
#include "estimates/EstList.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/modTempDB.h"

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

} // namespace

class tst_upgrade : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void earlierInstallationOpensAndSaves();
    void startFillsOwnersAndTotals_data();
    void startFillsOwnersAndTotals();
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
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select group_concat(Qty) from tpLineItems")
                 .toString(),
             QStringLiteral("8,9"));

    const QStringList tables = {"Main", "Areas", "Lineal", "LineItems"};
    QStringList before;
    for (const QString& t : tables)
        before << StoredEstimate::dump(ctx, ctx.EstConn, t);
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-10", "Fixed-$250.00", "%-2"};
    in.summary = QStringLiteral("Tear off and re-roof the house");
    in.terms = QStringLiteral("Half down, half on completion");
    modSaveEst::saveEstimate(ctx, in);
    QStringList after;
    for (const QString& t : tables)
        after << StoredEstimate::dump(ctx, ctx.EstConn, t);
    QCOMPARE(after, before);

    ctx.connections->closeAll();
    QCOMPARE(rawVersion(est), Migrations::currentVersion(Migrations::Kind::Estimate));
    QCOMPARE(rawVersion(ctx.MastEstConn), Migrations::currentVersion(Migrations::Kind::MasterList));
    QCOMPARE(rawVersion(ctx.TempDBConn), Migrations::currentVersion(Migrations::Kind::Working));
    QVERIFY(tc.prompt->texts().isEmpty());
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
