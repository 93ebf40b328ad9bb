#include "StoredEstimate.h"
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmOpenEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/modGrid.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "takeoff/forms/RoofTab.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

using namespace StoredEstimate;
using Answer = Prompt::Answer;

namespace {

void fillOwner(frmCorvanel& w, const QString& last = QStringLiteral("O'Brien"),
               const QString& type = QStringLiteral("Reroof"), const QString& name = QString()) {
    const QStringList v = {"Zoë", last, "12 Elm St", "Anytown, MT 54321", "555-123-4567", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText(type);
    w.owner->txtEstName->setText(name);
}

int masterRows(AppContext& ctx) {
    return count(ctx, ctx.MastEstConn, "master");
}

// One priced line through the line-item module, as the picker hands it over.
void addLine(AppContext& ctx, int itemId, const QString& sect, int order, const QString& name,
             int qty, const QString& cost) {
    CurItemRecord c;
    c.ItemID = itemId;
    c.ItemTable = QStringLiteral("Material");
    c.Name = name;
    c.Unit = QStringLiteral("sq");
    c.Qty = Quantity::whole(qty);
    c.Cost = Money::parse(cost).value();
    c.LineTotal = Money::fromRaw(c.Cost.raw() * qty);
    c.Sect = sect;
    c.SecOrder = order;
    c.Picked = true;
    // The picker adds a new section before its first line.
    if (!modData::scalar(ctx, ctx.TempDBConn, "select count(*) from TempSect where SecOrder=?",
                         {order})
             .toInt())
        modData::exec(ctx, ctx.TempDBConn, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                      {sect, order});
    modGrid::AddLineItem(ctx, QStringLiteral("add"), 0, c);
}

} // namespace

class tst_estimate_life : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void newEstimateState();
    void startChecksInOrder_data();
    void startChecksInOrder();
    void startBuildsNameAndLocks();
    void existingNameIsRefused();
    void cancelAndCloseBeforeStart();
    void closeStartedNewEstimate();
    void saveQuestionAnswers_data();
    void saveQuestionAnswers();
    void emptyEstimateStaysOpen();
    void openList();
    void roadOfOneEstimate();
};

void tst_estimate_life::newEstimateState() {
    TestContext tc;
    tc.ctx.settings->setValue("Brenwick", "Common", "Path", "/opt/brenwick");
    frmCorvanel w(tc.ctx);
    modData::exec(tc.ctx, tc.ctx.MastEstConn, "insert into master(esttype) values('Reroof')");
    w.mnuEstNew->trigger();
    QCOMPARE(tc.ctx.WorkMode, Mode::New);
    QVERIFY(w.tabsVisible());
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!w.SSTab1->isTabEnabled(i));
    QVERIFY(tc.ctx.EstID > 0);
    QVERIFY(tc.ctx.EstChanged);
    QVERIFY(!w.owner->txtName[0]->isReadOnly());
    QCOMPARE(w.owner->Label3->text(), OwnerTab::enterOwnerText());
    QCOMPARE(w.owner->cmbEstType->count(), 2);
    QCOMPARE(w.owner->cmbEstType->itemText(0), QString());
    QCOMPARE(w.owner->cmbEstType->itemText(1), QStringLiteral("Reroof"));
    QVERIFY(w.owner->cmdImport->isEnabled());
    QVERIFY(!w.mnuEstNew->isEnabled());
    // At most 25 characters, an emoji counting one.
    w.owner->cmbEstType->lineEdit()->setText(QString(24, 'x') +
                                             QString::fromUtf8("\xF0\x9F\x8F\xA0") + "yz");
    QCOMPARE(w.owner->cmbEstType->lineEdit()->text(),
             QString(24, 'x') + QString::fromUtf8("\xF0\x9F\x8F\xA0"));
}

void tst_estimate_life::startChecksInOrder_data() {
    QTest::addColumn<int>("blank");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("typeAfter");
    const QString blank = "This field may not be blank.";
    QTest::newRow("first name") << 0 << "Reroof"
                                << "" << blank << "Reroof";
    QTest::newRow("home phone") << 4 << ""
                                << "" << blank << "";
    QTest::newRow("no type") << -1 << ""
                             << ""
                             << "You must pick an estimate type.\nIf the one you want is not on "
                                "the list\nyou may type it in."
                             << "";
    const QString badType = "Estimate types can have alpha characters\nonly. Please re-enter the "
                            "type or\nselect an existing type from the list.";
    QTest::newRow("hyphen in type") << -1 << "Re-roof"
                                    << "" << badType << "";
    QTest::newRow("digit in type") << -1 << "Roof 2"
                                   << "" << badType << "";
    QTest::newRow("name with digit")
        << -1 << "Reroof"
        << "Smith 2"
        << "Estimate names can have alpha characters only.\nPlease re-enter the name oror leave "
           "create the\nblank and let the system name for you."
        << "Reroof";
}

void tst_estimate_life::startChecksInOrder() {
    QFETCH(int, blank);
    QFETCH(QString, type);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, typeAfter);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.mnuEstNew->trigger();
    fillOwner(w, "Smith", type, name);
    if (blank >= 0)
        w.owner->txtName[blank]->setText("   ");
    w.owner->cmdStartEst->click();
    QCOMPARE(tc.prompt->texts(), QStringList({message}));
    QCOMPARE(w.owner->cmbEstType->currentText(), typeAfter);
    QVERIFY(!w.SSTab1->isTabEnabled(1));
    QCOMPARE(tc.ctx.WorkMode, Mode::New);
    QVERIFY(tc.ctx.EstName.isEmpty());
    QCOMPARE(QDir(tc.ctx.estimatesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList());
    if (blank >= 0) {
        QVERIFY(w.owner->txtName[blank]->hasFocus());
    } else if (!name.isEmpty()) {
        QVERIFY(w.owner->txtEstName->text().isEmpty());
        QVERIFY(w.owner->txtEstName->hasFocus());
    }
}

void tst_estimate_life::startBuildsNameAndLocks() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "O'Brien", "Re roof");
    w.owner->cmdStartEst->click();
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(w.owner->txtEstName->text(), QStringLiteral("O'Brien Re roof"));
    QCOMPARE(tc.ctx.EstName, QStringLiteral("OBrienReroof"));
    QVERIFY(QFile::exists(tc.ctx.estimatesDir() + "/OBrienReroof/OBrienReroof.db"));
    QCOMPARE(w.SSTab1->currentIndex(), 1);
    QVERIFY(w.SSTab1->isTabEnabled(4));
    QVERIFY(!w.owner->cmdStartEst->isEnabled());
    QVERIFY(!w.owner->cmdCancel->isEnabled());
    QVERIFY(w.owner->txtName[1]->isReadOnly());
    QCOMPARE(w.panel(1)->text(), QStringLiteral("ID: %1").arg(tc.ctx.EstID));
    QCOMPARE(w.panel(2)->text(), QStringLiteral("OBrienReroof"));
    QCOMPARE(w.panel(3)->text(), QStringLiteral("Status: Working"));
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.MastEstConn, "select esttype from master where id=?",
                             {tc.ctx.EstID})
                 .toString(),
             QStringLiteral("Re roof"));

    // A typed name loses its blanks only.
    TestContext tc2;
    frmCorvanel w2(tc2.ctx);
    w2.mnuEstNew->trigger();
    fillOwner(w2, "Smith", "Reroof", "Smith Garage");
    w2.owner->cmdStartEst->click();
    QCOMPARE(tc2.ctx.EstName, QStringLiteral("SmithGarage"));
    QCOMPARE(modData::scalar(tc2.ctx, tc2.ctx.MastEstConn, "select estname from master").toString(),
             QStringLiteral("SmithGarage"));
}

void tst_estimate_life::existingNameIsRefused() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "JonesReroof");
    modData::exec(ctx, ctx.EstConn,
                  "insert into Areas(Shape,Pitch,Width1,Width2,Height,Total) values(0,0,1,0,1,1)");
    ctx.connections->closeAll();
    ctx.EstID = 0;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "Jones", "Reroof");
    w.owner->cmdStartEst->click();
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(tc.prompt->lastText().contains("JonesReroof"));
    QVERIFY(!w.SSTab1->isTabEnabled(1));
    // The other estimate is untouched.
    QCOMPARE(count(ctx, ctx.estimateDbPath("JonesReroof/JonesReroof.db"), "Areas"), 1);
    w.owner->txtEstName->setText("Jones Second");
    w.owner->cmdStartEst->click();
    QCOMPARE(tc.ctx.EstName, QStringLiteral("JonesSecond"));
}

void tst_estimate_life::cancelAndCloseBeforeStart() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    const int before = masterRows(tc.ctx);
    w.mnuEstNew->trigger();
    QCOMPARE(masterRows(tc.ctx), before + 1);
    w.owner->cmdCancel->click();
    QCOMPARE(masterRows(tc.ctx), before);
    QVERIFY(tc.ctx.WorkMode == Mode::Idle);
    QVERIFY(!w.tabsVisible());
    QVERIFY(w.mnuEstNew->isEnabled());

    // Close on a new estimate before Start is Cancel: no question.
    w.mnuEstNew->trigger();
    fillOwner(w);
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(masterRows(tc.ctx), before);
    QVERIFY(w.owner->txtName[0]->text().isEmpty());
}

void tst_estimate_life::closeStartedNewEstimate() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "Smith");
    w.owner->cmdStartEst->click();
    const QString folder = tc.ctx.estimatesDir() + "/SmithReroof";
    QVERIFY(QFileInfo(folder).isDir());
    w.SSTab1->setCurrentIndex(3);

    tc.prompt->answer(Answer::Cancel);
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->shown().last().title, QStringLiteral("Would you like to save first?"));
    QCOMPARE(tc.ctx.WorkMode, Mode::New);

    tc.prompt->answer(Answer::No);
    w.mnuEstClose->trigger();
    QVERIFY(tc.ctx.WorkMode == Mode::Idle);
    QCOMPARE(masterRows(tc.ctx), 0);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo(tc.ctx.estimatesDir()).isDir());
    QVERIFY(!w.tabsVisible());
    QCOMPARE(w.panel(1)->text(), QString());
}

void tst_estimate_life::saveQuestionAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("closed");
    QTest::newRow("Yes") << int(Answer::Yes) << "Pending" << true;
    QTest::newRow("No") << int(Answer::No) << "Working" << true;
    QTest::newRow("Cancel") << int(Answer::Cancel) << "Working" << false;
}

void tst_estimate_life::saveQuestionAnswers() {
    QFETCH(int, answer);
    QFETCH(QString, status);
    QFETCH(bool, closed);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "Smith");
    w.owner->cmdStartEst->click();
    modData::exec(ctx, ctx.MastEstConn, "update master set estdate='2026-01-02'");
    addLine(ctx, 4, "Shingles", 0, "Shingles", 3, "45.50");
    w.lines->PopEstiGrid();
    const QString conn = ctx.EstConn;
    tc.prompt->answer(Answer(answer));
    w.totals->cmdSave->click();
    QCOMPARE(tc.prompt->shown().last().title, QStringLiteral("Is this estimate complete?"));
    QCOMPARE(tc.prompt->shown().last().defaultAnswer, Answer::No);
    QSqlQuery q = modData::exec(ctx, ctx.MastEstConn, "select eststatus,estdate from master");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), status);
    QCOMPARE(q.value(1).toString(), status == "Pending" ? QDate::currentDate().toString(Qt::ISODate)
                                                        : QStringLiteral("2026-01-02"));
    QCOMPARE(ctx.WorkMode == Mode::Idle, closed);
    QCOMPARE(count(ctx, conn, "LineItems"), closed ? 1 : 0);
}

void tst_estimate_life::emptyEstimateStaysOpen() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "Smith");
    w.owner->cmdStartEst->click();
    area(ctx, 0, 0, 30, 0, 20, 600);
    w.totals->cmdSave->click();
    QCOMPARE(tc.prompt->texts(),
             QStringList({"There are no items listed for this estimate so it cannot be saved."}));
    // The measured roof is still there to be priced.
    QCOMPARE(ctx.WorkMode, Mode::New);
    QCOMPARE(count(ctx, ctx.TempDBConn, "TempAreas"), 1);
}

void tst_estimate_life::openList() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    const int id = ctx.EstID;
    modData::exec(ctx, ctx.MastEstConn, "update master set eststatus='Pending' where id=?", {id});
    ctx.connections->closeAll();
    ctx.EstID = 0;
    frmOpenEst d(ctx);
    QCOMPARE(d.lstEstList[0]->item(0)->text(), QStringLiteral("None"));
    QCOMPARE(d.lstEstList[1]->count(), 2);
    QVERIFY(d.lstEstList[1]->item(0)->text().contains("Expires in 30 days"));
    d.lstEstList[0]->setCurrentRow(0);
    d.lstEstList_DblClick(0);
    d.lstEstList[1]->setCurrentRow(1);
    d.lstEstList_DblClick(1);
    QCOMPARE(d.chosenID(), 0);
    QVERIFY(d.isVisible() || d.result() == 0);
    d.lstEstList[1]->setCurrentRow(0);
    d.lstEstList_DblClick(1);
    QCOMPARE(d.chosenID(), id);

    // The close box is Cancel: the window stays idle.
    frmCorvanel w(ctx);
    UiTest::rejectNextModal();
    w.mnuEstOpen->trigger();
    QVERIFY(ctx.WorkMode == Mode::Idle);
}

// New, Start, roof, lines, totals, Save & Close; then Open finds every value again.
void tst_estimate_life::roadOfOneEstimate() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    fillOwner(w, "O'Brien", "Reroof", "O Brien House");
    w.owner->cmdStartEst->click();
    const int id = ctx.EstID;

    // The roof as one total area: 30 x 20 at pitch 12.
    w.roof->cmbPitch->setCurrentIndex(w.roof->cmbPitch->findText("12"));
    w.roof->txtArea[0]->setText("30");
    w.roof->txtArea[1]->setText("20");
    w.roof->optStyle[1]->setChecked(true);
    w.roof->cmdPitchFig->click();
    lineal(ctx, 1, "Ridge 'A'", 100, 104);
    w.roof->PopLinealGrid();
    w.roof->TotalOther();

    addLine(ctx, 4, "Shingles", 0, "O'Brien's shingles", 3, "45.50");
    addLine(ctx, 9, "Flashing", 1, "Drip edge", 10, "7.25");
    w.lines->PopEstiGrid();
    w.totals->FigureTotals();
    // 209.00 of lines; the first-start defaults add 15 %, 15 %, a fixed 100 and 2 %.
    QCOMPARE(w.totals->lblSubTotal->text(), QStringLiteral("$209.00"));
    QCOMPARE(w.totals->lblAdminTotal->text(), QStringLiteral("$166.88"));
    QCOMPARE(w.totals->lblEstTotal->text(), QStringLiteral("$375.88"));
    w.totals->txtSumm->setPlainText("Tear off and re-roof; it's two layers");
    w.totals->txtTerms->setPlainText("Half down");
    const QString roofArea = w.roof->txtRoof[0]->text();
    const QString total = w.totals->lblEstTotal->text();
    const QStringList admin = w.totals->adminStoredTexts();

    tc.prompt->answer(Answer::Yes);
    w.mnuEstSave->trigger();
    QVERIFY(ctx.WorkMode == Mode::Idle);
    QVERIFY(!w.tabsVisible());

    UiTest::whenModal([id](QWidget* dlg) {
        auto* d = qobject_cast<frmOpenEst*>(dlg);
        QVERIFY(d);
        QListWidget* pending = d->lstEstList[1];
        for (int r = 0; r < pending->count(); ++r)
            if (pending->item(r)->data(Qt::UserRole).toInt() == id)
                pending->setCurrentRow(r);
        d->lstEstList_DblClick(1);
    });
    w.mnuEstOpen->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Open);
    QCOMPARE(w.EstStatus, QStringLiteral("Pending"));
    QCOMPARE(w.owner->txtName[1]->text(), QStringLiteral("O'Brien"));
    QCOMPARE(w.owner->txtName[0]->text(), QStringLiteral("Zoë"));
    QCOMPARE(w.owner->txtEstName->text(), QStringLiteral("OBrienHouse"));
    QCOMPARE(w.owner->cmbEstType->currentText(), QStringLiteral("Reroof"));
    QVERIFY(w.roof->optStyle[1]->isChecked());
    QCOMPARE(w.roof->txtArea[0]->text(), QStringLiteral("30"));
    QCOMPARE(w.roof->txtRoof[0]->text(), roofArea);
    QCOMPARE(w.totals->txtSumm->toPlainText(),
             QStringLiteral("Tear off and re-roof; it's two layers"));
    QCOMPARE(w.totals->adminStoredTexts(), admin);
    QCOMPARE(w.totals->lblEstTotal->text(), total);
    QCOMPARE(w.lines->gridRowCount(), 8);
    QVERIFY(!ctx.EstChanged);

    // A pending estimate saves without the question and keeps its status.
    tc.prompt->clear();
    w.totals->cmdSave->click();
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(count(ctx, ctx.estimateDbPath("OBrienHouse/OBrienHouse.db"), "LineItems"), 2);
}

QTEST_MAIN(tst_estimate_life)
#include "tst_estimate_life.moc"
