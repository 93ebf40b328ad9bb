// The user's word about an opened estimate: what is deleted stays stored until Save, a dialog
// cancelled (or answered No) changes nothing, every change can be undone and redone, and an
// estimate saved under one locale reopens with the same amounts under another.
#include "EstimateWindow.h"
#include "StoredEstimate.h"
#include "TestContext.h"
#include "UiTest.h"

#include "pricing/forms/TotalsTab.h"
#include "pricing/forms/frmAdminEdit.h"
#include "storage/Connections.h"
#include "takeoff/forms/RoofTab.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QTextEdit>
#include <QUndoStack>
#include <memory>

using namespace EstimateWindow;
using StoredEstimate::count;
using StoredEstimate::dump;
using Answer = Prompt::Answer;

namespace {

const QString kEstimate = QStringLiteral("OBrienReroof/OBrienReroof.db");

void addArea(frmCorvanel& w, const QString& width, const QString& height) {
    UiTest::whenModal([=](QWidget* d) {
        auto* a = qobject_cast<frmAreas*>(d);
        QVERIFY(a);
        a->cmbShape->setCurrentIndex(a->cmbShape->findText("Sq/Rect"));
        a->txtAreas[1]->setText(width);
        a->txtAreas[3]->setText(height);
        a->cmdOkay_Click();
    });
    w.roof->cmdAddArea->click();
}

void addLineal(frmCorvanel& w, const QString& name, const QString& length) {
    UiTest::whenModal([=](QWidget* d) {
        auto* l = qobject_cast<frmLineal*>(d);
        QVERIFY(l);
        l->txtLineal[1]->setText(name);
        l->cmbLineal->setCurrentIndex(l->cmbLineal->findText("Misc"));
        l->txtLineal[2]->setText(length);
        l->cmdOkay_Click();
    });
    w.roof->cmdAddLineal->click();
}

// A saved estimate with two areas, two lineal items and two lines in two sections, opened again.
int openedEstimate(frmCorvanel& w, ScriptedPrompt& prompt) {
    startNew(w);
    const int id = w.ctx().EstID;
    addArea(w, "30", "20");
    addArea(w, "10", "12");
    addLineal(w, "Ridge", "40");
    addLineal(w, "O'Neil's valley", "25");
    pickLine(w, 1, "8.5", "115", "Roof");
    pickLine(w, 6, "12", "8.5", "Edges");
    saveAndClose(w, prompt);
    open(w, id);
    prompt.clear();
    return id;
}

// Everything the user sees of the estimate in work and everything the working tables hold (the
// sections only with `sections`: one without lines is neither shown nor stored).
QStringList state(frmCorvanel& w, bool sections = true) {
    AppContext& ctx = w.ctx();
    QStringList s;
    for (const char* table : {"tpLineItems", "TempSect", "TempAreas", "TempLineal"})
        if (sections || QLatin1String(table) != QLatin1String("TempSect"))
            s << QString::fromLatin1(table)
              << dump(ctx, ctx.TempDBConn, QString::fromLatin1(table));
    // The deletions waiting for the save, whatever order they were noted in.
    QSqlQuery pending = modData::exec(
        ctx, ctx.TempDBConn, "select TableName, StoredID from PendingDeletes order by 1, 2");
    while (pending.next())
        s << pending.value(0).toString() + u'=' + pending.value(1).toString();
    s << gridTexts(w) << w.totals->adminStoredTexts() << w.totals->summary() << w.totals->terms()
      << w.totals->lblEstTotal->text();
    for (QLineEdit* box : w.roof->txtRoof)
        s << box->text();
    s << QString::number(w.roof->optStyle[1]->isChecked());
    return s;
}

void selectLine(frmCorvanel& w, const QString& name) {
    w.lines->grdDataGrid->selectRow(rowOf(w, name));
}

// Whether nothing waits to be saved: the mark, both Save controls and the undo stack agree.
bool unchanged(frmCorvanel& w) {
    return !w.ctx().EstChanged && !w.mnuEstSave->isEnabled() && !w.totals->cmdSave->isEnabled() &&
           w.undoStack->isClean();
}

} // namespace

class tst_unsaved : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void deletionsWaitForTheSave_data();
    void deletionsWaitForTheSave();
    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
    void undoRedoOfEveryKind_data();
    void undoRedoOfEveryKind();
    void ctrlZBringsADeletedLineBack();
    void ownerFieldsUndoneBeforeStart();
    void amountsReadTheSameUnderAnotherLocale_data();
    void amountsReadTheSameUnderAnotherLocale();
};

void tst_unsaved::deletionsWaitForTheSave_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("ending");
    for (const char* kind : {"line", "area", "lineal item", "roof view"})
        for (const char* ending : {"close without saving", "crash", "save"})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(kind, ending)))
                << QString::fromLatin1(kind) << QString::fromLatin1(ending);
}

// Deleting a stored line, area or lineal item, or switching the roof view, removes nothing stored
// until the estimate is saved: closing without saving, or a crash, leaves it as last saved.
void tst_unsaved::deletionsWaitForTheSave() {
    QFETCH(QString, kind);
    QFETCH(QString, ending);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    auto w = std::make_unique<frmCorvanel>(ctx);
    const int id = openedEstimate(*w, *tc.prompt);
    const QString db = ctx.estimateDbPath(kEstimate);
    const QStringList stored = {dump(ctx, db, "LineItems").join(';'),
                                dump(ctx, db, "Areas").join(';'),
                                dump(ctx, db, "Lineal").join(';')};
    const QStringList opened = state(*w);

    tc.prompt->answer(Answer::Yes);
    const char* table = "LineItems";
    if (kind == "line") {
        selectLine(*w, "Drip edge, 10 ft");
        w->lines->cmdDeleteLine->click();
    } else if (kind == "area") {
        table = "Areas";
        w->roof->dgAreas->selectRow(1);
        w->roof->cmdDeleteArea->click();
    } else if (kind == "lineal item") {
        table = "Lineal";
        w->roof->dgLineal->selectRow(0);
        w->roof->cmdDeleteLineal->click();
    } else {
        table = "Areas";
        w->roof->optStyle[1]->setChecked(true);
    }
    const int left = kind == "roof view" ? 0 : 1;
    QCOMPARE(count(ctx, db, table), 2);
    QVERIFY(ctx.EstChanged);

    if (ending == "close without saving") {
        close(*w, *tc.prompt, Answer::No);
        QCOMPARE(tc.prompt->shown().last().title, QStringLiteral("Would you like to save first?"));
        QCOMPARE(ctx.WorkMode, Mode::Idle);
    } else if (ending == "crash") {
        // The window goes without closing anything, as it would in a crash.
        w.reset();
        ctx.connections->closeAll();
        ctx.WorkMode = Mode::Idle;
        w = std::make_unique<frmCorvanel>(ctx);
    } else {
        saveAndClose(*w, *tc.prompt);
    }
    open(*w, id);
    QCOMPARE(ctx.WorkMode, Mode::Open);
    if (ending == "save") {
        QCOMPARE(count(ctx, db, table), left);
        QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
        QVERIFY(state(*w) != opened);
    } else {
        QCOMPARE((QStringList{dump(ctx, db, "LineItems").join(';'),
                              dump(ctx, db, "Areas").join(';'), dump(ctx, db, "Lineal").join(';')}),
                 stored);
        QCOMPARE(state(*w), opened);
    }
}

void tst_unsaved::cancelledDialogsChangeNothing_data() {
    QTest::addColumn<QString>("action");
    for (const char* a :
         {"add line cancelled", "new section then picker cancelled", "edit line cancelled",
          "edit line Okay unchanged", "edit line by its ID cancelled", "delete line answered No",
          "order committed unchanged", "order cancelled", "admin cancelled", "admin Okay unchanged",
          "area add cancelled", "area edit Okay unchanged", "lineal add cancelled",
          "lineal edit cancelled", "roof view answered No"})
        QTest::newRow(a) << QString::fromLatin1(a);
}

// A cancelled dialog, a delete answered No or an order committed unchanged leaves the estimate as
// it was: Save stays disabled and closing asks nothing.
void tst_unsaved::cancelledDialogsChangeNothing() {
    QFETCH(QString, action);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    openedEstimate(w, *tc.prompt);
    const bool sections = action != "new section then picker cancelled";
    const QStringList before = state(w, sections);
    QVERIFY(unchanged(w));

    if (action == "add line cancelled") {
        UiTest::rejectNextModal();
        w.lines->cmdAddNewLine->click();
    } else if (action == "new section then picker cancelled") {
        UiTest::whenModal([](QWidget* d) {
            auto* p = qobject_cast<frmPickItem*>(d);
            QVERIFY(chooseItem(p, 0, 2));
            chooseSection(p, "Gutters");
            p->reject();
        });
        w.lines->cmdAddNewLine->click();
    } else if (action == "edit line cancelled") {
        selectLine(w, "Drip edge, 10 ft");
        UiTest::rejectNextModal();
        w.lines->cmdEditLine->click();
    } else if (action == "edit line Okay unchanged") {
        selectLine(w, "Drip edge, 10 ft");
        UiTest::whenModal([](QWidget* d) { qobject_cast<frmPickItem*>(d)->cmdSelect_Click(); });
        w.lines->cmdEditLine->click();
    } else if (action == "edit line by its ID cancelled") {
        w.lines->grdDataGrid->clearSelection();
        UiTest::rejectNextModal();
        w.lines->cmdEditLine->click();
    } else if (action == "delete line answered No") {
        selectLine(w, "Drip edge, 10 ft");
        tc.prompt->answer(Answer::No);
        w.lines->cmdDeleteLine->click();
    } else if (action == "order committed unchanged") {
        commitOrderUnchanged(w);
    } else if (action == "order cancelled") {
        UiTest::rejectNextModal();
        w.lines->cmdOrder->click();
    } else if (action == "admin cancelled") {
        UiTest::rejectNextModal();
        Q_EMIT w.totals->frAdminClicked(1);
    } else if (action == "admin Okay unchanged") {
        UiTest::whenModal([](QWidget* d) { qobject_cast<frmAdminEdit*>(d)->Command1_Click(); });
        Q_EMIT w.totals->frAdminClicked(2);
    } else if (action == "area add cancelled") {
        UiTest::rejectNextModal();
        w.roof->cmdAddArea->click();
    } else if (action == "area edit Okay unchanged") {
        w.roof->dgAreas->selectRow(0);
        UiTest::whenModal([](QWidget* d) { qobject_cast<frmAreas*>(d)->cmdOkay_Click(); });
        w.roof->cmdEditArea->click();
    } else if (action == "lineal add cancelled") {
        UiTest::rejectNextModal();
        w.roof->cmdAddLineal->click();
    } else if (action == "lineal edit cancelled") {
        w.roof->dgLineal->selectRow(1);
        UiTest::rejectNextModal();
        w.roof->cmdEditLineal->click();
    } else if (action == "roof view answered No") {
        tc.prompt->answer(Answer::No);
        w.roof->optStyle[1]->setChecked(true);
    }
    QVERIFY(unchanged(w));
    QCOMPARE(w.undoStack->count(), 0);
    QCOMPARE(state(w, sections), before);

    tc.prompt->clear();
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->texts(), QStringList());
    QCOMPARE(w.ctx().WorkMode, Mode::Idle);
}

void tst_unsaved::undoRedoOfEveryKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("undoText");
    QTest::newRow("add line") << "add line"
                              << "Undo Add Line";
    QTest::newRow("edit line") << "edit line"
                               << "Undo Edit Line";
    QTest::newRow("delete line") << "delete line"
                                 << "Undo Delete Line";
    QTest::newRow("section order") << "section order"
                                   << "Undo Change Section Order";
    QTest::newRow("admin amount") << "admin amount"
                                  << "Undo Change Profit";
    QTest::newRow("summary") << "summary"
                             << "Undo Edit Summary";
    QTest::newRow("terms") << "terms"
                           << "Undo Edit Payment Terms";
    QTest::newRow("add area") << "add area"
                              << "Undo Add Area";
    QTest::newRow("edit area") << "edit area"
                               << "Undo Edit Area";
    QTest::newRow("delete area") << "delete area"
                                 << "Undo Delete Area";
    QTest::newRow("add lineal item") << "add lineal item"
                                     << "Undo Add Lineal Item";
    QTest::newRow("edit lineal item") << "edit lineal item"
                                      << "Undo Edit Lineal Item";
    QTest::newRow("delete lineal item") << "delete lineal item"
                                        << "Undo Delete Lineal Item";
    QTest::newRow("roof view") << "roof view"
                               << "Undo Change Roof View";
    QTest::newRow("quick figure") << "quick figure"
                                  << "Undo Figure Roof";
}

// Each kind of change is one step: undo brings back exactly what was there (and, at the last
// save, nothing to save), redo makes the change again exactly.
void tst_unsaved::undoRedoOfEveryKind() {
    QFETCH(QString, kind);
    QFETCH(QString, undoText);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    openedEstimate(w, *tc.prompt);
    if (kind == "quick figure") {
        // Measured as one total area, and saved so.
        tc.prompt->answer(Answer::Yes);
        w.roof->optStyle[1]->setChecked(true);
        w.roof->txtArea[0]->setText("30");
        w.roof->txtArea[1]->setText("20");
        w.roof->cmbPitch->setCurrentIndex(w.roof->cmbPitch->findText("6"));
        w.roof->cmdPitchFig->click();
        QVERIFY(w.SaveEst());
    }
    const QStringList before = state(w);
    QVERIFY(unchanged(w));

    tc.prompt->answer(Answer::Yes);
    if (kind == "add line") {
        pickLine(w, 5, "2.25", "110", "Roof");
    } else if (kind == "edit line") {
        selectLine(w, "Drip edge, 10 ft");
        UiTest::whenModal([](QWidget* d) {
            auto* p = qobject_cast<frmPickItem*>(d);
            p->txtItemQuan->setText("7.5");
            p->cmdSelect_Click();
        });
        w.lines->cmdEditLine->click();
    } else if (kind == "delete line") {
        selectLine(w, "Architectural shingles, 30-year");
        w.lines->cmdDeleteLine->click();
    } else if (kind == "section order") {
        UiTest::whenModal([](QWidget* d) {
            auto* f = qobject_cast<frmSortSections*>(d);
            f->List1_Click(1);
            f->Combo1->setCurrentText("0");
            f->cmdOkay_Click();
            f->cmdCommit_Click();
        });
        w.lines->cmdOrder->click();
    } else if (kind == "admin amount") {
        UiTest::whenModal([](QWidget* d) {
            auto* a = qobject_cast<frmAdminEdit*>(d);
            a->Option1->setChecked(true);
            a->Text1->setText("12.5");
            a->Command1_Click();
        });
        Q_EMIT w.totals->frAdminClicked(1);
    } else if (kind == "summary" || kind == "terms") {
        QTextEdit* box = kind == "summary" ? w.totals->txtSumm : w.totals->txtTerms;
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, " It's dry.");
    } else if (kind == "add area") {
        addArea(w, "8", "9");
    } else if (kind == "edit area") {
        w.roof->dgAreas->selectRow(0);
        UiTest::whenModal([](QWidget* d) {
            auto* a = qobject_cast<frmAreas*>(d);
            a->txtAreas[3]->setText("25");
            a->cmdOkay_Click();
        });
        w.roof->cmdEditArea->click();
    } else if (kind == "delete area") {
        w.roof->dgAreas->selectRow(0);
        w.roof->cmdDeleteArea->click();
    } else if (kind == "add lineal item") {
        addLineal(w, "Rake", "33");
    } else if (kind == "edit lineal item") {
        w.roof->dgLineal->selectRow(1);
        UiTest::whenModal([](QWidget* d) {
            auto* l = qobject_cast<frmLineal*>(d);
            l->txtLineal[2]->setText("27");
            l->cmdOkay_Click();
        });
        w.roof->cmdEditLineal->click();
    } else if (kind == "delete lineal item") {
        w.roof->dgLineal->selectRow(1);
        w.roof->cmdDeleteLineal->click();
    } else if (kind == "roof view") {
        w.roof->optStyle[1]->setChecked(true);
    } else if (kind == "quick figure") {
        w.roof->txtArea[0]->setText("40");
        w.roof->cmbPitch->setCurrentIndex(w.roof->cmbPitch->findText("8"));
        w.roof->cmdPitchFig->click();
    }
    const QStringList after = state(w);
    QVERIFY(after != before);
    QVERIFY(w.ctx().EstChanged);
    QVERIFY(w.mnuEstSave->isEnabled());
    QCOMPARE(w.undoStack->count(), 1);
    QCOMPARE(w.mnuEditUndo->text(), undoText);

    w.mnuEditUndo->trigger();
    QCOMPARE(state(w), before);
    QVERIFY(unchanged(w));
    QCOMPARE(w.mnuEditRedo->text(), QStringLiteral("Redo") + undoText.mid(4));

    w.mnuEditRedo->trigger();
    QCOMPARE(state(w), after);
    QVERIFY(w.ctx().EstChanged);
    QVERIFY(w.mnuEstSave->isEnabled());

    // Undone again, the estimate closes without a question, as last saved.
    w.mnuEditUndo->trigger();
    tc.prompt->clear();
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->texts(), QStringList());
    QCOMPARE(count(tc.ctx, tc.ctx.estimateDbPath(kEstimate), "LineItems"), 2);
}

// Ctrl+Z after Delete Line brings the line back with its total and both of its ids, so saving
// afterwards keeps the one stored row.
void tst_unsaved::ctrlZBringsADeletedLineBack() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const int id = openedEstimate(w, *tc.prompt);
    // The dialogs have come and gone: the window is the active one again.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QString db = ctx.estimateDbPath(kEstimate);
    const QStringList storedBefore = dump(ctx, db, "LineItems");
    const QStringList working = dump(ctx, ctx.TempDBConn, "tpLineItems");
    const QStringList grid = gridTexts(w);
    w.SSTab1->setCurrentWidget(w.lines);
    selectLine(w, "Architectural shingles, 30-year");
    w.lines->grdDataGrid->setFocus();
    tc.prompt->answer(Answer::Yes);
    w.lines->cmdDeleteLine->click();
    QCOMPARE(rowOf(w, "Architectural shingles, 30-year"), -1);
    QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 1);

    QTest::keyClick(w.lines->grdDataGrid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(gridTexts(w), grid);
    QCOMPARE(gridTexts(w).value(1), QStringLiteral("Architectural shingles, 30-year|8.5|$977.50|"));
    QCOMPARE(dump(ctx, ctx.TempDBConn, "tpLineItems"), working);
    QCOMPARE(count(ctx, ctx.TempDBConn, "PendingDeletes"), 0);
    QVERIFY(unchanged(w));

    QTest::keyClick(w.lines->grdDataGrid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(rowOf(w, "Architectural shingles, 30-year"), -1);
    QTest::keyClick(w.lines->grdDataGrid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(gridTexts(w), grid);

    // Changed again and saved: the stored row is updated in place, never stored twice.
    selectLine(w, "Drip edge, 10 ft");
    tc.prompt->answer(Answer::Yes);
    w.lines->cmdDeleteLine->click();
    w.mnuEditUndo->trigger();
    w.mnuEditRedo->trigger();
    w.mnuEditUndo->trigger();
    addArea(w, "5", "5");
    saveAndClose(w, *tc.prompt);
    QCOMPARE(dump(ctx, db, "LineItems"), storedBefore);
    open(w, id);
    QCOMPARE(gridTexts(w), grid);
}

// Typing in the owner fields before Start is undone with Ctrl+Z, also while a field has the
// focus; Start stores the owner, and there is nothing left to undo.
void tst_unsaved::ownerFieldsUndoneBeforeStart() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.mnuEstNew->trigger();
    QLineEdit* last = w.owner->txtName[1];
    QLineEdit* address = w.owner->txtName[2];
    last->setFocus();
    QTest::keyClicks(last, "O'Brien");
    address->setFocus();
    QTest::keyClicks(address, "12 Elm");
    QCOMPARE(w.mnuEditUndo->text(), QStringLiteral("Undo Edit Address"));
    QTest::keyClick(address, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(address->text(), QString());
    QCOMPARE(last->text(), QStringLiteral("O'Brien"));
    QCOMPARE(w.mnuEditUndo->text(), QStringLiteral("Undo Edit Last Name or Company Name"));
    QTest::keyClick(address, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(address->text(), QStringLiteral("12 Elm"));
    w.mnuEditUndo->trigger();
    w.mnuEditUndo->trigger();
    QCOMPARE(last->text(), QString());

    const QStringList v = {"Zoë", "Łukasz", "1 Elm St", "Town, MT 1", "555-1234", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText("Reroof");
    w.owner->cmdStartEst->click();
    QVERIFY(tc.ctx.estimateStarted());
    QCOMPARE(w.undoStack->count(), 0);
    QVERIFY(!w.mnuEditUndo->isEnabled());
}

void tst_unsaved::amountsReadTheSameUnderAnotherLocale_data() {
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("fixed");
    QTest::newRow("US English, then German") << "en_US"
                                             << "de_DE"
                                             << "2.5"
                                             << "1,234.5"
                                             << "1,500.25";
    QTest::newRow("German, then US English") << "de_DE"
                                             << "en_US"
                                             << "2,5"
                                             << "1.234,5"
                                             << "1.500,25";
    QTest::newRow("C, then German") << "C"
                                    << "de_DE"
                                    << "2.5"
                                    << "1234.5"
                                    << "1500.25";
}

// Stored amounts are plain decimals: an estimate saved under one locale reopens under another
// with the same amounts, not a thousandth of them.
void tst_unsaved::amountsReadTheSameUnderAnotherLocale() {
    QFETCH(QString, saved);
    QFETCH(QString, opened);
    QFETCH(QString, qty);
    QFETCH(QString, price);
    QFETCH(QString, fixed);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    QLocale::setDefault(QLocale(saved));
    startNew(w);
    const int id = ctx.EstID;
    pickLine(w, 1, qty, price, "Roof");
    UiTest::whenModal([fixed](QWidget* d) {
        auto* a = qobject_cast<frmAdminEdit*>(d);
        a->Option2->setChecked(true);
        a->Text1->setText(fixed);
        a->Command1_Click();
    });
    Q_EMIT w.totals->frAdminClicked(2);
    const Totals::EstimateTotals before = w.totals->totals();
    saveAndClose(w, *tc.prompt);
    const QString db = ctx.estimateDbPath(kEstimate);
    QCOMPARE(modData::scalar(ctx, db, "select Contingency from Main").toString(),
             QStringLiteral("Fixed-1500.25"));

    QLocale::setDefault(QLocale(opened));
    open(w, id);
    const Totals::EstimateTotals after = w.totals->totals();
    TestContext::pinLocale();
    QCOMPARE(after.subTotal, Money::parse("3086.25").value());
    QCOMPARE(after.subTotal, before.subTotal);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(after.admin[i].amount, before.admin[i].amount);
    QCOMPARE(after.admin[2].amount, Money::parse("1500.25").value());
    QCOMPARE(after.estTotal, before.estTotal);
    for (const ScriptedPrompt::Shown& s : tc.prompt->shown())
        QVERIFY2(s.question, qPrintable(s.text));
}

QTEST_MAIN(tst_unsaved)
#include "tst_unsaved.moc"
