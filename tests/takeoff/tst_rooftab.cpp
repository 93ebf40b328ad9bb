#include "TestContext.h"
#include "UiTest.h"

#include "../estimates/StoredEstimate.h"
#include "app/frmCorvanel.h"
#include "common/forms/GridBinding.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/modSaveEst.h"
#include "storage/Connections.h"
#include "takeoff/forms/RoofTab.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace StoredEstimate;
using Answer = Prompt::Answer;

namespace {

void figure(frmCorvanel& w, const QString& width, const QString& height, const QString& pitch) {
    w.roof->txtArea[0]->setText(width);
    w.roof->txtArea[1]->setText(height);
    w.roof->cmbPitch->setCurrentIndex(w.roof->cmbPitch->findText(pitch));
    w.roof->cmdPitchFig->click();
}

// Fills and accepts the next area dialog.
void nextArea(const QString& shape, const QString& w1, const QString& w2, const QString& h) {
    UiTest::whenModal([=](QWidget* dlg) {
        auto* d = qobject_cast<frmAreas*>(dlg);
        QVERIFY(d);
        d->cmbShape->setCurrentIndex(d->cmbShape->findText(shape));
        d->txtAreas[1]->setText(w1);
        d->txtAreas[2]->setText(w2);
        d->txtAreas[3]->setText(h);
        d->cmdOkay_Click();
        if (d->isVisible())
            d->reject();
    });
}

void nextLineal(const QString& name, const QString& type, const QString& length) {
    UiTest::whenModal([=](QWidget* dlg) {
        auto* d = qobject_cast<frmLineal*>(dlg);
        QVERIFY(d);
        d->txtLineal[1]->setText(name);
        d->cmbLineal->setCurrentIndex(d->cmbLineal->findText(type));
        d->txtLineal[2]->setText(length);
        d->cmdOkay_Click();
        if (d->isVisible())
            d->reject();
    });
}

// A started new estimate on the Roof Area tab.
void startNew(frmCorvanel& w) {
    w.mnuEstNew->trigger();
    const QStringList v = {"Mary", "Smith", "1 Elm St", "Town, MT 1", "555-1234", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText("Reroof");
    w.owner->cmdStartEst->click();
}

} // namespace

class tst_rooftab : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void quickFigureKeepsOneRow();
    void pitchNeedsMeasurements();
    void viewQuestion_data();
    void viewQuestion();
    void areaDialogChecks_data();
    void areaDialogChecks();
    void areasAndTotals();
    void linealDialogChecksInOrder();
    void linealsWithApostrophes();
    void editAndDeleteNeedASelection();
    void savedAreaGoesWithTheSave();
};

void tst_rooftab::quickFigureKeepsOneRow() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstFig->trigger();
    w.roof->optStyle[1]->setChecked(true);
    figure(w, "30", "20", "12");
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("849"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("849"));
    figure(w, "25.5", "40", "6");
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("1140"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("1140"));
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), QStringList({"1|0|0|6|26|0|40|1140"}));
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->count(), 0); // figure mode closes without a question
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 0);
}

void tst_rooftab::pitchNeedsMeasurements() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstFig->trigger();
    RoofTab& r = *w.roof;
    r.txtArea[0]->setText("0");
    r.cmbPitch->setCurrentIndex(3);
    Q_EMIT r.cmbPitch->activated(3);
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("Please enter a width value."));
    QCOMPARE(r.cmbPitch->currentIndex(), 0);
    r.txtArea[0]->setText("30");
    r.txtArea[1]->setText("0");
    r.cmbPitch->setCurrentIndex(3);
    Q_EMIT r.cmbPitch->activated(3);
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("Please enter a height value."));
    QCOMPARE(r.cmbPitch->currentIndex(), 0);
    r.cmdPitchFig->click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("Please enter measurements and select pitch."));
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 0);
}

void tst_rooftab::viewQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(Answer::Yes);
    QTest::newRow("No") << int(Answer::No);
}

void tst_rooftab::viewQuestion() {
    QFETCH(int, answer);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstFig->trigger();
    RoofTab& r = *w.roof;
    // With no Roof Area the view changes without a question.
    r.optStyle[1]->setChecked(true);
    QCOMPARE(tc.prompt->count(), 0);
    QVERIFY(r.frTotal->isVisibleTo(&w));
    figure(w, "30", "20", "12");

    tc.prompt->answer(Answer(answer));
    r.optStyle[0]->setChecked(true);
    QCOMPARE(tc.prompt->count(), 1);
    QCOMPARE(tc.prompt->shown().last().defaultAnswer, Answer::No);
    if (Answer(answer) == Answer::Yes) {
        QVERIFY(r.frInd->isVisibleTo(&w));
        QCOMPARE(r.txtRoof[0]->text(), QStringLiteral("0"));
        QCOMPARE(r.cmbPitch->currentIndex(), 0);
        QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 0);
    } else {
        QVERIFY(r.optStyle[1]->isChecked());
        QVERIFY(r.frTotal->isVisibleTo(&w));
        QCOMPARE(r.txtRoof[0]->text(), QStringLiteral("849"));
        QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 1);
    }
}

void tst_rooftab::areaDialogChecks_data() {
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("w1");
    QTest::addColumn<QString>("h");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const QString range = "A measurement must be more than 0 and at most 10,000.";
    QTest::newRow("no shape") << ""
                              << "10"
                              << "10"
                              << "Please select a shape." << -1;
    QTest::newRow("empty width") << "Tri"
                                 << ""
                                 << "10"
                                 << "This field must be a number." << 1;
    QTest::newRow("word height") << "Sq/Rect"
                                 << "10"
                                 << "ten"
                                 << "This field must be a number." << 3;
    QTest::newRow("negative") << "Sq/Rect"
                              << "-4"
                              << "10" << range << 1;
    QTest::newRow("zero") << "Sq/Rect"
                          << "10"
                          << "0" << range << 3;
    QTest::newRow("too large") << "Sq/Rect"
                               << "10001"
                               << "10" << range << 1;
}

void tst_rooftab::areaDialogChecks() {
    QFETCH(QString, shape);
    QFETCH(QString, w1);
    QFETCH(QString, h);
    QFETCH(QString, message);
    QFETCH(int, focus);
    TestContext tc;
    tc.createTempDB();
    frmAreas d(tc.ctx, 0);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.cmbShape->setCurrentIndex(d.cmbShape->findText(shape));
    d.txtAreas[1]->setText(w1);
    d.txtAreas[3]->setText(h);
    d.cmdOkay_Click();
    QCOMPARE(tc.prompt->texts(), QStringList({message}));
    QVERIFY(d.isVisible());
    if (focus >= 0)
        QVERIFY(d.txtAreas[focus]->hasFocus());
    else
        QVERIFY(d.cmbShape->hasFocus());
}

void tst_rooftab::areasAndTotals() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    nextArea("Tri", "5", "", "5");
    w.roof->cmdAddArea->click();
    nextArea("Trap", "10", "20", "7");
    w.roof->cmdAddArea->click();
    nextArea("Sq/Rect", "10.5", "", "10");
    w.roof->cmdAddArea->click();
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempAreas"),
             QStringList({"1|0|1|0|5|0|5|12", "2|0|2|0|10|20|7|105", "3|0|0|0|10|0|10|100"}));
    QCOMPARE(w.roof->AreaCount, 3);
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("217"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("217"));

    nextLineal("Ridge", "Cap", "100");
    w.roof->cmdAddLineal->click();
    QCOMPARE(w.roof->txtRoof[1]->text(), QStringLiteral("104"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("321"));

    // Deleting the last area leaves no area counted, in Roof Area or in Roof Total.
    for (int i = 0; i < 3; ++i) {
        w.roof->dgAreas->selectRow(0);
        tc.prompt->answer(Answer::Yes);
        w.roof->cmdDeleteArea->click();
    }
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 0);
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("0"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("104"));
    w.roof->dgLineal->selectRow(0);
    tc.prompt->answer(Answer::Yes);
    w.roof->cmdDeleteLineal->click();
    QCOMPARE(w.roof->txtRoof[1]->text(), QStringLiteral("0"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("0"));
}

void tst_rooftab::linealDialogChecksInOrder() {
    TestContext tc;
    tc.createTempDB();
    frmLineal d(tc.ctx, 0, 1850);
    d.cmdOkay_Click();
    d.txtLineal[1]->setText("Hips");
    d.cmdOkay_Click();
    d.cmbLineal->setCurrentIndex(d.cmbLineal->findText("%"));
    d.cmdOkay_Click();
    d.txtLineal[2]->setText("ten");
    d.cmdOkay_Click();
    QCOMPARE(tc.prompt->texts(),
             QStringList({"Please name this item.", "Please select a type.",
                          "Please enter a length.", "This field must be a number."}));
    QCOMPARE(d.txtLineal[2]->text(), QStringLiteral("0"));
    d.txtLineal[2]->setText("10");
    d.cmdOkay_Click();
    QCOMPARE(d.result().total, 185);
    QCOMPARE(d.result().length, 10);
    d.txtLineal[1]->setText(QString(60, 'a'));
    QCOMPARE(d.txtLineal[1]->text(), QString(50, 'a'));
}

void tst_rooftab::linealsWithApostrophes() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    tc.ctx.EstChanged = false;
    nextLineal("O'Neil's ridge — façade", "Misc", "12.5");
    w.roof->cmdAddLineal->click();
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempLineal"),
             QStringList({"1|0|4|O'Neil's ridge — façade|12|12"}));
    QVERIFY(tc.ctx.EstChanged);
    QVERIFY(w.mnuEstSave->isEnabled());
    // Cancelling Add changes nothing.
    tc.ctx.EstChanged = false;
    UiTest::rejectNextModal();
    w.roof->cmdAddLineal->click();
    QVERIFY(!tc.ctx.EstChanged);
}

void tst_rooftab::editAndDeleteNeedASelection() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    nextArea("Sq/Rect", "10", "", "10");
    w.roof->cmdAddArea->click();
    w.roof->dgAreas->clearSelection();
    tc.prompt->clear();
    w.roof->cmdDeleteArea->click();
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "TempAreas"), 1);

    // Edit acts on the selected row.
    nextArea("Sq/Rect", "20", "", "10");
    w.roof->cmdAddArea->click();
    w.roof->dgAreas->selectRow(1);
    nextArea("Tri", "4", "", "4");
    w.roof->cmdEditArea->click();
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempAreas"),
             QStringList({"1|0|0|0|10|0|10|100", "2|0|1|0|4|0|4|8"}));
}

// A stored area that is deleted stays stored until the estimate is saved: closing without
// saving must find it there.
void tst_rooftab::savedAreaGoesWithTheSave() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    modData::exec(
        ctx, ctx.EstConn,
        "insert into Areas(Shape,Pitch,Width1,Width2,Height,Total) values(0,0,10,0,10,100)");
    modData::exec(
        ctx, ctx.EstConn,
        "insert into Areas(Shape,Pitch,Width1,Width2,Height,Total) values(0,0,20,0,10,200)");
    modData::exec(ctx, ctx.TempDBConn,
                  "insert into TempAreas(AreaID,Shape,Pitch,Width1,Width2,Height,Total) "
                  "values(1,0,0,10,0,10,100)");
    modData::exec(ctx, ctx.TempDBConn,
                  "insert into TempAreas(AreaID,Shape,Pitch,Width1,Width2,Height,Total) "
                  "values(2,0,0,20,0,10,200)");
    frmCorvanel w(ctx);
    ctx.WorkMode = Mode::Open;
    w.roof->PopAreaGrid();
    w.roof->dgAreas->selectRow(0);
    tc.prompt->answer(Answer::No);
    w.roof->cmdDeleteArea->click();
    QCOMPARE(count(ctx, ctx.TempDBConn, "TempAreas"), 2);
    w.roof->dgAreas->selectRow(0);
    tc.prompt->answer(Answer::Yes);
    w.roof->cmdDeleteArea->click();
    QCOMPARE(count(ctx, ctx.TempDBConn, "TempAreas"), 1);
    QCOMPARE(count(ctx, ctx.EstConn, "Areas"), 2);
    QCOMPARE(dump(ctx, ctx.TempDBConn, "PendingDeletes"), QStringList({"1|Areas|1"}));
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-15", "Fixed-100", "%-2"};
    modSaveEst::saveEstimate(ctx, in);
    QCOMPARE(dump(ctx, ctx.EstConn, "Areas"), QStringList({"2|0|0|20|0|10|200"}));
    QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
}

QTEST_MAIN(tst_rooftab)
#include "tst_rooftab.moc"
