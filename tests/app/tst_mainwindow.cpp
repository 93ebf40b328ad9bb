// Start-up, the greeting, the main window's layout and its work modes, and quitting.
#include "TestContext.h"

#include "app/Startup.h"
#include "app/frmAbout.h"
#include "app/frmCorvanel.h"
#include "app/frmGreet.h"
#include "documents/forms/OutputTab.h"
#include "estimates/forms/OwnerTab.h"
#include "pricing/forms/TotalsTab.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QUrlQuery>

using Answer = Prompt::Answer;

namespace {

// Catches the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

QStringList tabTexts(const QTabWidget* t) {
    QStringList s;
    for (int i = 0; i < t->count(); ++i)
        s << t->tabText(i);
    return s;
}

QList<bool> tabStates(const QTabWidget* t) {
    QList<bool> s;
    for (int i = 0; i < t->count(); ++i)
        s << t->isTabEnabled(i);
    return s;
}

void startNewEstimate(frmCorvanel& w, const QString& last) {
    w.mnuEstNew->trigger();
    const QStringList v = {"Zoë", last, "12 Elm St", "Anytown, MT 54321", "555-123-4567", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText(QStringLiteral("Reroof"));
    w.owner->cmdStartEst->click();
}

int masterRows(AppContext& ctx) {
    return modData::scalar(ctx, ctx.MastEstConn, QStringLiteral("select count(*) from master"))
        .toInt();
}

// Sends the window a close request, as its close box does; true when it agreed to close.
bool closeWindow(frmCorvanel& w) {
    QCloseEvent e;
    QApplication::sendEvent(&w, &e);
    return e.isAccepted();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void firstAndLaterStart();
    void newerMasterListStopsTheStart();
    void greetingTexts();
    void greetingOkay_data();
    void greetingOkay();
    void startState();
    void menuCaptionsAndKeys();
    void activeMenu_data();
    void activeMenu();
    void lockOwner();
    void figureModeInAndOut();
    void reportModeInAndOut();
    void quitQuestions_data();
    void quitQuestions();
    void quitWhileIdleAsksNothing();
    void helpAndBugReport();
    void about();
};

void TestMainWindow::firstAndLaterStart() {
    TestContext tc(TestContext::Setup::Empty);
    const Startup::Result first = Startup::prepareInstallation(tc.ctx);
    QVERIFY2(first.ok, qPrintable(first.error));
    QVERIFY(first.firstStart);
    QCOMPARE(tc.ctx.settings->get("Op", "Greet"), QStringLiteral("1"));
    QCOMPARE(tc.ctx.settings->get("CoInfo", "Name"), QStringLiteral("ABC Construction"));
    QVERIFY(QFile::exists(tc.ctx.CostConn));
    QVERIFY(QFile::exists(tc.ctx.templatesDir() + "/proposal.rtf"));

    // The user makes the program theirs.
    QVERIFY(tc.ctx.settings->set("CoInfo", "Name", "O'Malley Roofing"));
    QVERIFY(tc.ctx.settings->set("Op", "Greet", "0"));
    QFile proposal(tc.ctx.templatesDir() + "/proposal.rtf");
    QVERIFY(proposal.open(QIODevice::WriteOnly | QIODevice::Truncate));
    proposal.write("{\\rtf1 My own proposal}");
    proposal.close();
    modData::exec(tc.ctx, tc.ctx.MastEstConn,
                  "insert into master(estname,eststatus) values('Smith','Working')");
    tc.ctx.connections->closeAll();

    const Startup::Result later = Startup::prepareInstallation(tc.ctx);
    QVERIFY(later.ok);
    QVERIFY(!later.firstStart);
    QCOMPARE(tc.ctx.settings->get("CoInfo", "Name"), QStringLiteral("O'Malley Roofing"));
    QCOMPARE(tc.ctx.settings->get("Op", "Greet"), QStringLiteral("0"));
    QVERIFY(proposal.open(QIODevice::ReadOnly));
    QCOMPARE(proposal.readAll(), QByteArray("{\\rtf1 My own proposal}"));
    QCOMPARE(masterRows(tc.ctx), 1);
}

void TestMainWindow::newerMasterListStopsTheStart() {
    TestContext tc;
    modData::exec(tc.ctx, tc.ctx.MastEstConn, "PRAGMA user_version = 99");
    tc.ctx.connections->closeAll();
    const Startup::Result r = Startup::prepareInstallation(tc.ctx);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains("written by a newer version of Corvanel"), qPrintable(r.error));
    QVERIFY2(r.error.contains(QDir::toNativeSeparators(tc.ctx.MastEstConn)), qPrintable(r.error));
}

void TestMainWindow::greetingTexts() {
    TestContext tc;
    frmGreet g(*tc.ctx.settings);
    QCOMPARE(g.windowTitle(), QStringLiteral("Welcome to Corvanel"));
    QCOMPARE(g.chkShowGreet->text(), QStringLiteral("Show at startup"));
    QVERIFY(g.chkShowGreet->isChecked());
    QCOMPARE(g.cmdOkay->text(), QStringLiteral("Okay"));
    const QStringList lines = g.Label1->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 16);
    QCOMPARE(lines.first(),
             QStringLiteral("This screen is a reminder of how to get started using Corvanel."));
    QCOMPARE(lines[3],
             QStringLiteral("Start area of the Help File. Press F1 or Menu->Help->Contents"));
    QCOMPARE(
        lines[11],
        QStringLiteral("To manage existing estimate status press F3 or Menu->Estimate->Manage"));
    QCOMPARE(lines.last(), QStringLiteral("Good luck and we hope you enjoy our software."));
    for (int blank : {1, 4, 6, 8, 10, 12, 14})
        QVERIFY(lines[blank].isEmpty());
}

void TestMainWindow::greetingOkay_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("shownNextTime");
    QTest::newRow("ticked") << true << "1" << true;
    QTest::newRow("cleared") << false << "0" << false;
}

void TestMainWindow::greetingOkay() {
    QFETCH(bool, ticked);
    QFETCH(QString, stored);
    QFETCH(bool, shownNextTime);
    TestContext tc;
    frmGreet g(*tc.ctx.settings);
    g.chkShowGreet->setChecked(ticked);
    g.cmdOkay->click();
    QCOMPARE(g.result(), int(QDialog::Accepted));
    QCOMPARE(tc.ctx.settings->get("Op", "Greet"), stored);
    QCOMPARE(modMain::ShowGreeting(*tc.ctx.settings), shownNextTime);
    // "Greet" keeps its place at the head of "Op" (the administrative defaults are read by
    // position after it).
    QCOMPARE(tc.ctx.settings->section("Corvanel", "Op").first().first, QStringLiteral("Greet"));
}

void TestMainWindow::startState() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvanel"));
    QVERIFY(!w.tabsVisible());
    QVERIFY(!w.mnuEstSave->isEnabled());
    QVERIFY(!w.totals->cmdSave->isEnabled());
    QCOMPARE(w.totals->cmdSave->text(), QStringLiteral("Save && Close"));
    QVERIFY(!w.mnuEstClose->isEnabled());
    QVERIFY(tc.ctx.WorkMode == Mode::Idle);
    QCOMPARE(tabTexts(w.SSTab1),
             (QStringList{"Home Owner", "Roof Area", "Line Items", "Terms/Totals", "Output"}));
    QCOMPARE(tabStates(w.SSTab1), QList<bool>(5, true));
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    QCOMPARE(tabTexts(w.output->SSTab2),
             (QStringList{"Detail", "Proposal", "Contract", "Roof Details"}));
    QCOMPARE(w.cmdPrint[0]->text(), QStringLiteral("Create document set"));
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(w.cmdPrint[i]->text(), QStringLiteral("Create from estimate"));
    QCOMPARE(w.cmdPrint[4]->text(), QStringLiteral("Create from roof areas"));
    for (int i = 1; i <= 3; ++i)
        QVERIFY(w.panel(i) && w.panel(i)->text().isEmpty());
    QVERIFY(w.owner->txtName[0]->isReadOnly());
    QVERIFY(!w.owner->cmdImport->isEnabled());
    QVERIFY(w.output->cboFonts->count() > 0);
    // The start page offers the four ways in, and they work.
    auto* figure = w.findChild<QPushButton*>("cmdStartFigure");
    QVERIFY(figure && figure->isEnabled());
    for (const char* n : {"cmdStartNew", "cmdStartOpen", "cmdStartManage"})
        QVERIFY(w.findChild<QPushButton*>(n));
    figure->click();
    QCOMPARE(tc.ctx.WorkMode, Mode::Figure);
    QVERIFY(!figure->isEnabled());
}

void TestMainWindow::menuCaptionsAndKeys() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"&Setup", "&Estimate", "E&dit", "&Reports", "&Help"}));
    struct Entry {
        QAction* action;
        const char* caption;
        QKeySequence key;
    };
    const Entry entries[] = {
        {w.mnuSetupMaint, "Setup", {}},
        {w.mnuSetupPrices, "Prices", QKeySequence(Qt::Key_F4)},
        {w.mnuEstNew, "New", QKeySequence(Qt::Key_F6)},
        {w.mnuEstOpen, "Open", QKeySequence(Qt::Key_F7)},
        {w.mnuEstManage, "Manage", QKeySequence(Qt::Key_F3)},
        {w.mnuEstFig, "Figure", QKeySequence(Qt::Key_F8)},
        {w.mnuEstSave, "Save Estimate", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {w.mnuEstClose, "Close open estimate", QKeySequence(Qt::Key_F9)},
        {w.mnuEditUndo, "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {w.mnuEditRedo, "Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {w.mnuReportForms, "Print Forms", {}},
        {w.mnuReportManage, "Manage Details/Proposal", QKeySequence(Qt::Key_F2)},
        {w.mnuHelpContents, "Contents", QKeySequence(Qt::Key_F1)},
        {w.mnuHelpBug, "Report a bug", {}},
        {w.mnuHelpAbout, "About", {}},
    };
    for (const Entry& e : entries) {
        QCOMPARE(e.action->text(), QString::fromLatin1(e.caption));
        QCOMPARE(e.action->shortcut(), e.key);
    }
    // The Estimate menu: four entries, a separator, Save and Close, a separator and Quit.
    const QList<QAction*> est = w.mnuEst->actions();
    QCOMPARE(est.size(), 9);
    QVERIFY(est[4]->isSeparator());
    QCOMPARE(est[5], w.mnuEstSave);
    QCOMPARE(est[6], w.mnuEstClose);
    QVERIFY(est[7]->isSeparator());
    QCOMPARE(est[8]->objectName(), QStringLiteral("mnuEstQuit"));
    // With nothing done there is nothing to undo or redo.
    QCOMPARE(w.mnuEdit->actions(), (QList<QAction*>{w.mnuEditUndo, w.mnuEditRedo}));
    QVERIFY(!w.mnuEditUndo->isEnabled());
    QVERIFY(!w.mnuEditRedo->isEnabled());
}

void TestMainWindow::activeMenu_data() {
    QTest::addColumn<QString>("state");
    QTest::newRow("idle") << "idle";
    QTest::newRow("nonidle") << "nonidle";
    QTest::newRow("anything else") << "busy";
}

void TestMainWindow::activeMenu() {
    QFETCH(QString, state);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.SaveStatus(true);
    w.ActiveMenu(state);
    const bool idle = state == QLatin1String("idle");
    QCOMPARE(w.mnuSetup->menuAction()->isEnabled(), idle);
    QCOMPARE(w.mnuReport->menuAction()->isEnabled(), idle);
    for (QAction* a :
         {w.mnuEstNew, w.mnuEstOpen, w.mnuEstManage, w.mnuEstFig, w.mnuHelpAbout, w.mnuHelpBug})
        QCOMPARE(a->isEnabled(), idle);
    QCOMPARE(w.mnuEstClose->isEnabled(), !idle);
    QVERIFY(w.mnuHelpContents->isEnabled());
    QVERIFY(w.mnuEst->menuAction()->isEnabled());
    // The save entry follows SaveStatus alone.
    QVERIFY(w.mnuEstSave->isEnabled());
    w.SaveStatus(false);
    QVERIFY(!w.mnuEstSave->isEnabled());
    QVERIFY(!w.totals->cmdSave->isEnabled());
    QCOMPARE(tc.prompt->count(), 0);
}

void TestMainWindow::lockOwner() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.LockOwner(false);
    for (QLineEdit* t : w.owner->txtName)
        QVERIFY(!t->isReadOnly());
    QVERIFY(!w.owner->txtEstName->isReadOnly());
    QVERIFY(w.owner->cmbEstType->isEnabled());
    for (QLabel* l : {w.owner->Label4, w.owner->Label6, w.owner->Label24})
        QVERIFY(!l->isHidden());
    w.LockOwner(true);
    for (QLineEdit* t : w.owner->txtName)
        QVERIFY(t->isReadOnly());
    QVERIFY(w.owner->txtEstName->isReadOnly());
    QVERIFY(!w.owner->cmbEstType->isEnabled());
    QCOMPARE(w.owner->Label3->text(),
             QStringLiteral("Owner information cannot be edited while the estimate is open.  Edit "
                            "owner info from Manage Estimate Screen (F3), select the home from the "
                            "list, and click \"Edit Owner Info\"."));
    for (QLabel* l : {w.owner->Label4, w.owner->Label6, w.owner->Label24})
        QVERIFY(l->isHidden());
}

void TestMainWindow::figureModeInAndOut() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.output->SSTab2->setCurrentIndex(1);
    w.mnuEstFig->trigger();
    QCOMPARE(tc.ctx.WorkMode, Mode::Figure);
    QVERIFY(w.tabsVisible());
    QCOMPARE(w.SSTab1->currentIndex(), 1);
    QCOMPARE(tabStates(w.SSTab1), (QList<bool>{false, true, false, false, true}));
    QCOMPARE(w.output->SSTab2->currentIndex(), 3);
    QCOMPARE(w.output->SSTab2->tabText(3), QStringLiteral("Roof Details"));
    QCOMPARE(tabStates(w.output->SSTab2), (QList<bool>{false, false, false, true}));
    QVERIFY(w.mnuEstClose->isEnabled());
    QVERIFY(!w.mnuEstNew->isEnabled());
    QVERIFY(!w.mnuEstSave->isEnabled());
    // A second Figure from the menu cannot be reached while busy.
    QVERIFY(!w.mnuEstFig->isEnabled());
    modData::exec(tc.ctx, tc.ctx.TempDBConn, "insert into TempAreas(Total) values(849)");

    w.mnuEstClose->trigger();
    QVERIFY(tc.ctx.WorkMode == Mode::Idle);
    QVERIFY(!w.tabsVisible());
    QCOMPARE(tabStates(w.SSTab1), QList<bool>(5, true));
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    QCOMPARE(tabStates(w.output->SSTab2), QList<bool>(4, true));
    QVERIFY(w.mnuEstNew->isEnabled());
    QVERIFY(!w.mnuEstClose->isEnabled());
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from TempAreas").toInt(),
             0);
    QCOMPARE(tc.prompt->count(), 0);
}

void TestMainWindow::reportModeInAndOut() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuReportManage->trigger();
    QCOMPARE(tc.ctx.WorkMode, Mode::Report);
    QVERIFY(w.tabsVisible());
    QCOMPARE(w.SSTab1->currentIndex(), 4);
    QCOMPARE(tabStates(w.SSTab1), (QList<bool>{false, false, false, false, true}));
    QCOMPARE(w.output->SSTab2->currentIndex(), 0);
    QCOMPARE(w.output->SSTab2->tabText(0), QString());
    QCOMPARE(tabStates(w.output->SSTab2), (QList<bool>{true, false, false, false}));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!w.cmdPrint[i]->isEnabled());
    QVERIFY(!w.mnuSetup->menuAction()->isEnabled());
    w.output->rtfText[0]->setPlainText(QStringLiteral("A letter to Mrs. O'Neil"));

    w.mnuEstClose->trigger();
    QVERIFY(tc.ctx.WorkMode == Mode::Idle);
    QVERIFY(!w.tabsVisible());
    QCOMPARE(w.output->SSTab2->tabText(0), QStringLiteral("Detail"));
    QCOMPARE(tabStates(w.output->SSTab2), QList<bool>(4, true));
    QCOMPARE(tabStates(w.SSTab1), QList<bool>(5, true));
    for (int i = 0; i <= 4; ++i)
        QVERIFY(w.cmdPrint[i]->isEnabled());
    QVERIFY(w.output->rtfText[0]->toPlainText().isEmpty());
    QVERIFY(w.mnuSetup->menuAction()->isEnabled());
}

void TestMainWindow::quitQuestions_data() {
    QTest::addColumn<bool>("opened");
    QTest::addColumn<int>("answer");
    QTest::newRow("new, Yes") << false << int(Answer::Yes);
    QTest::newRow("new, No") << false << int(Answer::No);
    QTest::newRow("open, Yes") << true << int(Answer::Yes);
    QTest::newRow("open, No") << true << int(Answer::No);
    // Return presses the default button, which must keep the work: -1 answers with it.
    QTest::newRow("new, Return") << false << -1;
    QTest::newRow("open, Return") << true << -1;
}

void TestMainWindow::quitQuestions() {
    QFETCH(bool, opened);
    QFETCH(int, answer);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNewEstimate(w, QStringLiteral("O'Hara"));
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(masterRows(tc.ctx), 1);
    const QString folder = tc.ctx.estimatesDir() + "/OHaraReroof";
    QVERIFY(QDir(folder).exists());
    if (opened)
        tc.ctx.WorkMode = Mode::Open; // as after a save and a later Open

    if (answer >= 0)
        tc.prompt->answer(Answer(answer));
    const bool closed = closeWindow(w);
    QCOMPARE(tc.prompt->count(), 1);
    const auto asked = tc.prompt->shown().last();
    QVERIFY(asked.question);
    QCOMPARE(asked.buttons, Prompt::Buttons::YesNo);
    QCOMPARE(asked.icon, Prompt::Icon::Question);
    QCOMPARE(asked.defaultAnswer, Answer::No);
    QCOMPARE(asked.title, QStringLiteral("Corvanel"));
    QCOMPARE(asked.text, opened ? QStringLiteral("There is an open estimate in progress,\ndo you "
                                                 "really want to quit?\nDoing so loses any "
                                                 "unsaved work.")
                                : QStringLiteral("There is a new estimate in progress,\ndo you "
                                                 "really want to quit?"));
    const bool yes = answer >= 0 && Answer(answer) == Answer::Yes;
    QCOMPARE(closed, yes);
    // Quitting a new estimate throws it away whole: its row and its folder. An open estimate,
    // and any estimate whose quit was answered No, stays as it is.
    const bool thrownAway = yes && !opened;
    QCOMPARE(masterRows(tc.ctx), thrownAway ? 0 : 1);
    QCOMPARE(QDir(folder).exists(), !thrownAway);
}

void TestMainWindow::quitWhileIdleAsksNothing() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    QVERIFY(closeWindow(w));
    w.mnuEstFig->trigger();
    QVERIFY(closeWindow(w));
    QCOMPARE(tc.prompt->count(), 0);
}

void TestMainWindow::helpAndBugReport() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("mailto", &catcher, "open");
    w.mnuHelpContents->trigger();
    w.mnuHelpBug->trigger();
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("mailto");

    // The help shows in the program's own window; only the bug report goes to the desktop.
    QCOMPARE(catcher.urls.size(), 1);
    auto* help = w.findChild<QWidget*>("frmHelp");
    QVERIFY(help && help->isVisible());
    QVERIFY(!QDir(tc.ctx.AppPath + "/help").exists());
    QCOMPARE(catcher.urls[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(catcher.urls[0].path(), frmCorvanel::supportAddress());
    QCOMPARE(QUrlQuery(catcher.urls[0]).queryItemValue("subject"), QStringLiteral("Corvanel_Bug"));
    QCOMPARE(tc.prompt->count(), 0);
}

void TestMainWindow::about() {
    frmAbout a;
    QCOMPARE(a.windowTitle(), QStringLiteral("About Corvanel"));
    QCOMPARE(a.lblTitle->text(), QStringLiteral("Corvanel"));
    QCOMPARE(a.lblVersion->text(), QStringLiteral("Version " CORVANEL_VERSION));
    QVERIFY(QStringLiteral(CORVANEL_VERSION).count('.') == 2);
    QVERIFY(!a.lblDescription->text().isEmpty());
    QCOMPARE(a.cmdSysInfo->text(), QStringLiteral("&System Info..."));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
