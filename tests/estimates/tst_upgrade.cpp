// Data written by earlier versions of the program: upgraded when opened, refused when newer.
#include "StoredEstimate.h"
#include "TestContext.h"

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
    QCOMPARE(after, before);

    ctx.connections->closeAll();
    QCOMPARE(rawVersion(est), Migrations::currentVersion(Migrations::Kind::Estimate));
    QCOMPARE(rawVersion(ctx.MastEstConn), Migrations::currentVersion(Migrations::Kind::MasterList));
    QCOMPARE(rawVersion(ctx.TempDBConn), Migrations::currentVersion(Migrations::Kind::Working));
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
