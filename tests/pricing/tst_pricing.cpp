#include "TestContext.h"
#include "UiTest.h"

#include "../estimates/StoredEstimate.h"
#include "app/frmCorvanel.h"
#include "common/forms/GridBinding.h"
#include "estimates/forms/OwnerTab.h"
#include "pricing/Admin.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/forms/frmAdminEdit.h"
#include "pricing/forms/frmEditID.h"
#include "pricing/forms/frmPickItem.h"
#include "pricing/modGrid.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

using namespace StoredEstimate;
using Answer = Prompt::Answer;

namespace {

struct Window {
    TestContext tc;
    frmCorvanel w{tc.ctx};
    AppContext& ctx = tc.ctx;

    Window() {
        w.mnuEstNew->trigger();
        const QStringList v = {"Mary", "Smith", "1 Elm St", "Town, MT 1", "555-1234", "", ""};
        for (int i = 0; i < 7; ++i)
            w.owner->txtName[i]->setText(v[i]);
        w.owner->cmbEstType->setEditText("Reroof");
        w.owner->cmdStartEst->click();
    }

    void add(int itemId, const QString& type, const QString& sect, int order, const QString& name,
             int qty, const QString& cost) {
        if (!modData::scalar(ctx, ctx.TempDBConn, "select count(*) from TempSect where SecOrder=?",
                             {order})
                 .toInt())
            modData::exec(ctx, ctx.TempDBConn, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                          {sect, order});
        CurItemRecord c;
        c.ItemID = itemId;
        c.ItemTable = type;
        c.Name = name;
        c.Unit = "ea";
        c.Qty = Quantity::whole(qty);
        c.Cost = Money::parse(cost).value();
        c.LineTotal = Money::fromRaw(c.Cost.raw() * qty);
        c.Sect = sect;
        c.SecOrder = order;
        modGrid::AddLineItem(ctx, "add", 0, c);
        refresh();
    }
    void refresh() {
        w.totals->FigureTotals();
        w.lines->PopEstiGrid();
    }
    void setAdmin(int i, const QString& kind, const QString& amount) {
        w.totals->FigureAdmin(i, kind, amount);
    }
    QStringList gridNames() {
        QStringList names;
        for (int r = 0; r < w.lines->gridRowCount(); ++r)
            names << GridBinding::cell(w.lines->grdDataGrid, r, 1).toString();
        return names;
    }
    int rowOf(const QString& name) { return int(gridNames().indexOf(name)); }
};

} // namespace

class tst_pricing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void storedAdminTexts_data();
    void storedAdminTexts();
    void totalsOfTheExample();
    void percentOfAFewCents();
    void labelsShowTheFigures_data();
    void labelsShowTheFigures();
    void reopenedAdminTexts();
    void popAdminWithFewDefaults();
    void gridRowsAndSections();
    void deletingLines();
    void lineStatementErrors_data();
    void lineStatementErrors();
    void editByID();
    void editLine_data();
    void editLine();
    void adminEditDialog();
    void summaryAndTermsChanges_data();
    void summaryAndTermsChanges();
    void pickerAddsALine();
};

void tst_pricing::storedAdminTexts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("value");
    QTest::newRow("percent") << "%-7.5" << false << "7.5";
    QTest::newRow("fixed currency") << "Fixed-$120.00" << true << "$120.00";
    QTest::newRow("negative fixed") << "Fixed--$50.00" << true << "-$50.00";
    QTest::newRow("empty") << "" << true << "0";
}

void tst_pricing::storedAdminTexts() {
    QFETCH(QString, stored);
    QFETCH(bool, fixed);
    QFETCH(QString, value);
    const Admin::Amount a = Admin::parseStored(stored);
    QCOMPARE(a.fixed, fixed);
    QCOMPARE(a.value, value);
    if (!stored.isEmpty())
        QCOMPARE(Admin::storedText(a), stored);
}

void tst_pricing::totalsOfTheExample() {
    Window t;
    t.setAdmin(0, "%", "10");
    t.setAdmin(1, "%", "5");
    t.setAdmin(2, "Fixed", "25");
    t.setAdmin(3, "%", "0");
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "100.00");
    t.add(15, "Labor", "Roof", 0, "Roofer", 2, "25.00");
    TotalsTab& tt = *t.w.totals;
    QCOMPARE(tt.lblSubTotal->text(), QStringLiteral("$150.00"));
    QCOMPARE(tt.lblAdmin[0]->text(), QStringLiteral("$15.00"));
    QCOMPARE(tt.lblAdmin[1]->text(), QStringLiteral("$7.50"));
    QCOMPARE(tt.lblAdmin[2]->text(), QStringLiteral("$25.00"));
    QCOMPARE(tt.lblAdmin[3]->text(), QStringLiteral("$0.00"));
    QCOMPARE(tt.lblAdminTotal->text(), QStringLiteral("$47.50"));
    QCOMPARE(tt.lblEstTotal->text(), QStringLiteral("$197.50"));
    QCOMPARE(t.w.lines->lblSubTotals[0]->text(), QStringLiteral("$100.00"));
    QCOMPARE(t.w.lines->lblSubTotals[1]->text(), QStringLiteral("$50.00"));
    QCOMPARE(t.w.lines->lblSubTotals[6]->text(), QStringLiteral("$150.00"));
    QCOMPARE(tt.adminStoredTexts(), QStringList({"%-10", "%-5", "Fixed-25", "%-0"}));
    // Overhead keeps the percentage as typed, the others show its shortest form.
    t.setAdmin(0, "10.50%", "10.50");
    t.setAdmin(1, "10.50%", "10.50");
    QCOMPARE(tt.lblOver->text(), QStringLiteral("10.50%"));
    QCOMPARE(tt.lblPro->text(), QStringLiteral("10.5%"));
}

void tst_pricing::percentOfAFewCents() {
    Window t;
    for (int i = 0; i < 4; ++i)
        t.setAdmin(i, "Fixed", "0");
    t.setAdmin(0, "%", "1");
    t.add(1, "Fee", "Permits", 0, "Stamp", 1, "0.50");
    QCOMPARE(t.w.totals->lblAdmin[0]->text(), QStringLiteral("$0.01"));
    QCOMPARE(t.w.totals->lblEstTotal->text(), QStringLiteral("$0.51"));
}

// The tabs show what Totals figures for the same entries (its own test holds the reasons).
void tst_pricing::labelsShowTheFigures_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("cost");
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("adminTotal");
    QTest::addColumn<QString>("estTotal");
    QTest::newRow("single precision below a half cent")
        << "Fee"
        << "0.50" << QStringList{"%", "%", "Fixed", "%"} << QStringList{"4.99", "4.99", "0", "1"}
        << QStringList{"4.99%", "4.98999977111816%", "Fixed @", "1%"}
        << QStringList{"$0.02", "$0.02", "$0.00", "$0.01"} << "$0.05"
        << "$0.55";
    QTest::newRow("four decimals before the cents")
        << "Material"
        << "209.00" << QStringList{"%", "%", "Fixed", "%"}
        << QStringList{"0.122", "0.122", "-0.005", "0"}
        << QStringList{"0.122%", "0.122000001370907%", "Fixed @", "0%"}
        << QStringList{"$0.26", "$0.26", "($0.01)", "$0.00"} << "$0.51"
        << "$209.51";
}

void tst_pricing::labelsShowTheFigures() {
    QFETCH(QString, type);
    QFETCH(QString, cost);
    QFETCH(QStringList, kinds);
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, types);
    QFETCH(QStringList, shown);
    QFETCH(QString, adminTotal);
    QFETCH(QString, estTotal);
    Window t;
    for (int i = 0; i < 4; ++i)
        t.setAdmin(i, kinds[i], amounts[i]);
    t.add(1, type, "Roof", 0, "Line", 1, cost);
    TotalsTab& tt = *t.w.totals;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tt.typeLabel(i)->text(), types[i]);
        QCOMPARE(tt.lblAdmin[i]->text(), shown[i]);
    }
    const QString subTotal = Money::parse(cost)->toCurrency();
    QCOMPARE(tt.lblSubTotal->text(), subTotal);
    QCOMPARE(t.w.lines->lblSubTotals[6]->text(), subTotal);
    QCOMPARE(tt.lblAdminTotal->text(), adminTotal);
    QCOMPARE(tt.lblEstTotal->text(), estTotal);
    QCOMPARE(t.tc.prompt->count(), 0);
}

void tst_pricing::reopenedAdminTexts() {
    Window t;
    modData::exec(t.ctx, t.ctx.EstConn,
                  "update Main set Overhead='%-7.5', Profit='Fixed-$120.00', Contingency=NULL, "
                  "Management='Fixed--$50.00', PaymentTerms='Net 30', EstSummary='It''s done'");
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "200.00");
    t.w.totals->PopEstAdmin();
    t.w.totals->FigureTotals();
    TotalsTab& tt = *t.w.totals;
    QCOMPARE(tt.lblOver->text(), QStringLiteral("7.5%"));
    QCOMPARE(tt.lblAdmin[0]->text(), QStringLiteral("$15.00"));
    QCOMPARE(tt.lblPro->text(), QStringLiteral("Fixed @"));
    QCOMPARE(tt.lblAdmin[1]->text(), QStringLiteral("$120.00"));
    QCOMPARE(tt.lblCont->text(), QStringLiteral("Fixed @"));
    QCOMPARE(tt.lblAdmin[2]->text(), QStringLiteral("$0.00"));
    QCOMPARE(tt.lblAdmin[3]->text(), QStringLiteral("($50.00)"));
    QCOMPARE(tt.lblEstTotal->text(), QStringLiteral("$285.00"));
    QCOMPARE(tt.txtSumm->toPlainText(), QStringLiteral("It's done"));
    // A discount is stored as a plain decimal and reads back as the same amount.
    QCOMPARE(tt.adminStoredTexts().last(), QStringLiteral("Fixed--50"));
    QCOMPARE(Money::parse(Admin::parseStored(tt.adminStoredTexts().last()).value),
             Money::parse("-50"));
}

void tst_pricing::popAdminWithFewDefaults() {
    Window t;
    TotalsTab& tt = *t.w.totals;
    tt.PopAdmin();
    QCOMPARE(tt.lblOver->text(), QStringLiteral("15%"));
    QCOMPARE(tt.lblPro->text(), QStringLiteral("15%"));
    QCOMPARE(tt.lblCont->text(), QStringLiteral("Fixed @"));
    QCOMPARE(tt.lblAdmin[2]->text(), QStringLiteral("$100.00"));
    QCOMPARE(tt.lblManage->text(), QStringLiteral("2%"));
    // A settings file with only two values in "Op".
    TestContext bare(TestContext::Setup::Empty);
    QDir().mkpath(bare.ctx.dataDir());
    bare.ctx.settings->set("Op", "Greet", "1");
    bare.ctx.settings->set("Op", "Overhead", "%-10");
    TotalsTab lone(bare.ctx);
    QCOMPARE(lone.adminStoredTexts(), QStringList(4, "Fixed-..."));
    lone.PopAdmin();
    QCOMPARE(lone.lblOver->text(), QStringLiteral("10%"));
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(lone.typeLabel(i)->text(), QStringLiteral("Fixed @"));
        QCOMPARE(lone.lblAdmin[i]->text(), QStringLiteral("$0.00"));
    }
    QCOMPARE(bare.prompt->count(), 0);
}

void tst_pricing::gridRowsAndSections() {
    Window t;
    const QString section50(50, QChar(u'é'));
    t.add(9, "Material", "Flashing", 1, "Drip edge", 10, "7.25");
    t.add(4, "Material", section50, 0, "O'Brien's shingles", 3, "45.50");
    t.add(2, "Material", section50, 0, "Nails", 1, "0.50");
    t.add(4, "Material", section50, 0, "O'Brien's shingles", 1, "45.50");
    QCOMPARE(t.gridNames(),
             QStringList({section50, "Nails", "O'Brien's shingles", "O'Brien's shingles",
                          "Total for " + section50, "     * * * * * * * * * *", "Flashing",
                          "Drip edge", "Total for Flashing", "     * * * * * * * * * *"}));
    // Section totals in the Sub Total column, ids only on lines.
    QTableView* g = t.w.lines->grdDataGrid;
    QCOMPARE(GridBinding::cell(g, 4, 7).toLongLong(), Money::parse("182.50")->raw());
    QVERIFY(GridBinding::cell(g, 0, 0).isNull());
    QVERIFY(GridBinding::cell(g, 1, 0).toInt() > 0);
    QCOMPARE(g->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Line Total"));
    QCOMPARE(g->model()->index(1, 5).data().toString(), QStringLiteral("$0.50"));
    QCOMPARE(g->model()->index(1, 5).data(Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
}

void tst_pricing::deletingLines() {
    Window t;
    t.add(1, "Unit_Item", "Roof", 0, "Shingle assembly", 2, "80.00");
    t.add(5, "Material", "Vents", 1, "Ridge vent", 1, "30.00");
    QCOMPARE(t.w.lines->lblSubTotals[5]->text(), QStringLiteral("$160.00"));
    // A No keeps the line and changes nothing.
    t.ctx.EstChanged = false;
    t.w.lines->grdDataGrid->selectRow(t.rowOf("Shingle assembly"));
    t.tc.prompt->answer(Answer::No);
    t.w.lines->cmdDeleteLine->click();
    QCOMPARE(t.tc.prompt->shown().last().title, QStringLiteral("Confirm delete"));
    QVERIFY(!t.ctx.EstChanged);
    QCOMPARE(t.rowOf("Roof"), 0);
    t.w.lines->grdDataGrid->selectRow(t.rowOf("Shingle assembly"));
    t.tc.prompt->answer(Answer::Yes);
    t.w.lines->cmdDeleteLine->click();
    QCOMPARE(t.w.lines->lblSubTotals[5]->text(), QStringLiteral("$0.00"));
    QCOMPARE(t.rowOf("Roof"), -1); // a section without lines leaves the grid
    QCOMPARE(count(t.ctx, t.ctx.TempDBConn, "TempSect"), 2);
    // A heading row has no line to delete.
    t.w.lines->grdDataGrid->selectRow(0);
    t.tc.prompt->clear();
    t.w.lines->cmdDeleteLine->click();
    QCOMPARE(t.tc.prompt->count(), 0);
    QCOMPARE(count(t.ctx, t.ctx.TempDBConn, "tpLineItems"), 1);

    // In an opened estimate the stored copy only goes with the next save.
    modData::exec(
        t.ctx, t.ctx.EstConn,
        "insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,LineTotal) "
        "values(5,1,'Vents','Ridge vent','Material',10000,'ea',300000,300000)");
    modData::exec(t.ctx, t.ctx.TempDBConn, "update tpLineItems set LineItemID=1");
    t.ctx.WorkMode = Mode::Open;
    modGrid::RePopGrid(t.ctx);
    t.refresh();
    t.w.lines->grdDataGrid->selectRow(t.rowOf("Ridge vent"));
    t.tc.prompt->answer(Answer::Yes);
    t.w.lines->cmdDeleteLine->click();
    QCOMPARE(count(t.ctx, t.ctx.EstConn, "LineItems"), 1);
    QCOMPARE(dump(t.ctx, t.ctx.TempDBConn, "PendingDeletes"), QStringList({"1|LineItems|1"}));
    QCOMPARE(t.w.lines->gridRowCount(), 0);
}

void tst_pricing::lineStatementErrors_data() {
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("procedures");
    // A line that cannot be stored leaves the grid as it was.
    QTest::newRow("line not stored") << "tpLineItems"
                                     << "add" << QStringList{"AddLineItem"};
    // The delete and the rebuild of the grid are one step: neither happens without the other.
    QTest::newRow("grid not rebuilt") << "EstiGrid"
                                      << "delete" << QStringList{"AddLineItem"};
    QTest::newRow("no such mode") << "EstiGrid"
                                  << "move" << QStringList{};
}

void tst_pricing::lineStatementErrors() {
    QFETCH(QString, dropped);
    QFETCH(QString, mode);
    QFETCH(QStringList, procedures);
    Window t;
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "10.00");
    modData::exec(t.ctx, t.ctx.TempDBConn, "drop table " + dropped);
    t.tc.prompt->clear();
    modGrid::AddLineItem(t.ctx, mode, 1, CurItemRecord());
    QStringList shown;
    for (const QString& text : t.tc.prompt->texts())
        shown << text.section(QStringLiteral(" in procedure "), 1);
    QStringList expected;
    for (const QString& p : procedures)
        expected << p + QStringLiteral(" of Module modGrid");
    QCOMPARE(shown, expected);
}

void tst_pricing::editByID() {
    Window t;
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "10.00");
    const QStringList before = dump(t.ctx, t.ctx.TempDBConn, "tpLineItems");
    // With no line selected the ID is asked for.
    t.w.lines->grdDataGrid->clearSelection();
    t.ctx.EstChanged = false;
    UiTest::whenModal([](QWidget* dlg) {
        auto* d = qobject_cast<frmEditID*>(dlg);
        QVERIFY(d);
        QVERIFY(d->txtID->text().isEmpty());
        d->txtID->setText("abc");
        d->cmdOk_Click();
        QVERIFY(d->isVisible()); // not a number: OK does nothing
        d->txtID->setText("999");
        d->cmdOk_Click();
    });
    t.w.lines->cmdEditLine->click();
    QCOMPARE(t.tc.prompt->lastText(), QStringLiteral("That is not a valid ID.  Please try again."));
    QCOMPARE(dump(t.ctx, t.ctx.TempDBConn, "tpLineItems"), before);
    // An ID that is no line changes nothing.
    QVERIFY(!t.ctx.EstChanged);
    // A typed ID of a line opens the picker on it.
    const int id = dump(t.ctx, t.ctx.TempDBConn, "tpLineItems").first().section('|', 0, 0).toInt();
    QString opened;
    UiTest::whenModal([&opened, id](QWidget* dlg) {
        auto* d = qobject_cast<frmEditID*>(dlg);
        QVERIFY(d);
        UiTest::whenModal([&opened](QWidget* p) {
            opened = qobject_cast<frmPickItem*>(p)->lblLineID->text();
            qobject_cast<frmPickItem*>(p)->reject();
        });
        d->txtID->setText(QString::number(id));
        d->cmdOk_Click();
    });
    t.w.lines->cmdEditLine->click();
    QCOMPARE(opened, QString::number(id));
}

void tst_pricing::editLine_data() {
    QTest::addColumn<QString>("quantity"); // typed in the picker; none cancels it
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("subTotal");
    QTest::newRow("picker cancelled") << "" << false << "$10.00";
    QTest::newRow("Okay on the quantity it had") << "1" << false << "$10.00";
    QTest::newRow("new quantity") << "3" << true << "$30.00";
    QTest::newRow("decimal quantity") << "2.25" << true << "$22.50";
}

// Edit Line opens the picker on the selected line at once.
void tst_pricing::editLine() {
    QFETCH(QString, quantity);
    QFETCH(bool, changed);
    QFETCH(QString, subTotal);
    Window t;
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "10.00");
    t.w.lines->grdDataGrid->selectRow(t.rowOf("Shingles"));
    const QString id = QString::number(t.w.lines->selectedLineID());
    t.ctx.EstChanged = false;
    UiTest::whenModal([quantity, id](QWidget* dlg) {
        auto* p = qobject_cast<frmPickItem*>(dlg);
        QVERIFY(p);
        QCOMPARE(p->lblLineID->text(), id);
        QCOMPARE(p->lblItemName->text(), QStringLiteral("Shingles"));
        if (quantity.isEmpty()) {
            p->reject();
            return;
        }
        p->txtItemQuan->setText(quantity);
        p->cmdSelect_Click();
    });
    t.w.lines->cmdEditLine->click();
    QCOMPARE(t.ctx.EstChanged, changed);
    QCOMPARE(t.w.mnuEditUndo->isEnabled(), changed);
    QCOMPARE(t.w.totals->lblSubTotal->text(), subTotal);
    QCOMPARE(t.w.lines->lblSubTotals[0]->text(), subTotal);
    QCOMPARE(t.rowOf("Shingles"), 1);
}

void tst_pricing::adminEditDialog() {
    Window t;
    t.add(1, "Material", "Roof", 0, "Shingles", 1, "100.00");
    TotalsTab& tt = *t.w.totals;
    t.ctx.EstChanged = false;
    UiTest::whenModal([](QWidget* dlg) {
        auto* d = qobject_cast<frmAdminEdit*>(dlg);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Admin Amounts - Contingency"));
        QVERIFY(d->Option2->isChecked());
        QCOMPARE(d->Text1->text(), QStringLiteral("100"));
        d->Text1->setText("lots");
        d->Command1_Click();
        QVERIFY(d->isVisible());
        d->Option1->setChecked(true);
        d->Text1->setText("12.5");
        d->Command1_Click();
    });
    Q_EMIT tt.frAdminClicked(2);
    QCOMPARE(t.tc.prompt->texts(), QStringList({"This field must be a number."}));
    QCOMPARE(tt.lblCont->text(), QStringLiteral("12.5%"));
    QCOMPARE(tt.lblAdmin[2]->text(), QStringLiteral("$12.50"));
    QVERIFY(t.ctx.EstChanged);
    // Cancelling changes nothing.
    t.ctx.EstChanged = false;
    UiTest::rejectNextModal();
    Q_EMIT tt.frAdminClicked(0);
    QVERIFY(!t.ctx.EstChanged);
}

void tst_pricing::summaryAndTermsChanges_data() {
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("loading");
    QTest::addColumn<bool>("changed");
    QTest::newRow("typed in an estimate in work") << true << false << true;
    QTest::newRow("put in while loading") << true << true << false;
    QTest::newRow("typed before the estimate is started") << false << false << false;
}

void tst_pricing::summaryAndTermsChanges() {
    QFETCH(bool, started);
    QFETCH(bool, loading);
    QFETCH(bool, changed);
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstNew->trigger();
    if (started) {
        const QStringList v = {"Mary", "Smith", "1 Elm St", "Town, MT 1", "555-1234", "", ""};
        for (int i = 0; i < 7; ++i)
            w.owner->txtName[i]->setText(v[i]);
        w.owner->cmbEstType->setEditText("Reroof");
        w.owner->cmdStartEst->click();
        QVERIFY(w.estimateStarted());
    }
    for (QTextEdit* box : {w.totals->txtSumm, w.totals->txtTerms}) {
        tc.ctx.EstChanged = false;
        w.SaveStatus(false);
        tc.ctx.Loading = loading;
        box->setPlainText("Half down");
        tc.ctx.Loading = false;
        QCOMPARE(tc.ctx.EstChanged, changed);
        QCOMPARE(w.mnuEstSave->isEnabled(), changed);
    }
}

void tst_pricing::pickerAddsALine() {
    Window t;
    modData::exec(t.ctx, t.ctx.TempDBConn,
                  "insert into TempSect(SecDesc,SecOrder) values('Shingles',0)");
    UiTest::whenModal([](QWidget* dlg) {
        auto* p = qobject_cast<frmPickItem*>(dlg);
        QVERIFY(p);
        p->PickGrid[0]->selectRow(0);
        p->PickGrid[0]->setCurrentIndex(p->PickGrid[0]->model()->index(0, 0));
        p->PickGrid_DblClick(0);
        p->txtItemQuan->setText("3");
        p->cmbSection->setCurrentIndex(p->cmbSection->findText("Shingles"));
        p->cmdSelect_Click();
    });
    t.w.lines->cmdAddNewLine->click();
    QCOMPARE(count(t.ctx, t.ctx.TempDBConn, "tpLineItems"), 1);
    QCOMPARE(t.gridNames().size(), 4);
    QVERIFY(t.ctx.EstChanged);
    QVERIFY(t.w.totals->lblSubTotal->text() != QStringLiteral(".00"));
}

QTEST_MAIN(tst_pricing)
#include "tst_pricing.moc"
