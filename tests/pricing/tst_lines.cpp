// Line items through the windows: decimal quantities from the picker to the stored row and the
// detail document, edits that keep what was not changed, editing what is selected, sections
// that stay themselves through a reorder, one reading of numbers in every locale, and totals
// that are refused rather than wrapped.
#include "EstimateWindow.h"
#include "TestContext.h"
#include "UiTest.h"

#include "../estimates/StoredEstimate.h"
#include "documents/forms/OutputTab.h"
#include "pricing/Sections.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/forms/frmAdminEdit.h"
#include "storage/Connections.h"
#include "takeoff/forms/RoofTab.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QRadioButton>
#include <QTextEdit>
#include <QUndoStack>

using namespace EstimateWindow;
using StoredEstimate::count;
using StoredEstimate::dump;
using Answer = Prompt::Answer;

namespace {

// Sets the default locale for the life of the object.
struct LocaleScope {
    explicit LocaleScope(const QString& name) { QLocale::setDefault(QLocale(name)); }
    ~LocaleScope() { TestContext::pinLocale(); }
};

// The line of the detail document that lists `name`.
QString detailLine(frmCorvanel& w, const QString& name) {
    for (const QString& line : w.output->rtfText[0]->toPlainText().split(u'\n'))
        if (line.startsWith(name))
            return line.simplified();
    return {};
}

} // namespace

class tst_lines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void decimalQuantityEndToEnd_data();
    void decimalQuantityEndToEnd();
    void editOkayUnchangedKeepsTheLine_data();
    void editOkayUnchangedKeepsTheLine();
    void doubleClickEditsTheRowUnderTheMouse();
    void reorderKeepsEverySectionWhole();
    void samePricesUnderEveryLocale_data();
    void samePricesUnderEveryLocale();
    void totalsTooLargeAreRefused_data();
    void totalsTooLargeAreRefused();
    void adminAmountTooLargeIsRefused();
};

void tst_lines::decimalQuantityEndToEnd_data() {
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("shownQty");
    QTest::addColumn<QString>("shownTotal");
    QTest::addColumn<qint64>("storedQty");
    QTest::addColumn<qint64>("storedTotal");
    QTest::newRow("8.5 squares") << "8.5"
                                 << "115"
                                 << "8.5"
                                 << "$977.50" << qint64(85000) << qint64(9775000);
    QTest::newRow("8.36 squares") << "8.36"
                                  << "115.00"
                                  << "8.36"
                                  << "$961.40" << qint64(83600) << qint64(9614000);
    QTest::newRow("whole squares") << "8"
                                   << "115"
                                   << "8"
                                   << "$920.00" << qint64(80000) << qint64(9200000);
    // 2.5 × 45.125 = 112.8125: the total is rounded to the cent, the price kept whole.
    QTest::newRow("hours at a price in tenths of cents")
        << "2.5"
        << "45.125"
        << "2.5"
        << "$112.81" << qint64(25000) << qint64(1128100);
}

// What the picker takes is what the grid shows, what is stored, what an opened estimate shows and
// what the detail document prints: Qty × Cost = Total on every one of them.
void tst_lines::decimalQuantityEndToEnd() {
    QFETCH(QString, qty);
    QFETCH(QString, price);
    QFETCH(QString, shownQty);
    QFETCH(QString, shownTotal);
    QFETCH(qint64, storedQty);
    QFETCH(qint64, storedTotal);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    const int id = ctx.EstID;
    pickLine(w, 4, qty, price, "Roof");
    const QString name = QStringLiteral("#15 felt paper");
    const QString row = name + u'|' + shownQty + u'|' + shownTotal + u'|';
    QCOMPARE(gridTexts(w).value(1), row);
    QCOMPARE(w.lines->lblSubTotals[0]->text(), shownTotal);

    saveAndClose(w, *tc.prompt);
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    const QString db = ctx.estimateDbPath("OBrienReroof/OBrienReroof.db");
    QCOMPARE(modData::scalar(ctx, db, "select Qty from LineItems").toLongLong(), storedQty);
    QCOMPARE(modData::scalar(ctx, db, "select LineTotal from LineItems").toLongLong(), storedTotal);

    open(w, id);
    QCOMPARE(ctx.WorkMode, Mode::Open);
    QCOMPARE(gridTexts(w).value(1), row);
    QCOMPARE(w.totals->lblSubTotal->text(), shownTotal);
    w.cmdPrint[1]->click();
    const QString printed = detailLine(w, name);
    QVERIFY2(printed.contains(u' ' + shownQty + u' '), qPrintable(printed));
    QVERIFY2(printed.endsWith(shownTotal), qPrintable(printed));
    QVERIFY2(printed.contains(Money::parse(price)->toCurrency()), qPrintable(printed));
    // The only thing asked was whether the estimate is complete.
    for (const ScriptedPrompt::Shown& s : tc.prompt->shown())
        QVERIFY2(s.question, qPrintable(s.text));
}

void tst_lines::editOkayUnchangedKeepsTheLine_data() {
    QTest::addColumn<qint64>("qty");
    QTest::addColumn<qint64>("cost");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("shown");
    QTest::newRow("decimal quantity")
        << qint64(85000) << qint64(1150000) << qint64(9775000) << "8.5";
    // A total an earlier version stored differently from the quantity times the price today.
    QTest::newRow("total of an earlier version")
        << qint64(30000) << qint64(3333) << qint64(9900) << "3";
}

// Opening a line with Edit and pressing Okay without touching anything keeps its quantity, price
// and total exactly, and is no change of the estimate.
void tst_lines::editOkayUnchangedKeepsTheLine() {
    QFETCH(qint64, qty);
    QFETCH(qint64, cost);
    QFETCH(qint64, total);
    QFETCH(QString, shown);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    const int id = ctx.EstID;
    pickLine(w, 4, "1", "1", "Underlayment");
    saveAndClose(w, *tc.prompt);
    const QString db = ctx.estimateDbPath("OBrienReroof/OBrienReroof.db");
    modData::exec(ctx, db, "update LineItems set Qty=?, Cost=?, LineTotal=?", {qty, cost, total});
    const QStringList stored = dump(ctx, db, "LineItems");
    open(w, id);
    const QStringList working = dump(ctx, ctx.TempDBConn, "tpLineItems");

    w.lines->grdDataGrid->selectRow(1);
    QString offered;
    UiTest::whenModal([&offered](QWidget* d) {
        auto* p = qobject_cast<frmPickItem*>(d);
        QVERIFY(p);
        offered = p->txtItemQuan->text();
        p->cmdSelect_Click();
    });
    w.lines->cmdEditLine->click();
    QCOMPARE(offered, shown);
    QCOMPARE(dump(ctx, ctx.TempDBConn, "tpLineItems"), working);
    QVERIFY(!ctx.EstChanged);
    QVERIFY(!w.mnuEstSave->isEnabled());
    QCOMPARE(w.undoStack->count(), 0);
    // Closing asks nothing and the stored line is as it was.
    tc.prompt->clear();
    w.mnuEstClose->trigger();
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(dump(ctx, db, "LineItems"), stored);
}

// A double click on a row opens the dialog on that row's line, area or lineal item.
void tst_lines::doubleClickEditsTheRowUnderTheMouse() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    w.resize(1200, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    startNew(w);
    pickLine(w, 1, "10", "115", "Roof");
    pickLine(w, 4, "3", "28", "Roof");
    pickLine(w, 6, "12", "8.5", "Edges");
    w.SSTab1->setCurrentWidget(w.lines);
    QTest::qWait(20);
    const int row = rowOf(w, "Drip edge, 10 ft");
    const QString id = GridBinding::cell(w.lines->grdDataGrid, row, 0).toString();
    w.lines->grdDataGrid->selectRow(rowOf(w, "#15 felt paper"));
    QString opened, qty;
    UiTest::whenModal([&](QWidget* d) {
        auto* p = qobject_cast<frmPickItem*>(d);
        QVERIFY(p);
        opened = p->lblLineID->text();
        qty = p->txtItemQuan->text();
        p->reject();
    });
    doubleClickRow(w.lines->grdDataGrid, row);
    QCOMPARE(opened, id);
    QCOMPARE(qty, QStringLiteral("12"));
    // A heading row has no line to edit: no dialog opens (one that did is closed and noted).
    bool unexpected = false;
    UiTest::whenModal([&unexpected](QWidget* d) {
        unexpected = true;
        d->close();
    });
    doubleClickRow(w.lines->grdDataGrid, 0);
    QTest::qWait(1300);
    QVERIFY(!unexpected);

    // Areas and lineal items: the row under the mouse, whatever was selected.
    for (const auto& [w1, h] : {std::pair{"10", "20"}, std::pair{"30", "40"}}) {
        UiTest::whenModal([w1, h](QWidget* d) {
            auto* a = qobject_cast<frmAreas*>(d);
            a->cmbShape->setCurrentIndex(a->cmbShape->findText("Sq/Rect"));
            a->txtAreas[1]->setText(w1);
            a->txtAreas[3]->setText(h);
            a->cmdOkay_Click();
        });
        w.roof->cmdAddArea->click();
    }
    w.SSTab1->setCurrentWidget(w.roof);
    QTest::qWait(20);
    w.roof->dgAreas->selectRow(0);
    QString width;
    UiTest::whenModal([&width](QWidget* d) {
        auto* a = qobject_cast<frmAreas*>(d);
        QVERIFY(a);
        width = a->txtAreas[1]->text();
        a->reject();
    });
    doubleClickRow(w.roof->dgAreas, 1);
    QCOMPARE(width, QStringLiteral("30"));
    for (const char* name : {"Ridge", "Valley"}) {
        UiTest::whenModal([name](QWidget* d) {
            auto* l = qobject_cast<frmLineal*>(d);
            l->txtLineal[1]->setText(name);
            l->cmbLineal->setCurrentIndex(l->cmbLineal->findText("Misc"));
            l->txtLineal[2]->setText("12");
            l->cmdOkay_Click();
        });
        w.roof->cmdAddLineal->click();
    }
    QString lineal;
    UiTest::whenModal([&lineal](QWidget* d) {
        auto* l = qobject_cast<frmLineal*>(d);
        QVERIFY(l);
        lineal = l->txtLineal[1]->text();
        l->reject();
    });
    doubleClickRow(w.roof->dgLineal, 1);
    QCOMPARE(lineal, QStringLiteral("Valley"));
    QVERIFY(tc.prompt->texts().isEmpty());
}

// Sections A, B and C with one line each; B loses its only line; the order is committed
// unchanged; a line is picked into B. Every section keeps its own name, lines and total, in the
// grid and in the detail document.
void tst_lines::reorderKeepsEverySectionWhole() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    startNew(w);
    pickLine(w, 1, "1", "100", "A");
    pickLine(w, 2, "1", "200", "B");
    pickLine(w, 3, "1", "300", "C");
    const QString sep = QStringLiteral("     * * * * * * * * * *|||");
    w.lines->grdDataGrid->selectRow(rowOf(w, "3-tab shingles, 25-year"));
    tc.prompt->answer(Answer::Yes);
    w.lines->cmdDeleteLine->click();
    commitOrderUnchanged(w);
    // Nothing moved: no step to undo but the delete.
    QCOMPARE(w.mnuEditUndo->text(), QStringLiteral("Undo Delete Line"));
    QCOMPARE(gridTexts(w),
             QStringList({"A|||", "Architectural shingles, 30-year|1|$100.00|",
                          "Total for A|||$100.00", sep, "C|||", "Synthetic underlayment|1|$300.00|",
                          "Total for C|||$300.00", sep}));

    pickLine(w, 4, "2", "20", "B");
    // B is back where it was, under its own heading with its own total.
    const QStringList whole = {"A|||",
                               "Architectural shingles, 30-year|1|$100.00|",
                               "Total for A|||$100.00",
                               sep,
                               "B|||",
                               "#15 felt paper|2|$40.00|",
                               "Total for B|||$40.00",
                               sep,
                               "C|||",
                               "Synthetic underlayment|1|$300.00|",
                               "Total for C|||$300.00",
                               sep};
    QCOMPARE(gridTexts(w), whole);
    // Stored under its own section's name and position.
    QCOMPARE(dump(ctx, ctx.TempDBConn, "TempSect"), QStringList({"1|A|0", "2|B|1", "3|C|2"}));

    // A real move, then undone: the sections come back whole.
    UiTest::whenModal([](QWidget* d) {
        auto* f = qobject_cast<frmSortSections*>(d);
        f->List1_Click(2);
        f->Combo1->setCurrentText("0");
        f->cmdOkay_Click();
        f->cmdCommit_Click();
    });
    w.lines->cmdOrder->click();
    QCOMPARE(gridTexts(w).mid(0, 3),
             QStringList({"C|||", "Synthetic underlayment|1|$300.00|", "Total for C|||$300.00"}));
    QCOMPARE(w.mnuEditUndo->text(), QStringLiteral("Undo Change Section Order"));
    w.mnuEditUndo->trigger();
    QCOMPARE(gridTexts(w), whole);

    saveAndClose(w, *tc.prompt);
    const QString db = ctx.estimateDbPath("OBrienReroof/OBrienReroof.db");
    QCOMPARE(modData::scalar(ctx, db,
                             "select group_concat(Sect || '=' || SecOrder || ':' || "
                             "LineTotal, ',') from (select * from LineItems order by ID)")
                 .toString(),
             QStringLiteral("A=0:1000000,C=2:3000000,B=1:400000"));
    open(w, modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt());
    QCOMPARE(gridTexts(w), whole);
    w.cmdPrint[1]->click();
    const QString doc = w.output->rtfText[0]->toPlainText();
    const qsizetype a = doc.indexOf("Total for A $100.00");
    const qsizetype b = doc.indexOf("Total for B $40.00");
    const qsizetype c = doc.indexOf("Total for C $300.00");
    QVERIFY2(a > 0 && a < b && b < c, qPrintable(doc));
    QVERIFY(doc.indexOf("#15 felt paper") > a && doc.indexOf("#15 felt paper") < b);
}

void tst_lines::samePricesUnderEveryLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("price");
    QTest::newRow("en_US") << "en_US"
                           << "8.5"
                           << "1,234.5";
    QTest::newRow("de_DE") << "de_DE"
                           << "8,5"
                           << "1.234,5";
    QTest::newRow("de_DE with periods") << "de_DE"
                                        << "8.5"
                                        << "1234.5";
    QTest::newRow("C") << "C"
                       << "8.5"
                       << "1234.50";
    QTest::newRow("fr_FR") << "fr_FR"
                           << "8,5"
                           << "1 234,5";
}

// The same quantity and price typed the way each locale writes them are stored and priced
// identically.
void tst_lines::samePricesUnderEveryLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, qty);
    QFETCH(QString, price);
    TestContext tc;
    tc.createTempDB();
    Sections::Add(tc.ctx, "Roof");
    LocaleScope scope(locale);
    frmPickItem p(tc.ctx, false, 0);
    QVERIFY(chooseItem(&p, 0, 1));
    p.txtItemQuan->setText(qty);
    p.txtItemPrice->setText(price);
    QCOMPARE(p.lblItemTotal->text(), Money::fromRaw(104932500).toCurrency());
    p.cmbSection->setCurrentIndex(0);
    p.cmdSelect_Click();
    const std::optional<CurItemRecord> c = p.chosen();
    QVERIFY2(c, qPrintable(tc.prompt->lastText()));
    QCOMPARE(c->Qty.raw(), qint64(85000));
    QCOMPARE(c->Cost.raw(), qint64(12345000));
    QCOMPARE(c->LineTotal.raw(), qint64(104932500));
}

void tst_lines::totalsTooLargeAreRefused_data() {
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message"); // empty: taken
    const QString line = QStringLiteral(
        "The total of this line is too large to figure. Please enter a smaller quantity or price.");
    const QString estimate = QStringLiteral(
        "The estimate total would be too large to figure. Please enter a smaller amount.");
    QTest::newRow("largest quantity times largest price") << "1000000000"
                                                          << "1000000000" << line;
    // 800 trillion fits, but not with the first-start overhead, profit and management on top.
    QTest::newRow("sub total with the administrative amounts") << "800000000"
                                                               << "1000000" << estimate;
    QTest::newRow("large but within reach") << "1000000"
                                            << "1000000"
                                            << "";
    QTest::newRow("comma decimal under US English") << "1,5"
                                                    << "10"
                                                    << "This field must be a number.";
}

// Products and sums that would not fit the money type are refused with a message, and nothing is
// added, instead of wrapping to a negative total.
void tst_lines::totalsTooLargeAreRefused() {
    QFETCH(QString, qty);
    QFETCH(QString, price);
    QFETCH(QString, message);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    startNew(w);
    pickLine(w, 1, "1", "100", "Roof");
    const QStringList before = gridTexts(w);
    tc.prompt->clear();
    pickLine(w, 2, qty, price, "Roof");
    if (message.isEmpty()) {
        QCOMPARE(tc.prompt->count(), 0);
        QCOMPARE(gridTexts(w).size(), before.size() + 1);
        QVERIFY(w.totals->totals().estTotal > w.totals->totals().subTotal);
        return;
    }
    QCOMPARE(tc.prompt->texts(), QStringList{message});
    QCOMPARE(gridTexts(w), before);
    QCOMPARE(w.totals->lblSubTotal->text(), QStringLiteral("$100.00"));
}

// An administrative amount that would make the estimate total too large is refused in its
// dialog, which stays open.
void tst_lines::adminAmountTooLargeIsRefused() {
    TestContext tc;
    Totals::EstimateTotals t;
    t.types[0] = Money::parse("500000000000000").value();
    t.subTotal = t.types[0];
    for (int i = 0; i < 4; ++i)
        t.admin[i] = *Totals::figureAdmin(i, true, "0", t.subTotal);
    frmAdminEdit d(tc.ctx, "Overhead", 0, t);
    d.Option1->setChecked(true);
    d.Text1->setText("100");
    d.Command1_Click();
    QCOMPARE(tc.prompt->texts(),
             QStringList{"The estimate total would be too large to figure. Please enter a "
                         "smaller amount."});
    QVERIFY(!d.entered());
    d.Text1->setText("10000000");
    d.Command1_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("This number is too large."));
    d.Text1->setText("10");
    d.Command1_Click();
    QVERIFY(d.entered());
    QCOMPARE(d.entered()->value, QStringLiteral("10"));
}

QTEST_MAIN(tst_lines)
#include "tst_lines.moc"
