#include "TestContext.h"
#include "UiTest.h"

#include "../estimates/StoredEstimate.h"
#include "EstimateWindow.h"
#include "app/frmCorvanel.h"
#include "catalogue/TakeoffRules.h"
#include "common/Quantity.h"
#include "common/forms/GridBinding.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/frmPickItem.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "takeoff/RoofMath.h"
#include "takeoff/forms/RoofTab.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

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

// Fills and accepts the next area dialog with a pitch ("8/12") measured on the plan or slope.
void nextPlane(const QString& w1, const QString& h, const QString& pitch, bool slope = false) {
    UiTest::whenModal([=](QWidget* dlg) {
        auto* d = qobject_cast<frmAreas*>(dlg);
        QVERIFY(d);
        d->cmbShape->setCurrentIndex(d->cmbShape->findText("Sq/Rect"));
        d->txtAreas[1]->setText(w1);
        d->txtAreas[3]->setText(h);
        d->cboPitch->setCurrentIndex(d->cboPitch->findText(pitch));
        (slope ? d->optSlope : d->optPlan)->click();
        d->cmdOkay_Click();
        if (d->isVisible())
            d->reject();
    });
}

// The text every visible cell of a grid shows, row by row.
QStringList shown(QTableView* grid) {
    QStringList rows;
    QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                cells << m->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
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
    void planesWithPitchAndWaste();
    void measurementsAsTyped_data();
    void measurementsAsTyped();
    void planeEditsKeepPitchAndSlope();
    void namedRunsInWords();
    void wasteIsStoredWithTheEstimate();
    void pickerProposesFromTheRoof();
    void refreshChangesOnlyRuleLines();
    void editKeepsTheRule_data();
    void editKeepsTheRule();
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
    // Measurements are kept exactly; the row is marked as the quick figure.
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempAreas"),
             QStringList({"1|0|0|6|255000|0|400000|1140|0|1"}));
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
                                 << "\"ten\" is not a measurement. Type feet as 30.5, or feet and "
                                    "inches as 30' 6\"."
                                 << 3;
    QTest::newRow("12 inches") << "Sq/Rect"
                               << "30' 12\""
                               << "10"
                               << "Inches must be less than 12 (\"30' 12\"\")." << 1;
    QTest::newRow("less than a ten-thousandth") << "Sq/Rect"
                                                << "0.00001"
                                                << "10" << range << 1;
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
    // 10.5 × 10 is 105, not 100: measurements are stored exactly (ten-thousandths of a foot).
    QCOMPARE(dump(tc.ctx, tc.ctx.TempDBConn, "TempAreas"),
             QStringList({"1|0|1|0|50000|0|50000|12|0|0", "2|0|2|0|100000|200000|70000|105|0|0",
                          "3|0|0|0|105000|0|100000|105|0|0"}));
    QCOMPARE(w.roof->AreaCount, 3);
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("222"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("222"));

    nextLineal("Ridge", "Cap", "100");
    w.roof->cmdAddLineal->click();
    QCOMPARE(w.roof->txtRoof[1]->text(), QStringLiteral("104"));
    QCOMPARE(w.roof->txtRoof[2]->text(), QStringLiteral("326"));

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
    QCOMPARE(d.result().length, 100000); // 10 %, in ten-thousandths
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
             QStringList({"1|0|4|O'Neil's ridge — façade|125000|12"}));
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
             QStringList({"1|0|0|0|100000|0|100000|100|0|0", "2|0|1|0|40000|0|40000|8|0|0"}));
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
    QCOMPARE(dump(ctx, ctx.EstConn, "Areas"), QStringList({"2|0|0|20|0|10|200|0|0"}));
    QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
}

// Two planes at 8/12 with the default 10 % waste: 721 + 361 sq ft, 10.82 squares, 11.902 with
// waste, so 12 squares to order. The grid says it in words.
void tst_rooftab::planesWithPitchAndWaste() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    RoofTab& r = *w.roof;
    QCOMPARE(r.txtWaste->text(), QStringLiteral("10"));
    nextPlane("30", "20", "8/12");
    r.cmdAddArea->click();
    nextPlane("15", "20", "8/12");
    r.cmdAddArea->click();
    QCOMPARE(r.txtRoof[0]->text(), QStringLiteral("1082"));
    QCOMPARE(r.lblSquares->text(), QStringLiteral("10.82"));
    QCOMPARE(r.lblSquaresOrder->text(), QStringLiteral("12"));
    QCOMPARE(shown(r.dgAreas),
             QStringList({"Rectangle|30 ft × 20 ft|8/12|plan|600 sq ft|721 sq ft",
                          "Rectangle|15 ft × 20 ft|8/12|plan|300 sq ft|361 sq ft"}));
    for (int c = 0; c < r.dgAreas->model()->columnCount(); ++c)
        QCOMPARE(r.dgAreas->isColumnHidden(c), c == 0 || c == 1 || c == 8 || c == 9);

    // 15 % of waste: 1244.3 sq ft is 37.33 thirds of a square, so 38 bundles' worth.
    r.txtWaste->setText("15");
    Q_EMIT r.txtWaste->editingFinished();
    QCOMPARE(r.lblSquaresOrder->text(), QStringLiteral("12.67"));
    QVERIFY(tc.ctx.EstChanged);
    w.undoStack->undo();
    QCOMPARE(r.txtWaste->text(), QStringLiteral("10"));
    QCOMPARE(r.lblSquaresOrder->text(), QStringLiteral("12"));
    // A waste that is no percentage changes nothing.
    for (const char* bad : {"-1", "101", "ten"}) {
        tc.prompt->clear();
        r.txtWaste->setText(bad);
        Q_EMIT r.txtWaste->editingFinished();
        QCOMPARE(tc.prompt->texts(),
                 QStringList({"The waste must be a percentage from 0 to 100 (10 for 10 %)."}));
        QCOMPARE(r.txtWaste->text(), QStringLiteral("10"));
    }
    QCOMPARE(w.undoStack->count(), 3); // two planes and the waste, now undone
}

void tst_rooftab::measurementsAsTyped_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shownAs");
    QTest::newRow("feet and inches") << "30' 6\""
                                     << "305000"
                                     << "30.5 ft";
    QTest::newRow("no marks") << "30 6"
                              << "305000"
                              << "30.5 ft";
    QTest::newRow("decimal") << "30.5"
                             << "305000"
                             << "30.5 ft";
    QTest::newRow("7 inches") << "30' 7\""
                              << "305833"
                              << "30.5833 ft";
}

// A plane and the quick figure both keep what was typed, exactly.
void tst_rooftab::measurementsAsTyped() {
    QFETCH(QString, width);
    QFETCH(QString, stored);
    QFETCH(QString, shownAs);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    UiTest::whenModal([&](QWidget* dlg) {
        auto* d = qobject_cast<frmAreas*>(dlg);
        QVERIFY(d);
        d->cmbShape->setCurrentIndex(d->cmbShape->findText("Sq/Rect"));
        d->txtAreas[1]->setText(width);
        QCOMPARE(d->lblReads[1]->text(), "= " + shownAs);
        d->txtAreas[3]->setText("20");
        d->cmdOkay_Click();
    });
    w.roof->cmdAddArea->click();
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select Width1 from TempAreas").toString(),
             stored);
    QVERIFY(shown(w.roof->dgAreas).value(0).contains(shownAs + " × 20 ft"));

    tc.prompt->answer(Answer::Yes);
    w.roof->optStyle[1]->setChecked(true);
    figure(w, width, "20", "6");
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select Width1 from TempAreas").toString(),
             stored);
    QCOMPARE(shown(w.roof->dgAreas).value(0).section('|', 0, 0), QStringLiteral("Whole roof"));
}

void tst_rooftab::planeEditsKeepPitchAndSlope() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    nextPlane("30' 6\"", "20", "8/12", true);
    w.roof->cmdAddArea->click();
    // Measured on the slope: no pitch factor. 30.5 × 20 = 610.
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("610"));
    w.roof->dgAreas->selectRow(0);
    UiTest::whenModal([&](QWidget* dlg) {
        auto* d = qobject_cast<frmAreas*>(dlg);
        QVERIFY(d);
        QCOMPARE(d->cboPitch->currentText(), QStringLiteral("8/12"));
        QVERIFY(d->optSlope->isChecked());
        QCOMPARE(d->txtAreas[1]->text(), QStringLiteral("30.5"));
        QCOMPARE(d->lblSurface->text(), QStringLiteral("610 sq ft"));
        // The Area # box is read-only and looks it.
        QVERIFY(d->txtAreas[0]->isReadOnly());
        QCOMPARE(d->txtAreas[0]->palette().color(QPalette::Base),
                 d->palette().color(QPalette::Window));
        d->optPlan->click();
        QCOMPARE(d->lblSurface->text(), QStringLiteral("733 sq ft")); // 610 × 1.20185
        d->cmdOkay_Click();
    });
    w.roof->cmdEditArea->click();
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("733"));
    w.undoStack->undo();
    QCOMPARE(w.roof->txtRoof[0]->text(), QStringLiteral("610"));
}

void tst_rooftab::namedRunsInWords() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    nextLineal("Main ridge", "Ridge", "40");
    w.roof->cmdAddLineal->click();
    nextLineal("Hips", "Hip", "30' 6\"");
    w.roof->cmdAddLineal->click();
    nextLineal("Waste", "%", "10");
    w.roof->cmdAddLineal->click();
    QCOMPARE(shown(w.roof->dgLineal),
             QStringList({"Ridge|Main ridge|40 lf|40", "Hip|Hips|30.5 lf|30", "%|Waste|10 %|0"}));
    // Every run of a roof report is offered, each with its unit.
    frmLineal d(tc.ctx, 0, 0);
    QStringList kinds;
    for (int i = 1; i < d.cmbLineal->count(); ++i)
        kinds << d.cmbLineal->itemText(i);
    QCOMPARE(kinds, QStringList({"Cap", "Starter", "%", "Misc", "Ridge", "Hip", "Valley", "Rake",
                                 "Eave", "Step flashing", "Wall flashing", "Drip edge"}));
    d.cmbLineal->setCurrentIndex(d.cmbLineal->findText("Valley"));
    QCOMPARE(d.lblUnit->text(), QStringLiteral("lf"));
    d.cmbLineal->setCurrentIndex(d.cmbLineal->findText("%"));
    QCOMPARE(d.lblUnit->text(), QStringLiteral("%"));
}

// The waste goes with the estimate when it is saved and comes back when it is opened.
void tst_rooftab::wasteIsStoredWithTheEstimate() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    Takeoff::setWaste(ctx, 125000);
    modSaveEst::SaveInput in;
    in.admin = {"%-15", "%-15", "Fixed-100", "%-2"};
    modSaveEst::saveEstimate(ctx, in);
    QCOMPARE(modData::scalar(ctx, ctx.EstConn, "select Waste from Main").toLongLong(), 125000LL);
    Takeoff::setWaste(ctx, 0);
    modOpenEst::OpenRoof(ctx);
    QCOMPARE(qlonglong(Takeoff::waste(ctx)), 125000LL);
    // An estimate with none stored (written by an earlier version) takes the Setup default.
    modData::exec(ctx, ctx.EstConn, "update Main set Waste = null");
    ctx.settings->set("Op", "Waste", "7.5");
    modOpenEst::OpenRoof(ctx);
    QCOMPARE(qlonglong(Takeoff::waste(ctx)), 75000LL);
}

// The shipped catalogue's rules through the windows: two planes at 8/12 with 10 % waste make 12
// squares to order, so 36 bundles of shingles; 40 ft of ridge and 30 ft of hips make 3 bundles
// of ridge cap. The proposal says where it came from, and the user may type another quantity.
void tst_rooftab::pickerProposesFromTheRoof() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    nextPlane("30", "20", "8/12");
    w.roof->cmdAddArea->click();
    nextPlane("15", "20", "8/12");
    w.roof->cmdAddArea->click();
    nextLineal("Ridge", "Ridge", "40");
    w.roof->cmdAddLineal->click();
    nextLineal("Hips", "Hip", "30");
    w.roof->cmdAddLineal->click();
    // A unit item's rule proposes as a cost item's does; unit item 1 has none, whatever cost
    // item 1 has.
    TakeoffRules::setRule(tc.ctx, true, 2,
                          {TakeoffRule::Measure::Lineal, 1 << RoofMath::Ridge, 10000, true});
    struct Case {
        int tab;
        int item;
        QString qty;
        QString from;
    };
    const QList<Case> cases = {
        {0, 1, "36", "from 12 squares to order × 3 bdl"},
        {0, 8, "3", "from 70 lf of Ridge and Hip ÷ 33 lf per bdl"},
        {0, 3, "2", "from 12 squares to order ÷ 10 square per roll"},
        {1, 17, "11", "from 1,082 sq ft of roof area ÷ 100 sq ft per sq"},
        {0, 9, "", ""}, // ridge vent has no rule: nothing proposed
        {5, 2, "40", "from 40 lf of Ridge × 1 lf"},
        {5, 1, "", ""},
    };
    for (const Case& c : cases) {
        UiTest::whenModal([&](QWidget* d) {
            auto* p = qobject_cast<frmPickItem*>(d);
            QVERIFY(p);
            QVERIFY(EstimateWindow::chooseItem(p, c.tab, c.item));
            QCOMPARE(p->txtItemQuan->text(), c.qty);
            QCOMPARE(p->lblQtyFrom->text(), c.from);
            p->reject();
        });
        w.lines->cmdAddNewLine->click();
    }
}

namespace {
// Picks catalogue item `item` (materials), leaving the proposed quantity or typing `qty`.
void pick(frmCorvanel& w, int item, const QString& qty = QString()) {
    UiTest::whenModal([=](QWidget* d) {
        auto* p = qobject_cast<frmPickItem*>(d);
        QVERIFY(p);
        QVERIFY(EstimateWindow::chooseItem(p, 0, item));
        if (!qty.isEmpty())
            p->txtItemQuan->setText(qty);
        EstimateWindow::chooseSection(p, "Roof");
        p->cmdSelect_Click();
        if (p->isVisible())
            p->reject();
    });
    w.lines->cmdAddNewLine->click();
}

// Edits the line named `name` through the picker: checks what the picker says of its rule, types
// `qty` (empty: leaves it) and `price` (empty: leaves it), and presses Okay.
void editLine(frmCorvanel& w, const QString& name, const QString& qty, const QString& price,
              const QString& shownQty, const QString& said) {
    w.lines->grdDataGrid->selectRow(EstimateWindow::rowOf(w, name));
    UiTest::whenModal([=](QWidget* d) {
        auto* p = qobject_cast<frmPickItem*>(d);
        QVERIFY(p);
        QCOMPARE(p->txtItemQuan->text(), shownQty);
        QCOMPARE(p->lblQtyFrom->text(), said);
        if (!qty.isEmpty())
            p->txtItemQuan->setText(qty);
        if (!price.isEmpty())
            p->txtItemPrice->setText(price);
        p->cmdSelect_Click();
        if (p->isVisible())
            p->reject();
    });
    w.lines->cmdEditLine->click();
}

bool followsRule(AppContext& ctx, const QString& name) {
    return modData::scalar(ctx, ctx.TempDBConn, "select FromRule from tpLineItems where Name=?",
                           {name})
               .toInt() != 0;
}

QString qtyOf(AppContext& ctx, const QString& name) {
    return Quantity::fromRaw(modData::scalar(ctx, ctx.TempDBConn,
                                             "select Qty from tpLineItems where Name=?", {name})
                                 .toLongLong())
        .toText();
}
} // namespace

// After the roof changed, Refresh gives the lines that kept their proposed quantity the new one,
// lists what it changed, and is one undo step; a quantity typed by hand stays.
void tst_rooftab::refreshChangesOnlyRuleLines() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    nextPlane("30", "20", "8/12");
    w.roof->cmdAddArea->click();
    nextLineal("Ridge", "Ridge", "40");
    w.roof->cmdAddLineal->click();
    nextLineal("Hips", "Hip", "30");
    w.roof->cmdAddLineal->click();
    const QString shingles = "Architectural shingles, 30-year";
    const QString cap = "Hip and ridge cap shingles";
    const QString drip = "Drip edge, 10 ft";
    pick(w, 1);      // 721 sq ft + 10 %: 8 squares to order, 24 bundles
    pick(w, 8, "5"); // typed: does not follow
    pick(w, 6);      // no eaves or rakes measured: nothing proposed, typed below
    QCOMPARE(qtyOf(ctx, shingles), QStringLiteral("24"));
    QCOMPARE(qtyOf(ctx, cap), QStringLiteral("5"));
    QCOMPARE(qtyOf(ctx, drip), QStringLiteral("0"));

    tc.prompt->clear();
    w.lines->cmdRefreshQty->click();
    QCOMPARE(tc.prompt->texts(), QStringList({"Every line that follows the roof already has the "
                                              "quantity it asks for."}));

    w.SSTab1->setCurrentWidget(w.roof);
    nextPlane("15", "20", "8/12");
    w.roof->cmdAddArea->click();
    const int steps = w.undoStack->count();
    tc.prompt->clear();
    w.lines->cmdRefreshQty->click();
    QCOMPARE(tc.prompt->texts(),
             QStringList({"Quantities refreshed from the roof:\nArchitectural shingles, 30-year: "
                          "24 → 36 (from 12 squares to order × 3 bdl)"}));
    QCOMPARE(qtyOf(ctx, shingles), QStringLiteral("36"));
    QCOMPARE(qtyOf(ctx, cap), QStringLiteral("5"));
    // 36 bundles at $38.3333 each: $1,380.00 to the cent.
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select LineTotal from tpLineItems where Name=?",
                             {shingles})
                 .toLongLong(),
             13800000LL);
    QCOMPARE(w.undoStack->count(), steps + 1);
    w.undoStack->undo();
    QCOMPARE(qtyOf(ctx, shingles), QStringLiteral("24"));
    QCOMPARE(modData::scalar(ctx, ctx.TempDBConn, "select LineTotal from tpLineItems where Name=?",
                             {shingles})
                 .toLongLong(),
             9200000LL); // $920.00
}

void tst_rooftab::editKeepsTheRule_data() {
    QTest::addColumn<bool>("roofChanged"); // a plane added after the line was picked
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qty");       // typed; empty: left as it was
    QTest::addColumn<QString>("price");     // typed; empty: left as it was
    QTest::addColumn<QString>("shown");     // the quantity the picker shows
    QTest::addColumn<QString>("said");      // what it says of the rule
    QTest::addColumn<bool>("follows");      // the line follows its rule afterwards
    QTest::addColumn<QString>("refreshed"); // its quantity after Refresh
    const QString shingles = "Architectural shingles, 30-year";
    const QString cap = "Hip and ridge cap shingles";
    const QString eight = "from 8 squares to order × 3 bdl";
    const QString twelve = "The roof asks for 36 (from 12 squares to order × 3 bdl)";
    const QString capSaid = "The roof asks for 3 (from 70 lf of Ridge and Hip ÷ 33 lf per bdl)";
    // Okay on a line left as it was changes nothing, its mark neither: no undo step.
    QTest::newRow("following, nothing changed") << false << shingles << ""
                                                << ""
                                                << "24" << eight << true << "24";
    QTest::newRow("following, roof changed, nothing changed") << true << shingles << ""
                                                              << ""
                                                              << "24" << twelve << true << "36";
    QTest::newRow("following, price changed") << false << shingles << ""
                                              << "40"
                                              << "24" << eight << true << "24";
    QTest::newRow("following, proposed quantity typed again") << false << shingles << "24"
                                                              << ""
                                                              << "24" << eight << true << "24";
    QTest::newRow("following, typed over") << false << shingles << "30"
                                           << ""
                                           << "24" << eight << false << "30";
    QTest::newRow("following, roof changed, left as it was") << true << shingles << ""
                                                             << "40"
                                                             << "24" << twelve << true << "36";
    QTest::newRow("following, roof changed, new proposal typed") << true << shingles << "36"
                                                                 << ""
                                                                 << "24" << twelve << true << "36";
    QTest::newRow("following, roof changed, typed over") << true << shingles << "30"
                                                         << ""
                                                         << "24" << twelve << false << "30";
    QTest::newRow("typed, left as it was") << false << cap << ""
                                           << "40"
                                           << "5" << capSaid << false << "5";
    QTest::newRow("typed, proposal typed") << false << cap << "3"
                                           << ""
                                           << "5" << capSaid << true << "3";
}

// Editing a line through the picker keeps it following its rule unless its quantity is typed
// over with another than the roof asks for; the picker says what the roof asks for now.
void tst_rooftab::editKeepsTheRule() {
    QFETCH(bool, roofChanged);
    QFETCH(QString, name);
    QFETCH(QString, qty);
    QFETCH(QString, price);
    QFETCH(QString, shown);
    QFETCH(QString, said);
    QFETCH(bool, follows);
    QFETCH(QString, refreshed);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    nextPlane("30", "20", "8/12");
    w.roof->cmdAddArea->click();
    nextLineal("Ridge", "Ridge", "40");
    w.roof->cmdAddLineal->click();
    nextLineal("Hips", "Hip", "30");
    w.roof->cmdAddLineal->click();
    pick(w, 1);      // 24 bundles, following
    pick(w, 8, "5"); // typed
    if (roofChanged) {
        w.SSTab1->setCurrentWidget(w.roof);
        nextPlane("15", "20", "8/12");
        w.roof->cmdAddArea->click();
        w.SSTab1->setCurrentWidget(w.lines);
    }
    const int steps = w.undoStack->count();
    editLine(w, name, qty, price, shown, said);
    QCOMPARE(followsRule(ctx, name), follows);
    const bool unchanged = (qty.isEmpty() || qty == shown) && price.isEmpty();
    QCOMPARE(w.undoStack->count(), steps + (unchanged ? 0 : 1));
    w.lines->cmdRefreshQty->click();
    QCOMPARE(qtyOf(ctx, name), refreshed);
}

QTEST_MAIN(tst_rooftab)
#include "tst_rooftab.moc"
