// Backups: what one holds, putting one back, the daily copies, backups that must be refused,
// a restore that fails half-way, and a damaged database found at start.
#include "StoredEstimate.h"
#include "TestContext.h"

#include "app/Startup.h"
#include "estimates/EstFacts.h"
#include "settings/SettingsStore.h"
#include "settings/forms/frmRestore.h"
#include "settings/forms/frmSetup.h"
#include "storage/Backup.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/modData.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTreeWidget>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

using Answer = Prompt::Answer;

namespace {

bool working(const QString& rel) {
    return rel.startsWith("backups/") || rel.startsWith("corvanel.lock") ||
           rel == "data/tempdb.db" || rel == "data/unitdb.db" || rel.endsWith("-journal");
}

// Every file of the data folder that is the user's, but the databases: path → bytes.
QMap<QString, QByteArray> plainFiles(const QString& root) {
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(root).relativeFilePath(it.next());
        if (working(rel) || rel.endsWith(".db"))
            continue;
        QFile f(it.filePath());
        if (f.open(QIODevice::ReadOnly))
            out.insert(rel, f.readAll());
    }
    return out;
}

// A database by content (VACUUM INTO may lay out its pages anew): its version, and every table's
// layout and rows in rowid order.
QString dumpDatabase(const QString& path) {
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "dump");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (!db.open())
            return "cannot open " + path;
        QSqlQuery q(db);
        q.exec("PRAGMA user_version");
        q.next();
        out << "version " + q.value(0).toString();
        QStringList tables;
        q.exec("select name, sql from sqlite_master where type='table' order by name");
        while (q.next()) {
            tables << q.value(0).toString();
            out << q.value(1).toString();
        }
        for (const QString& t : tables) {
            QSqlQuery rows(db);
            rows.exec("select * from \"" + t + "\" order by rowid");
            while (rows.next()) {
                QStringList cells;
                for (int i = 0; i < rows.record().count(); ++i)
                    cells << rows.value(i).toString();
                out << t + ": " + cells.join('|');
            }
        }
    }
    QSqlDatabase::removeDatabase("dump");
    return out.join('\n');
}

QMap<QString, QString> databases(const QString& root) {
    QMap<QString, QString> out;
    QDirIterator it(root, {"*.db"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(root).relativeFilePath(it.next());
        if (!working(rel))
            out.insert(rel, dumpDatabase(it.filePath()));
    }
    return out;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every entry of a zip file, by name.
QMap<QString, QByteArray> readZip(const QString& path) {
    QMap<QString, QByteArray> out;
    QuaZip zip(path);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        return out;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        if (f.open(QIODevice::ReadOnly))
            out.insert(zip.getCurrentFileName(), f.readAll());
    }
    return out;
}

void writeZip(const QString& path, const QMap<QString, QByteArray>& entries) {
    QuaZip zip(path);
    zip.setUtf8Enabled(true);
    QVERIFY(zip.open(QuaZip::mdCreate));
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        QuaZipFile f(&zip);
        QVERIFY(f.open(QIODevice::WriteOnly, QuaZipNewInfo(it.key())));
        f.write(it.value());
        f.close();
    }
    zip.close();
}

QJsonObject manifestOf(const QMap<QString, QByteArray>& entries) {
    return QJsonDocument::fromJson(entries.value("manifest.json")).object();
}

// The manifest made to agree with changed entries, as a forger would.
void restamp(QMap<QString, QByteArray>& entries) {
    QJsonObject m = manifestOf(entries);
    QJsonArray files;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (it.key() == "manifest.json")
            continue;
        files.append(QJsonObject{
            {"path", it.key()},
            {"size", it.value().size()},
            {"sha256",
             QString::fromLatin1(
                 QCryptographicHash::hash(it.value(), QCryptographicHash::Sha256).toHex())}});
    }
    m["files"] = files;
    entries["manifest.json"] = QJsonDocument(m).toJson();
}

Money totalOf(const QString& dbPath) {
    Money total;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "total");
        db.setDatabaseName(dbPath);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open())
            total = EstFacts::storedTotal(db);
    }
    QSqlDatabase::removeDatabase("total");
    return total;
}

// Three estimates with stored lines, a document kept with one, a template, a logo and settings
// in accents and an emoji: every kind of thing a backup holds.
void fillData(AppContext& ctx) {
    const QStringList names = {"Adams", "O'Brien Zoë", "Zoellner"};
    for (int i = 0; i < names.size(); ++i) {
        StoredEstimate::start(ctx, names[i]);
        for (int l = 1; l <= 3 + i; ++l)
            modData::exec(ctx, ctx.EstConn,
                          "insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,"
                          "Cost,LineTotal) values(?,0,'Roof','Shingles é','Material',?,'sq',?,?)",
                          {l, l * 10000, 125000 * (i + 1), qlonglong(l) * 125000 * (i + 1)});
    }
    QVERIFY(writeBytes(ctx.estimatesDir() + "/Adams/documents/Proposal – O'Brien.rtf",
                       QByteArray("{\\rtf1 Zo\\'eb}\0\x01\xff", 18)));
    QVERIFY(writeBytes(ctx.templatesDir() + "/Proposal.rtf", "{\\rtf1 <<CoName>>}"));
    QVERIFY(writeBytes(ctx.AppPath + "/logo.png", QByteArray(300, '\x89')));
    QVERIFY(ctx.settings->set("CoInfo", "CoName", QStringLiteral("Zoë's Roofing \U0001F3E0")));
    ctx.connections->closeAll();
}

QString settingsFile(const AppContext& ctx) {
    return ctx.settings->filePath(SettingsStore::App);
}

QStringList leftovers(const AppContext& ctx) {
    return QDir(ctx.AppPath)
        .entryList({".restore-*", ".replaced-*", ".backup-*"}, QDir::AllEntries | QDir::Hidden);
}

} // namespace

class tst_backup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void roundTripPutsBackEveryFile();
    void restoredOnAFreshFolderKeepsEveryTotal();
    void dailyBackupKeepsFourteen_data();
    void dailyBackupKeepsFourteen();
    void unusableBackupIsRefused_data();
    void unusableBackupIsRefused();
    void failureDuringRestoreKeepsTheData_data();
    void failureDuringRestoreKeepsTheData();
    void restoreCutShortIsUndoneAtStart_data();
    void restoreCutShortIsUndoneAtStart();
    void damagedDatabaseFoundAtStart_data();
    void damagedDatabaseFoundAtStart();
    void backUpNowFromSetup();
    void restoreFromSetup_data();
    void restoreFromSetup();
    void restoreListNewestFirst();
};

// A backup put back restores every file as it was when the backup was made: files byte for byte,
// databases row for row (and the restored database files byte for byte as the backup holds
// them), the settings byte for byte. What was added since is gone, and the data replaced is
// kept as one more backup.
void tst_backup::roundTripPutsBackEveryFile() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    tc.createTempDB(); // working files are not the user's data and are not kept
    ctx.connections->closeAll();
    const auto files = plainFiles(ctx.AppPath);
    const auto dbs = databases(ctx.AppPath);
    const QByteArray settings = fileBytes(settingsFile(ctx));
    QCOMPARE(dbs.size(), 5); // catalogue, master list, three estimates

    const QString zip = Backup::folder(ctx) + '/' + Backup::proposedName(QDate(2026, 12, 7));
    QString error;
    QVERIFY2(Backup::create(ctx, zip, Backup::Kind::Manual, &error), qPrintable(error));
    QVERIFY2(Backup::verify(zip, &error), qPrintable(error));
    const auto entries = readZip(zip);
    QVERIFY(entries.contains("settings/settings.ini"));
    QVERIFY(entries.contains("data-folder/estimates/Adams/documents/Proposal – O'Brien.rtf"));
    for (const QString& e : entries.keys())
        QVERIFY2(!e.contains("tempdb") && !e.contains("unitdb") && !e.contains("lock") &&
                     !e.contains("backups/"),
                 qPrintable(e));

    // Changes after the backup, all of which the restore undoes.
    QVERIFY(ctx.settings->set("CoInfo", "CoName", "Someone else"));
    modData::exec(ctx, ctx.MastEstConn, "update master set eststatus='Accepted'");
    QVERIFY(QFile::remove(ctx.estimatesDir() + "/Adams/documents/Proposal – O'Brien.rtf"));
    QVERIFY(writeBytes(ctx.templatesDir() + "/Proposal.rtf", "changed"));
    StoredEstimate::start(ctx, "Later");
    ctx.EstConn.clear();

    QString kept;
    QVERIFY2(Backup::restore(ctx, zip, &error, &kept), qPrintable(error));
    ctx.connections->closeAll();
    QCOMPARE(plainFiles(ctx.AppPath), files);
    QCOMPARE(databases(ctx.AppPath), dbs);
    QCOMPARE(fileBytes(settingsFile(ctx)), settings);
    QCOMPARE(ctx.settings->get("CoInfo", "CoName"), QStringLiteral("Zoë's Roofing \U0001F3E0"));
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Later"));
    const QJsonArray listed = manifestOf(entries)["files"].toArray();
    for (const QJsonValue& v : listed) {
        const QString path = v["path"].toString();
        const QString on = path == "settings/settings.ini"
                               ? settingsFile(ctx)
                               : ctx.AppPath + '/' + path.mid(QString("data-folder/").size());
        QCOMPARE(fileBytes(on), entries.value(path));
    }
    QVERIFY(leftovers(ctx).isEmpty());

    // The replaced data is a backup of its own, holding the estimate made after the first one.
    QVERIFY(QFileInfo::exists(kept));
    QVERIFY2(Backup::verify(kept, &error), qPrintable(error));
    QCOMPARE(Backup::describe(kept).kind, Backup::Kind::BeforeRestore);
    QVERIFY(readZip(kept).contains("data-folder/estimates/Later/Later.db"));
    const QList<Backup::Info> all = Backup::list(ctx);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].path, kept); // newest first
    QCOMPARE(all[1].size, QFileInfo(zip).size());
}

// A backup carried to another machine: restored into a fresh data folder, the master list lists
// every estimate and each one's stored total is what it was.
void tst_backup::restoredOnAFreshFolderKeepsEveryTotal() {
    TestContext old;
    fillData(old.ctx);
    QMap<QString, qint64> totals;
    for (const QString& n : StoredEstimate::dump(old.ctx, old.ctx.MastEstConn, "master")) {
        const QString path = old.ctx.estimateDbPath(n.section('|', 4, 4));
        totals.insert(n.section('|', 1, 1), totalOf(path).raw());
    }
    QCOMPARE(totals.size(), 3);
    QVERIFY(totals.value("Zoellner") > 0);
    old.ctx.connections->closeAll();
    QString error;
    const QString zip = old.root() + "/carried.zip";
    QVERIFY2(Backup::create(old.ctx, zip, Backup::Kind::Manual, &error), qPrintable(error));

    TestContext fresh;
    QVERIFY2(Backup::restore(fresh.ctx, zip, &error), qPrintable(error));
    QMap<QString, qint64> restored;
    for (const QString& n : StoredEstimate::dump(fresh.ctx, fresh.ctx.MastEstConn, "master")) {
        const QString path = fresh.ctx.estimateDbPath(n.section('|', 4, 4));
        restored.insert(n.section('|', 1, 1), totalOf(path).raw());
    }
    QCOMPARE(restored, totals);
    QCOMPARE(fresh.ctx.settings->get("CoInfo", "CoName"),
             QStringLiteral("Zoë's Roofing \U0001F3E0"));
}

void tst_backup::dailyBackupKeepsFourteen_data() {
    QTest::addColumn<int>("before");
    QTest::newRow("first") << 0;
    QTest::newRow("thirteen before") << 13;
    QTest::newRow("fourteen before") << 14;
    QTest::newRow("twenty before") << 20;
}

// The first start of a day makes one automatic backup and keeps the newest 14 automatic ones;
// backups made by hand or before a restore are never removed; a second start that day makes
// none.
void tst_backup::dailyBackupKeepsFourteen() {
    QFETCH(int, before);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const QDate today(2026, 12, 7);
    QDir().mkpath(Backup::folder(ctx));
    const QDir dir(Backup::folder(ctx));
    for (int i = 1; i <= before; ++i)
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("Corvanel auto backup %1.zip")
                                            .arg(today.addDays(-i).toString(Qt::ISODate))),
                           "old"));
    QVERIFY(writeBytes(dir.filePath("Corvanel backup 2020-01-01.zip"), "manual"));
    QVERIFY(writeBytes(dir.filePath("Corvanel before restore 2020-01-02 101010.zip"), "kept"));

    const Backup::Daily d = Backup::makeDaily(ctx, today);
    QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
    QCOMPARE(QFileInfo(d.written).fileName(), QString("Corvanel auto backup 2026-12-07.zip"));
    QString error;
    QVERIFY2(Backup::verify(d.written, &error), qPrintable(error));
    const QStringList autos =
        dir.entryList({"Corvanel auto backup *.zip"}, QDir::Files, QDir::Name | QDir::Reversed);
    QCOMPARE(autos.size(), qMin(before + 1, 14));
    QCOMPARE(d.pruned, qMax(0, before + 1 - 14));
    QCOMPARE(autos.first(), QString("Corvanel auto backup 2026-12-07.zip"));
    if (before > 0)
        QCOMPARE(autos.last(), QStringLiteral("Corvanel auto backup %1.zip")
                                   .arg(today.addDays(-qMin(before, 13)).toString(Qt::ISODate)));
    QVERIFY(dir.exists("Corvanel backup 2020-01-01.zip"));
    QVERIFY(dir.exists("Corvanel before restore 2020-01-02 101010.zip"));

    const Backup::Daily again = Backup::makeDaily(ctx, today);
    QVERIFY(again.written.isEmpty());
    QCOMPARE(dir.entryList({"Corvanel auto backup *.zip"}, QDir::Files).size(), autos.size());
}

void tst_backup::unusableBackupIsRefused_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a zip") << "garbage"
                               << "cannot be opened as a zip file";
    QTest::newRow("cut short") << "truncated"
                               << "cannot be";
    QTest::newRow("checksum") << "checksum"
                              << "does not match its checksum";
    QTest::newRow("file not listed") << "extra"
                                     << "holds a file its list does not name";
    QTest::newRow("file missing") << "missing"
                                  << "is missing or damaged";
    QTest::newRow("name leaving the folder") << "escape"
                                             << "a name that is not allowed";
    QTest::newRow("working database") << "working"
                                      << "a name that is not allowed";
    QTest::newRow("damaged database") << "database"
                                      << "The database data/MastEst.db in it is "
                                         "damaged";
    QTest::newRow("newer program") << "newer"
                                   << "data/MastEst.db in it was written by a newer "
                                      "version of Corvanel";
    QTest::newRow("no list of files") << "manifest"
                                      << "It is not a Corvanel backup";
}

// A backup that is not whole or not what its list says is refused with its reason before
// anything is touched: the data in use stays exactly as it was, and nothing is left behind.
void tst_backup::unusableBackupIsRefused() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    const QString good = tc.root() + "/good.zip";
    QString error;
    QVERIFY2(Backup::create(ctx, good, Backup::Kind::Manual, &error), qPrintable(error));
    const QString bad = tc.root() + "/bad.zip";
    QByteArray bytes = fileBytes(good);
    QMap<QString, QByteArray> entries = readZip(good);
    const QString master = "data-folder/data/MastEst.db";
    if (damage == "garbage") {
        QVERIFY(writeBytes(bad, QByteArray(5000, 'x')));
    } else if (damage == "truncated") {
        QVERIFY(writeBytes(bad, bytes.left(bytes.size() / 2)));
    } else {
        if (damage == "checksum") {
            entries[master][200] = entries[master][200] ^ 0x55;
        } else if (damage == "extra") {
            entries["data-folder/extra.txt"] = "not listed";
        } else if (damage == "missing") {
            entries.remove(master);
        } else if (damage == "escape") {
            entries["data-folder/../../evil.txt"] = "outside";
            restamp(entries);
        } else if (damage == "working") {
            entries["data-folder/data/tempdb.db"] = entries[master];
            restamp(entries);
        } else if (damage == "database") {
            QByteArray& db = entries[master];
            for (int i = 4096; i < db.size(); ++i)
                db[i] = char(i * 7);
            restamp(entries);
        } else if (damage == "newer") {
            // The layout's version is the header's user_version, four bytes at offset 60.
            const int v = Migrations::currentVersion(Migrations::Kind::MasterList) + 1;
            QByteArray& db = entries[master];
            for (int i = 0; i < 4; ++i)
                db[60 + i] = char((v >> (8 * (3 - i))) & 0xff);
            restamp(entries);
        } else if (damage == "manifest") {
            entries.remove("manifest.json");
        }
        writeZip(bad, entries);
    }
    const auto files = plainFiles(ctx.AppPath);
    const auto dbs = databases(ctx.AppPath);
    const QByteArray settings = fileBytes(settingsFile(ctx));

    QVERIFY(!Backup::verify(bad, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(error.contains("bad.zip"));
    error.clear();
    QVERIFY(!Backup::restore(ctx, bad, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    ctx.connections->closeAll();
    QCOMPARE(plainFiles(ctx.AppPath), files);
    QCOMPARE(databases(ctx.AppPath), dbs);
    QCOMPARE(fileBytes(settingsFile(ctx)), settings);
    QVERIFY(!QFileInfo::exists(tc.root() + "/evil.txt"));
    QVERIFY(leftovers(ctx).isEmpty());
    QVERIFY(Backup::list(ctx).isEmpty()); // nothing was replaced, so nothing was kept
}

void tst_backup::failureDuringRestoreKeepsTheData_data() {
    QTest::addColumn<int>("failAt");
    // The four entries of the data in use go aside (data, estimates, Templates, logo.png),
    // then four of the backup come in.
    for (int n = 1; n <= 8; ++n)
        QTest::newRow(qPrintable(QStringLiteral("move %1 fails").arg(n))) << n;
}

// A restore that fails at any move of the swap puts back every file it moved: the data in use
// is as it was, and the restore says so.
void tst_backup::failureDuringRestoreKeepsTheData() {
    QFETCH(int, failAt);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    const QString zip = tc.root() + "/backup.zip";
    QString error;
    QVERIFY2(Backup::create(ctx, zip, Backup::Kind::Manual, &error), qPrintable(error));
    // The data in use differs from the backup in every part.
    QVERIFY(ctx.settings->set("CoInfo", "CoName", "Changed since"));
    QVERIFY(writeBytes(ctx.templatesDir() + "/Proposal.rtf", "changed"));
    modData::exec(ctx, ctx.MastEstConn, "update master set eststatus='Rejected'");
    ctx.connections->closeAll();
    const auto files = plainFiles(ctx.AppPath);
    const auto dbs = databases(ctx.AppPath);
    const QByteArray settings = fileBytes(settingsFile(ctx));

    int calls = 0;
    const Backup::Mover failing = [&](const QString& from, const QString& to) {
        return ++calls != failAt && Backup::rename(from, to);
    };
    QVERIFY(!Backup::restore(ctx, zip, &error, nullptr, failing));
    QVERIFY(calls >= failAt);
    QVERIFY2(error.contains("the data in use was left as it was"), qPrintable(error));
    ctx.connections->closeAll();
    QCOMPARE(plainFiles(ctx.AppPath), files);
    QCOMPARE(databases(ctx.AppPath), dbs);
    QCOMPARE(fileBytes(settingsFile(ctx)), settings);
    QVERIFY(leftovers(ctx).isEmpty());
}

void tst_backup::restoreCutShortIsUndoneAtStart_data() {
    QTest::addColumn<int>("killedAt");
    // Three entries go aside (data, estimates, Templates), then four come in (and logo.png).
    for (int n : {1, 3, 4, 7})
        QTest::newRow(qPrintable(QStringLiteral("killed at move %1").arg(n))) << n;
}

// The program killed during the swap of a restore (the move throws, so nothing after it runs,
// as after kill -9): the next start puts the data that was in use back, whole, and says so.
void tst_backup::restoreCutShortIsUndoneAtStart() {
    QFETCH(int, killedAt);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    const QString zip = tc.root() + "/backup.zip";
    QString error;
    QVERIFY2(Backup::create(ctx, zip, Backup::Kind::Manual, &error), qPrintable(error));
    QVERIFY(writeBytes(ctx.templatesDir() + "/Proposal.rtf", "changed"));
    QVERIFY(QFile::remove(ctx.AppPath + "/logo.png")); // the backup brings an entry in
    modData::exec(ctx, ctx.MastEstConn, "update master set eststatus='Rejected'");
    ctx.connections->closeAll();
    Startup::prepareInstallation(ctx); // today's backup made, so the next start makes none
    ctx.connections->closeAll();
    const auto files = plainFiles(ctx.AppPath);
    const auto dbs = databases(ctx.AppPath);

    int calls = 0;
    struct Killed {};
    const Backup::Mover dying = [&](const QString& from, const QString& to) {
        if (++calls == killedAt)
            throw Killed{};
        return Backup::rename(from, to);
    };
    QVERIFY_THROWS_EXCEPTION(Killed, Backup::restore(ctx, zip, &error, nullptr, dying));
    ctx.connections->closeAll();
    QVERIFY(!leftovers(ctx).isEmpty());

    tc.prompt->clear();
    const Startup::Result r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY2(r.warning.contains("closed while a backup was being restored"), qPrintable(r.warning));
    ctx.connections->closeAll();
    QCOMPARE(plainFiles(ctx.AppPath), files);
    QCOMPARE(databases(ctx.AppPath), dbs);
    QVERIFY(leftovers(ctx).isEmpty());
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_backup::damagedDatabaseFoundAtStart_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("truncated, restored") << "truncated" << Answer::Yes;
    QTest::newRow("overwritten, restored") << "garbage" << Answer::Yes;
    QTest::newRow("truncated, declined") << "truncated" << Answer::No;
}

// A master list that fails its check at start is named, with the offer to put back the copy of
// the newest backup that holds a sound one; the damaged file is kept beside it. Declined, the
// start says what will not work and goes on as before (offering to rebuild the list).
void tst_backup::damagedDatabaseFoundAtStart() {
    QFETCH(QString, damage);
    QFETCH(Answer, answer);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    Startup::Result r = Startup::prepareInstallation(ctx); // makes today's backup
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(Backup::list(ctx).size(), 1);
    // A newer backup whose copy of the list is damaged is passed over for the sound one.
    const QString older = Backup::list(ctx).first().path;
    QMap<QString, QByteArray> entries = readZip(older);
    entries["data-folder/data/MastEst.db"].truncate(1000);
    restamp(entries);
    QJsonObject m = manifestOf(entries);
    m["created"] = QDateTime::currentDateTime().addSecs(60).toString(Qt::ISODate);
    entries["manifest.json"] = QJsonDocument(m).toJson();
    restamp(entries);
    writeZip(Backup::folder(ctx) + "/Corvanel backup newer.zip", entries);
    const QStringList master = StoredEstimate::dump(ctx, ctx.MastEstConn, "master");
    // An estimate made after the backup is in the estimates folder but not in the backup's list.
    StoredEstimate::start(ctx, "Made later");
    modData::exec(ctx, ctx.EstConn,
                  "insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,"
                  "LineTotal) values(1,0,'Roof','Shingles','Material',10000,'sq',10000,10000)");
    ctx.connections->closeAll();

    QByteArray damaged = fileBytes(ctx.MastEstConn);
    if (damage == "truncated")
        damaged.truncate(1000);
    else
        for (int i = 1024; i < damaged.size(); ++i)
            damaged[i] = char(0xA5 ^ i);
    QVERIFY(writeBytes(ctx.MastEstConn, damaged));
    tc.prompt->clear();
    tc.prompt->answerAll({answer, Answer::Yes});
    r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    const QString question = tc.prompt->shown().first().text;
    QVERIFY2(question.contains("The list of estimates") && question.contains("is damaged") &&
                 question.contains(QDir::toNativeSeparators(ctx.MastEstConn)),
             qPrintable(question));
    const QStringList aside = QDir(ctx.dataDir()).entryList({"MastEst.db.damaged-*"});
    QCOMPARE(aside.size(), 1);
    QCOMPARE(fileBytes(ctx.dataDir() + '/' + aside[0]), damaged);
    if (answer == Answer::No) {
        // Declined: the list is rebuilt from the estimates instead, as before backups existed.
        QCOMPARE(tc.prompt->count(), 2);
        QVERIFY2(r.warning.contains("The list of estimates was not restored."),
                 qPrintable(r.warning));
        QCOMPARE(StoredEstimate::count(ctx, ctx.MastEstConn, "master"), 4);
        return;
    }
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY2(r.warning.contains("The list of estimates was restored from the backup"),
             qPrintable(r.warning));
    QVERIFY2(r.warning.contains("1 estimate(s) made since then were listed again"),
             qPrintable(r.warning));
    const QStringList now = StoredEstimate::dump(ctx, ctx.MastEstConn, "master");
    QCOMPARE(now.mid(0, 3), master);
    QCOMPARE(now.size(), 4);
    QVERIFY2(now[3].contains("|Made later|") && now[3].contains("|Working|"), qPrintable(now[3]));
}

// Setup's "Back up now…" proposes a dated file in backups/ and says where the backup went;
// cancelling the file question makes none.
void tst_backup::backUpNowFromSetup() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    frmSetup f(ctx);
    QString proposed;
    f.backupFileName = [&](const QString& p) {
        proposed = p;
        return QString();
    };
    f.cmdBackupNow->click();
    QCOMPARE(proposed, Backup::folder(ctx) + '/' + Backup::proposedName(QDate::currentDate()));
    QCOMPARE(tc.prompt->count(), 0);
    QVERIFY(Backup::list(ctx).isEmpty());

    const QString usb = tc.root() + "/USB stick/Zoë's backup"; // no .zip typed
    f.backupFileName = [&](const QString&) { return usb; };
    f.cmdBackupNow->click();
    QString error;
    QVERIFY2(Backup::verify(usb + ".zip", &error), qPrintable(error));
    QVERIFY2(tc.prompt->lastText().startsWith("The backup was saved as " +
                                              QDir::toNativeSeparators(usb + ".zip")),
             qPrintable(tc.prompt->lastText()));
}

void tst_backup::restoreFromSetup_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("restored") << "idle" << Answer::Yes
                              << "was restored. The data it replaced is "
                                 "kept as"
                              << true;
    QTest::newRow("declined") << "idle" << Answer::No << "Replace every estimate" << false;
    QTest::newRow("estimate in work")
        << "open" << Answer::Yes << "Close the estimate in work first" << false;
    QTest::newRow("damaged backup") << "damaged" << Answer::Yes << "Nothing was changed." << false;
}

// Restoring from Setup: refused while an estimate is in work, a damaged backup named and
// refused, a question before anything is replaced, and what happened said afterwards.
void tst_backup::restoreFromSetup() {
    QFETCH(QString, situation);
    QFETCH(Answer, answer);
    QFETCH(QString, message);
    QFETCH(bool, replaced);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillData(ctx);
    const QString zip = tc.root() + "/backup.zip";
    QString error;
    QVERIFY2(Backup::create(ctx, zip, Backup::Kind::Manual, &error), qPrintable(error));
    if (situation == "damaged") {
        QByteArray bytes = fileBytes(zip);
        bytes.truncate(bytes.size() - 100);
        QVERIFY(writeBytes(zip, bytes));
    }
    QVERIFY(ctx.settings->set("CoInfo", "CoName", "Changed since"));
    if (situation == "open")
        ctx.WorkMode = Mode::Open;

    frmSetup f(ctx);
    bool asked = false;
    f.chooseBackup = [&] {
        asked = true;
        return zip;
    };
    tc.prompt->answer(answer);
    f.cmdRestoreBackup->click();
    QVERIFY2(tc.prompt->lastText().contains(message), qPrintable(tc.prompt->texts().join("\n")));
    QCOMPARE(asked, situation != "open");
    QCOMPARE(f.result().Restored, replaced);
    QCOMPARE(ctx.settings->get("CoInfo", "CoName"), replaced
                                                        ? QStringLiteral("Zoë's Roofing \U0001F3E0")
                                                        : QStringLiteral("Changed since"));
    QCOMPARE(Backup::list(ctx).size(), replaced ? 1 : 0); // the data replaced, kept
}

// The restore window lists the backups newest first with date, size and kind, and hands back
// the one chosen, or a file from elsewhere.
void tst_backup::restoreListNewestFirst() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    QString error;
    const QDir dir(Backup::folder(ctx));
    QVERIFY(
        Backup::create(ctx, dir.filePath("Corvanel backup a.zip"), Backup::Kind::Manual, &error));
    QTest::qWait(20);
    QVERIFY(Backup::makeDaily(ctx, QDate(2026, 12, 7)).error.isEmpty());
    QVERIFY(writeBytes(dir.filePath("broken.zip"), "not a zip"));
    {
        // Without a readable manifest a backup is dated by its file.
        QFile broken(dir.filePath("broken.zip"));
        QVERIFY(broken.open(QIODevice::ReadWrite));
        QVERIFY(broken.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(9, 0)),
                                   QFileDevice::FileModificationTime));
    }
    const QList<Backup::Info> all = Backup::list(ctx);
    QCOMPARE(all.size(), 3);

    frmRestore f(all, [&] { return tc.root() + "/elsewhere.zip"; });
    QCOMPARE(f.lstBackups->topLevelItemCount(), 3);
    QCOMPARE(f.lstBackups->topLevelItem(0)->text(2), QString("Daily"));
    QCOMPARE(f.lstBackups->topLevelItem(1)->text(2), QString("Made by hand"));
    QCOMPARE(f.lstBackups->topLevelItem(2)->text(2), QString("Cannot be read"));
    QCOMPARE(f.lstBackups->topLevelItem(0)->text(1), frmRestore::sizeText(all[0].size));
    QVERIFY2(QRegularExpression("^[0-9.]+ [kKM]B$")
                 .match(f.lstBackups->topLevelItem(0)->text(1))
                 .hasMatch(),
             qPrintable(f.lstBackups->topLevelItem(0)->text(1)));
    f.lstBackups->setCurrentItem(f.lstBackups->topLevelItem(1));
    f.cmdRestore->click();
    QCOMPARE(f.chosen(), dir.filePath("Corvanel backup a.zip"));

    frmRestore other(all, [&] { return tc.root() + "/elsewhere.zip"; });
    other.cmdOtherFile->click();
    QCOMPARE(other.chosen(), tc.root() + "/elsewhere.zip");
    QCOMPARE(other.result(), int(QDialog::Accepted));

    frmRestore none({}, {});
    QVERIFY(!none.cmdRestore->isEnabled());
}

QTEST_MAIN(tst_backup)
#include "tst_backup.moc"
