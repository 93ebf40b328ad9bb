// Work is never lost or stored twice: a failed save keeps nothing of itself, two programs
// reserving estimates at once never share an id, one program at a time works on a data folder,
// and the work of a program killed midway is offered back on the next start.
#include "EstimateWindow.h"
#include "StoredEstimate.h"
#include "TestContext.h"
#include "UiTest.h"

#include "app/Startup.h"
#include "estimates/modEst.h"
#include "estimates/modOpenEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"
#include "storage/InstanceLock.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <cstdio>
#include <memory>

using namespace EstimateWindow;
using StoredEstimate::count;
using Answer = Prompt::Answer;

namespace {

const QString kEstimate = QStringLiteral("OBrienReroof/OBrienReroof.db");

// This test program started again as a helper process: `role` says what it does on the
// installation at `appPath`.
QProcess* helper(QObject* parent, const QString& role, const QString& appPath,
                 const QStringList& more = {}) {
    auto* p = new QProcess(parent);
    p->setProgram(QCoreApplication::applicationFilePath());
    p->setArguments(QStringList{QStringLiteral("--helper"), role, appPath} + more);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start();
    return p;
}

// The helper's part: reserves `n` estimate ids and prints each on its own line.
int reserveIds(const QString& appPath, int n) {
    AppContext ctx;
    ctx.prompt = std::make_shared<ScriptedPrompt>();
    AppSetup::initContext(ctx, appPath, appPath + QStringLiteral("/config"));
    for (int i = 0; i < n; ++i) {
        try {
            std::printf("%d\n", modEst::CreateEstID(ctx));
        } catch (const modData::SqlError& e) {
            std::printf("error %s\n", qPrintable(e.description));
        }
        std::fflush(stdout);
    }
    ctx.connections->closeAll();
    return 0;
}

// What the working copy holds and the window shows of the estimate in work.
QStringList workState(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    QStringList s;
    for (const char* table :
         {"tpLineItems", "EstiGrid", "TempSect", "TempAreas", "TempLineal", "PendingDeletes"})
        s << QString::fromLatin1(table)
          << StoredEstimate::dump(ctx, ctx.TempDBConn, QString::fromLatin1(table));
    s << gridTexts(w) << w.totals->adminStoredTexts() << w.totals->summary()
      << w.totals->lblEstTotal->text();
    return s;
}

// The helper's part: a user at work on the installation at `appPath` (`mode` "new": a new
// estimate started and priced; "open": the saved one opened and changed). It prints what it
// holds once everything is on disk and waits to be killed.
int editUntilKilled(const QString& appPath, const QString& mode, int id) {
    TestContext::pinLocale();
    AppContext ctx;
    auto prompt = std::make_shared<ScriptedPrompt>();
    ctx.prompt = prompt;
    AppSetup::initContext(ctx, appPath, QFileInfo(appPath).path() + QStringLiteral("/config"));
    frmCorvanel w(ctx);
    if (mode == QLatin1String("new")) {
        startNew(w);
        pickLine(w, 1, "8.5", "115", "Roof");
        pickLine(w, 6, "12", "8.5", "Edges");
    } else {
        open(w, id);
        prompt->answer(Answer::Yes);
        w.lines->grdDataGrid->selectRow(rowOf(w, QStringLiteral("3-tab shingles, 25-year")));
        w.lines->cmdDeleteLine->click();
        pickLine(w, 6, "3", "9.25", "Edges");
    }
    w.totals->txtSumm->setPlainText(QStringLiteral("Tear-off of two layers, O'Brien's garage"));
    QTest::qWait(800);
    std::printf("%s\n", qPrintable(workState(w).join(u'\x1f')));
    std::fflush(stdout);
    QThread::sleep(120);
    return 0;
}

// The helper's part: holds the data folder's lock until it is killed.
int holdLock(const QString& appPath) {
    InstanceLock lock(appPath);
    QString error;
    if (lock.acquire(&error) != InstanceLock::Result::Acquired)
        return 3;
    std::printf("locked\n");
    std::fflush(stdout);
    QThread::sleep(120);
    return 0;
}

// The program itself on the installation below `root` (data, settings and window places there).
QProcess* program(QObject* parent, const QString& root) {
    auto* p = new QProcess(parent);
    p->setProgram(QStringLiteral(CORVANEL_PROGRAM));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->start();
    return p;
}

// The process id written into the lock file of the data folder below `root`, 0 when none.
qint64 lockHolder(const QString& root) {
    QFile f(InstanceLock::fileName(root + QStringLiteral("/share/Corvanel")));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readLine().trimmed().toLongLong();
}

bool waitFor(const std::function<bool()>& done, int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

} // namespace

class tst_safekeeping : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void failedSaveTellsTheTruth();
    void concurrentReservationsNeverCollide();
    void lockOfAKilledProgramIsTakenOver();
    void secondStartIsRefused();
    void killedDuringAnEditIsRecovered_data();
    void killedDuringAnEditIsRecovered();
    void recoveryDeclinedDiscardsTheChanges();
    void charactersAtTheLengthLimit_data();
    void charactersAtTheLengthLimit();
    void masterListRebuiltFromTheEstimates_data();
    void masterListRebuiltFromTheEstimates();
    void damagedListWithoutEstimatesIsReplaced();
    void interruptedStartLeavesNoOrphan();
};

// The ids of the new lines cannot be written back (the working table refuses): the user hears
// that the estimate was not saved, which is true, and the next save stores each line once.
void tst_safekeeping::failedSaveTellsTheTruth() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    pickLine(w, 1, "8.5", "115", "Roof");
    pickLine(w, 6, "12", "8.5", "Edges");
    modData::exec(ctx, ctx.TempDBConn,
                  "create trigger fault before update of LineItemID on tpLineItems begin select "
                  "raise(abort,'disk full'); end");
    tc.prompt->clear();
    tc.prompt->answer(Answer::No);
    w.mnuEstSave->trigger();
    QVERIFY2(tc.prompt->lastText().startsWith(QStringLiteral("The estimate was not saved.")),
             qPrintable(tc.prompt->texts().join('\n')));
    QVERIFY(tc.prompt->texts().join('\n').contains(QStringLiteral("disk full")));
    const QString db = ctx.estimateDbPath(kEstimate);
    QCOMPARE(count(ctx, db, "LineItems"), 0);
    // Still open with its changes, ready to be saved again.
    QCOMPARE(ctx.WorkMode, Mode::New);
    QVERIFY(w.mnuEstSave->isEnabled());

    modData::exec(ctx, ctx.TempDBConn, "drop trigger fault");
    tc.prompt->clear();
    saveAndClose(w, *tc.prompt);
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QCOMPARE(count(ctx, db, "LineItems"), 2);
}

// Two programs reserve estimates on one master list at the same moment: every id is handed out
// once, and each is the id of the row the program itself inserted.
void tst_safekeeping::concurrentReservationsNeverCollide() {
    TestContext tc;
    const int perHelper = 150;
    QObject owner;
    QList<QProcess*> helpers;
    for (int i = 0; i < 2; ++i)
        helpers << helper(&owner, QStringLiteral("reserve"), tc.ctx.AppPath,
                          {QString::number(perHelper)});
    QSet<int> ids;
    for (QProcess* p : helpers) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
        const QStringList lines =
            QString::fromUtf8(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), perHelper);
        for (const QString& l : lines) {
            bool ok = false;
            const int id = l.toInt(&ok);
            QVERIFY2(ok, qPrintable(l));
            QVERIFY2(!ids.contains(id), qPrintable(QStringLiteral("id %1 twice").arg(id)));
            ids.insert(id);
        }
    }
    QCOMPARE(count(tc.ctx, tc.ctx.MastEstConn, "master"), 2 * perHelper);
}

// A program holding the lock is running: the lock is refused. Killed (kill -9, nothing cleaned
// up), its lock is recognised as stale and taken over.
void tst_safekeeping::lockOfAKilledProgramIsTakenOver() {
    TestContext tc;
    QObject owner;
    QProcess* holder = helper(&owner, QStringLiteral("lock"), tc.ctx.AppPath);
    QVERIFY(waitFor([&] {
        holder->waitForReadyRead(100);
        return holder->canReadLine() && holder->readLine().trimmed() == "locked";
    }));
    InstanceLock second(tc.ctx.AppPath);
    QString error;
    QCOMPARE(second.acquire(&error), InstanceLock::Result::AlreadyRunning);
    holder->kill();
    QVERIFY(holder->waitForFinished(10000));
    QVERIFY(QFile::exists(InstanceLock::fileName(tc.ctx.AppPath)));
    QCOMPARE(second.acquire(&error), InstanceLock::Result::Acquired);
}

// The program started twice on one data folder: the second says so and brings nothing else up;
// after the first is killed, the next start runs.
void tst_safekeeping::secondStartIsRefused() {
    QTemporaryDir root;
    QObject owner;
    QProcess* first = program(&owner, root.path());
    QVERIFY(waitFor([&] { return lockHolder(root.path()) == first->processId(); }));
    QProcess* second = program(&owner, root.path());
    QByteArray said;
    QVERIFY(waitFor([&] {
        second->waitForReadyRead(100);
        said += second->readAllStandardError();
        return said.contains("Corvanel is already running.");
    }));
    // It waits for the message to be read, holding nothing: the lock is still the first's.
    QCOMPARE(lockHolder(root.path()), first->processId());
    second->kill();
    first->kill();
    QVERIFY(first->waitForFinished(10000));
    QVERIFY(second->waitForFinished(10000));
    QProcess* third = program(&owner, root.path());
    QVERIFY(waitFor([&] { return lockHolder(root.path()) == third->processId(); }));
    third->kill();
    QVERIFY(third->waitForFinished(10000));
}

namespace {
// Kills a helper editing in `mode` once its work is on disk; returns what it held.
QStringList killWhileEditing(TestContext& tc, const QString& mode, int id = 0) {
    tc.ctx.connections->closeAll();
    QObject owner;
    QProcess* editor =
        helper(&owner, QStringLiteral("edit"), tc.ctx.AppPath, {mode, QString::number(id)});
    QByteArray out;
    waitFor([&] {
        editor->waitForReadyRead(100);
        out += editor->readAllStandardOutput();
        return out.endsWith('\n') || editor->state() == QProcess::NotRunning;
    });
    editor->kill();
    editor->waitForFinished(10000);
    return QString::fromUtf8(out).trimmed().split(u'\x1f');
}

// A saved estimate with two lines of shingles; returns its id.
int savedEstimate(TestContext& tc) {
    frmCorvanel w(tc.ctx);
    startNew(w);
    const int id = tc.ctx.EstID;
    pickLine(w, 1, "8.5", "115", "Roof");
    pickLine(w, 2, "4", "20", "Roof");
    saveAndClose(w, *tc.prompt);
    return id;
}
} // namespace

void tst_safekeeping::killedDuringAnEditIsRecovered_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("new estimate, never saved") << "new";
    QTest::newRow("opened estimate") << "open";
}

// kill -9 in the middle of work: the next start offers it back, and Yes brings back every
// working row, the texts and the mode, with the changes still to be saved.
void tst_safekeeping::killedDuringAnEditIsRecovered() {
    QFETCH(QString, mode);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int id = mode == QLatin1String("open") ? savedEstimate(tc) : 0;
    const QString db = ctx.estimateDbPath(kEstimate);
    const QStringList stored = id ? StoredEstimate::dump(ctx, db, "LineItems") : QStringList();
    const QStringList held = killWhileEditing(tc, mode, id);
    QVERIFY2(held.size() > 10, qPrintable(held.join('|')));

    frmCorvanel w(ctx);
    tc.prompt->clear();
    tc.prompt->answer(Answer::Yes);
    w.offerRecovery();
    QCOMPARE(tc.prompt->texts(),
             QStringList{"Corvanel was closed while the estimate OBrienReroof had unsaved "
                         "changes. Recover them?"});
    QCOMPARE(workState(w), held);
    QCOMPARE(ctx.WorkMode, mode == QLatin1String("new") ? Mode::New : Mode::Open);
    QVERIFY(ctx.EstChanged);
    QVERIFY(w.mnuEstSave->isEnabled());
    // Nothing was stored by the recovery itself; the save stores what was recovered.
    QCOMPARE(StoredEstimate::dump(ctx, db, "LineItems"), stored);
    tc.prompt->clear();
    saveAndClose(w, *tc.prompt);
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QCOMPARE(count(ctx, db, "LineItems"), 2);
    QCOMPARE(modData::scalar(ctx, db, "select EstSummary from Main").toString(),
             QStringLiteral("Tear-off of two layers, O'Brien's garage"));
    // Recovered once: the next start has nothing to offer.
    frmCorvanel again(ctx);
    tc.prompt->clear();
    again.offerRecovery();
    QCOMPARE(tc.prompt->count(), 0);
}

// No: the changes go, the stored estimate stays as it was saved, and nothing is asked again.
void tst_safekeeping::recoveryDeclinedDiscardsTheChanges() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int id = savedEstimate(tc);
    const QString db = ctx.estimateDbPath(kEstimate);
    const QStringList stored = StoredEstimate::dump(ctx, db, "LineItems");
    killWhileEditing(tc, QStringLiteral("open"), id);
    frmCorvanel w(ctx);
    tc.prompt->clear();
    tc.prompt->answer(Answer::No);
    w.offerRecovery();
    QCOMPARE(tc.prompt->count(), 1);
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QCOMPARE(count(ctx, ctx.TempDBConn, "tpLineItems"), 0);
    QCOMPARE(StoredEstimate::dump(ctx, db, "LineItems"), stored);
    tc.prompt->clear();
    w.offerRecovery();
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_safekeeping::charactersAtTheLengthLimit_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    const QString house = QString::fromUtf8("\xF0\x9F\x8F\xA0");
    QTest::newRow("first name ending in an emoji at the limit")
        << 0 << "Zoë" + QString(21, 'x') + smile << "Zoë" + QString(21, 'x') + smile;
    QTest::newRow("one emoji beyond the limit")
        << 0 << QString(24, 'x') + smile + smile << QString(24, 'x') + smile;
    QTest::newRow("last name of emoji only") << 1 << house.repeated(101) << house.repeated(100);
    QTest::newRow("accents and apostrophes, not cut") << 2 << "12 Rue de l'Église, Côte-d'Or"
                                                      << "12 Rue de l'Église, Côte-d'Or";
}

// A box holds as many characters as the schema allows, emoji counting one each, and nothing is
// ever cut inside a character: what is stored reads back exactly.
void tst_safekeeping::charactersAtTheLengthLimit() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    const QStringList v = {"Zoë",          "O'Brien", "12 Elm St", "Anytown, MT 54321",
                           "555-123-4567", "",        ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    // Pasted, as a name from elsewhere would be.
    w.owner->txtName[field]->clear();
    w.owner->txtName[field]->insert(typed);
    QCOMPARE(w.owner->txtName[field]->text(), stored);
    w.owner->txtName[field]->setText(typed);
    QCOMPARE(w.owner->txtName[field]->text(), stored);
    w.owner->cmbEstType->setEditText(QStringLiteral("Reroof"));
    w.owner->txtEstName->setText(QStringLiteral("Limits"));
    w.owner->cmdStartEst->click();
    QVERIFY2(ctx.estimateStarted(), qPrintable(tc.prompt->texts().join('\n')));
    const char* const columns[] = {"fname", "lname", "address"};
    const QString column = QString::fromLatin1(columns[field]);
    QCOMPARE(modData::scalar(ctx, ctx.EstConn, "select " + column + " from main").toString(),
             stored);
    QCOMPARE(modData::scalar(ctx, ctx.EstConn, "select length(" + column + ") from main").toInt(),
             int(stored.toUcs4().size()));
}

void tst_safekeeping::masterListRebuiltFromTheEstimates_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("missing, rebuilt") << "missing" << Answer::Yes;
    QTest::newRow("truncated, rebuilt") << "truncated" << Answer::Yes;
    QTest::newRow("emptied, rebuilt") << "emptied" << Answer::Yes;
    QTest::newRow("missing, not rebuilt") << "missing" << Answer::No;
}

// The master list gone or damaged while three estimates exist: the start says so and, with
// Yes, lists every estimate again from its own database, so each opens as before.
void tst_safekeeping::masterListRebuiltFromTheEstimates() {
    QFETCH(QString, damage);
    QFETCH(Answer, answer);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const QStringList names = {"Adams", "OBrien", "Zoellner"};
    for (const QString& n : names) {
        StoredEstimate::start(ctx, n);
        modData::exec(ctx, ctx.EstConn, "update Main set Address=? where ID=1",
                      {n + "'s house, 1 Elm St"});
    }
    ctx.connections->closeAll();
    QByteArray before;
    if (damage == "missing") {
        QVERIFY(QFile::remove(ctx.MastEstConn));
    } else {
        QFile f(ctx.MastEstConn);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const int keep = damage == "emptied" ? 0 : 1000;
        before = f.readAll().left(keep);
        f.resize(keep);
    }
    tc.prompt->clear();
    tc.prompt->answer(answer);
    const Startup::Result r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY2(tc.prompt->lastText().contains("The estimates folder holds 3 estimate(s)"),
             qPrintable(tc.prompt->lastText()));
    if (answer == Answer::No) {
        QCOMPARE(count(ctx, ctx.MastEstConn, "master"), 0);
        return;
    }
    QVERIFY2(r.warning.contains("rebuilt with 3 estimate(s)"), qPrintable(r.warning));
    // The start then fills each one's owner and total (no lines: 0) from its own database.
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString facts = QStringLiteral("|30|Zo\u00EB O'Brien|0|");
    QCOMPARE(
        StoredEstimate::dump(ctx, ctx.MastEstConn, "master"),
        QStringList({"1|Adams||Adams's house, 1 Elm St|Adams/Adams.db|Working|" + today + facts,
                     "2|OBrien||OBrien's house, 1 Elm St|OBrien/OBrien.db|Working|" + today + facts,
                     "3|Zoellner||Zoellner's house, 1 Elm St|Zoellner/Zoellner.db|Working|" +
                         today + facts}));
    for (int id = 1; id <= 3; ++id)
        QCOMPARE(modOpenEst::OpenOwner(ctx, id).name[2], names[id - 1] + "'s house, 1 Elm St");
    if (damage != "missing") {
        const QStringList aside =
            QDir(ctx.dataDir()).entryList({"MastEst.db.damaged-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QFile kept(ctx.dataDir() + '/' + aside[0]);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);
    }
}

// A damaged list with no estimate to lose is replaced without a question, and said so.
void tst_safekeeping::damagedListWithoutEstimatesIsReplaced() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    ctx.connections->closeAll();
    QFile f(ctx.MastEstConn);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.resize(0);
    f.close();
    const Startup::Result r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(tc.prompt->count(), 0);
    QVERIFY2(r.warning.contains("is damaged and cannot be read"), qPrintable(r.warning));
    QCOMPARE(count(ctx, ctx.MastEstConn, "master"), 0);
    QVERIFY(count(ctx, ctx.MastEstConn, "sectionname") > 0);
}

// A start cut short leaves a reserved row without a name, or a folder with an empty database
// that no row lists: the next start removes both, so the name is free again. A folder that
// holds work is never removed.
void tst_safekeeping::interruptedStartLeavesNoOrphan() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    tc.createTempDB();
    modEst::CreateEstID(ctx);
    QVERIFY(QDir().mkpath(ctx.estimatesDir() + "/Jones"));
    modTempDB::CreateEstDB(ctx, "Jones");
    QVERIFY(QDir().mkpath(ctx.estimatesDir() + "/Kept"));
    modTempDB::CreateEstDB(ctx, "Kept");
    const QString kept = ctx.estimateDbPath(modEst::estPath("Kept"));
    modData::exec(ctx, kept,
                  "insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,"
                  "LineTotal) values(1,0,'Roof','Shingles','Material',10000,'sq',10000,10000)");
    StoredEstimate::start(ctx, "Listed");
    ctx.connections->closeAll();
    QVERIFY(modEst::nameInUse(ctx, "Jones", 0));

    const Startup::Result r = Startup::prepareInstallation(ctx);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select group_concat(estname) from master")
                 .toString(),
             QStringLiteral("Listed"));
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Jones"));
    QVERIFY(!modEst::nameInUse(ctx, "Jones", 0));
    QVERIFY(QFileInfo::exists(kept));
    QVERIFY(QFileInfo::exists(ctx.estimateDbPath(modEst::estPath("Listed"))));
}

int main(int argc, char** argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "--helper") {
        QApplication app(argc, argv);
        const QString role = QString::fromLocal8Bit(argv[2]);
        const QString appPath = QString::fromLocal8Bit(argv[3]);
        if (role == QLatin1String("edit") && argc >= 6)
            return editUntilKilled(appPath, QString::fromLocal8Bit(argv[4]),
                                   QByteArray(argv[5]).toInt());
        if (role == QLatin1String("lock"))
            return holdLock(appPath);
        if (role == QLatin1String("reserve") && argc >= 5)
            return reserveIds(appPath, QByteArray(argv[4]).toInt());
        return 2;
    }
    QApplication app(argc, argv);
    tst_safekeeping t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_safekeeping.moc"
