#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "catalogue/CostItems.h"
#include "catalogue/TakeoffRules.h"
#include "catalogue/forms/RuleBox.h"
#include "catalogue/forms/frmAddLabMat.h"
#include "catalogue/forms/frmAddMat.h"
#include "catalogue/forms/frmLabor.h"
#include "catalogue/forms/frmPerc.h"
#include "catalogue/forms/frmUnitItem.h"
#include "common/forms/GridBinding.h"
#include "pricing/Sections.h"
#include "pricing/forms/frmAddSection.h"
#include "pricing/forms/frmPickItem.h"
#include "pricing/forms/frmSortSections.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

// Works a catalogue window while a table it needs is missing.
using BrokenCatalogue = std::function<void(TestContext&)>;
Q_DECLARE_METATYPE(BrokenCatalogue)

namespace {

void drop(AppContext& ctx, const char* table) {
    modData::exec(ctx, ctx.CostConn, QStringLiteral("drop table %1").arg(QLatin1String(table)));
}

// Selects the grid row whose column 0 holds `id`; false when there is none.
bool selectID(QTableView* grid, std::int32_t id) {
    for (int r = 0; r < GridBinding::rowCount(grid); ++r)
        if (GridBinding::cell(grid, r, 0).toInt() == id) {
            grid->selectRow(r);
            return true;
        }
    return false;
}

QStringList column(QTableView* grid, int col) {
    QStringList out;
    for (int r = 0; r < GridBinding::rowCount(grid); ++r)
        out << GridBinding::cell(grid, r, col).toString();
    return out;
}

int count(AppContext& ctx, const QString& conn, const QString& sql, const QVariantList& p = {}) {
    return modData::scalar(ctx, conn, sql, p).toInt();
}

void addLine(AppContext& ctx, const QString& sect, int secOrder) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("insert into tplineitems(sect,secorder,name,itemtable,unit,qty,"
                                 "cost,linetotal) values(?,?,'n','Material','ea',1,0,0)"),
                  {sect, secOrder});
}

// Ticks the lineal run named `name` in a rule box.
void tick(RuleBox& r, const QString& name) {
    for (QCheckBox* box : r.chkRuleKinds)
        if (box->text() == name)
            box->setChecked(true);
}

QStringList listTexts(QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

} // namespace

class tst_catalogue_forms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void costItemTakeoffRule();
    void unitItemTakeoffRule();
    void failedRuleStoresNothingTwice_data();
    void failedRuleStoresNothingTwice();

    void browserOpensFromTheMenu();
    void newFeeItemHasFeePreselected();
    void editKeepsSku();
    void costItemChecks_data();
    void costItemChecks();
    void apostropheCategoryIsFilterable();
    void unitItemsListed();
    void deleteUnitItem();
    void unitItemForm();
    void laborFormsFromTheBrowser();
    void failureNamesProcedureAndForm_data();
    void failureNamesProcedureAndForm();
    void laborDefaults();
    void laborRounding_data();
    void laborRounding();
    void percentage();
    void pickerTotals_data();
    void pickerTotals();
    void pickerNeedsASection();
    void pickerAddThenCancelIsNoSection();
    void pickerCloseBoxCancels();
    void pickerEditsALine();
    void pickerAddsNewItems();
    void sortSections();
    void searchFindsItems_data();
    void searchFindsItems();
    void namesShowWhole();
    void savedItemIsSelected();
    void pickerOpensOverTheMainWindow();
};

void tst_catalogue_forms::browserOpensFromTheMenu() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    QString caption;
    int tabs = 0;
    UiTest::whenModal([&](QWidget* d) {
        caption = d->windowTitle();
        tabs = d->findChild<QTabWidget*>("SSTab1")->count();
        d->findChild<QPushButton*>("cmdClose")->click();
    });
    w.mnuSetupPrices->trigger();
    QCOMPARE(caption, QStringLiteral("Cost Tables"));
    QCOMPARE(tabs, 6);
}

void tst_catalogue_forms::newFeeItemHasFeePreselected() {
    TestContext tc;
    frmUnitItem b(tc.ctx);
    b.SSTab1->setCurrentIndex(4);
    QString type;
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmAddMat*>(d);
        type = f->cmbType->currentText();
        f->cmbCat->setEditText("Permit's");
        f->txtFields[1]->setText("City permit");
        f->cmbUnit->setEditText("ea");
        f->txtFields[3]->setText("150");
        f->cmdSave_Click();
    });
    b.cmdItem_Click();
    QCOMPARE(type, QStringLiteral("Fee"));
    QVERIFY(column(b.dgCost[4], 2).contains("City permit"));
    QCOMPARE(b.cmbCategory->currentText(), QStringLiteral("All"));
}

void tst_catalogue_forms::editKeepsSku() {
    TestContext tc;
    const auto before = *CostItems::Load(tc.ctx, 1);
    QVERIFY(!before.sku.isEmpty());
    frmAddMat f(tc.ctx, CostEdit::edit(1), "Material");
    QCOMPARE(f.txtFields[4]->text(), before.sku);
    f.txtFields[1]->setText("Renamed shingles");
    f.cmbManuf->setEditText("O'Hara & Sons");
    f.cmdSave_Click();
    QCOMPARE(f.saved(), std::optional<std::int32_t>(1));
    const auto after = *CostItems::Load(tc.ctx, 1);
    QCOMPARE(after.sku, before.sku);
    QCOMPARE(after.amount, before.amount);
    QCOMPARE(after.manufacturer, QStringLiteral("O'Hara & Sons"));
    QCOMPARE(after.costname, QStringLiteral("Renamed shingles"));
}

void tst_catalogue_forms::costItemChecks_data() {
    QTest::addColumn<QString>("cat");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("no category") << ""
                                 << "ea"
                                 << "n"
                                 << "1"
                                 << "Category field cannot be blank.";
    QTest::newRow("no unit") << "c"
                             << ""
                             << "n"
                             << "1"
                             << "Unit field cannot be blank.";
    QTest::newRow("no name") << "c"
                             << "ea"
                             << ""
                             << "1"
                             << "Name field cannot be blank.";
    QTest::newRow("no amount") << "c"
                               << "ea"
                               << "n"
                               << ""
                               << "Amount field cannot be blank.";
    QTest::newRow("amount text") << "c"
                                 << "ea"
                                 << "n"
                                 << "12,5x"
                                 << "This field must be a number.";
    QTest::newRow("long category") << QString(16, 'c') << "ea"
                                   << "n"
                                   << "1"
                                   << "This field cannot be any longer than 15 characters.";
    QTest::newRow("long unit") << "c" << QString(11, 'u') << "n"
                               << "1"
                               << "This field cannot be any longer than 10 characters.";
}

void tst_catalogue_forms::costItemChecks() {
    QFETCH(QString, cat);
    QFETCH(QString, unit);
    QFETCH(QString, name);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    TestContext tc;
    const int items = count(tc.ctx, tc.ctx.CostConn, "select count(*) from costitem");
    frmAddMat f(tc.ctx, CostEdit::add(), "Material");
    f.cmbCat->setEditText(cat);
    f.cmbUnit->setEditText(unit);
    f.txtFields[1]->setText(name);
    f.txtFields[3]->setText(amount);
    f.cmdSave_Click();
    QCOMPARE(tc.prompt->lastText(), message);
    QVERIFY(!f.saved());
    QCOMPARE(count(tc.ctx, tc.ctx.CostConn, "select count(*) from costitem"), items);
}

void tst_catalogue_forms::apostropheCategoryIsFilterable() {
    TestContext tc;
    CostItems::CostItem c{0,  "Equip", "Lift's", "Boom lift",        "",
                          "", "day",   "",       Money::fromCents(1)};
    QVERIFY(CostItems::Save(tc.ctx, c) > 0);
    frmUnitItem b(tc.ctx);
    b.SSTab1->setCurrentIndex(3);
    const int i = b.cmbCategory->findText("Lift's");
    QVERIFY(i > 0);
    b.cmbCategory->setCurrentIndex(i);
    b.FilterGrid();
    QCOMPARE(column(b.dgCost[3], 2), QStringList{"Boom lift"});
    QVERIFY(tc.prompt->texts().isEmpty());
}

void tst_catalogue_forms::unitItemsListed() {
    TestContext tc;
    modData::exec(tc.ctx, tc.ctx.CostConn,
                  "insert into costunit(mlname,mlcat,mlunit,mldesc) values('Bare','x','ea','')");
    frmUnitItem b(tc.ctx);
    b.SSTab1->setCurrentIndex(frmUnitItem::UnitTab);
    const QStringList names = column(b.dgCost[5], 2);
    QVERIFY(!names.isEmpty());
    QVERIFY(!names.contains("Bare"));
    // A category choice leaves every unit item listed.
    b.cmbCategory->setCurrentIndex(b.cmbCategory->count() - 1);
    b.FilterGrid();
    QCOMPARE(column(b.dgCost[5], 2), names);
}

void tst_catalogue_forms::deleteUnitItem() {
    TestContext tc;
    frmUnitItem b(tc.ctx);
    b.SSTab1->setCurrentIndex(frmUnitItem::UnitTab);
    QVERIFY(selectID(b.dgCost[5], 1));
    tc.prompt->answer(Prompt::Answer::No);
    b.cmdDeleteItem_Click();
    QVERIFY(count(tc.ctx, tc.ctx.CostConn, "select count(*) from unititems where matlaborid=1") >
            0);
    QVERIFY(selectID(b.dgCost[5], 1));
    tc.prompt->answer(Prompt::Answer::Yes);
    b.cmdDeleteItem_Click();
    QCOMPARE(tc.prompt->lastText(),
             QStringLiteral("Are you sure you want to delete this cost item?"));
    QCOMPARE(count(tc.ctx, tc.ctx.CostConn, "select count(*) from unititems where matlaborid=1"),
             0);
    QCOMPARE(count(tc.ctx, tc.ctx.CostConn, "select count(*) from costunit where id=1"), 0);
    QVERIFY(!column(b.dgCost[5], 0).contains("1"));
}

void tst_catalogue_forms::unitItemForm() {
    TestContext tc;
    const auto a = CostItems::Save(
        tc.ctx, {0, "Material", "T", "Forty-five fifty", "", "", "ea", "", Money::fromCents(4550)});
    const auto b = CostItems::Save(
        tc.ctx, {0, "Material", "T", "Twelve", "", "", "ea", "", Money::fromCents(1200)});
    frmAddLabMat f(tc.ctx, CostEdit::add(), {});
    QCOMPARE(f.Label2->text(), QStringLiteral(".00"));
    f.cmdAddItem_Click();
    QVERIFY(!f.fraSelectItem->isHidden());
    QCOMPARE(f.txtQty->text(), QStringLiteral("1"));
    for (auto [id, qty] : {std::pair{a, "3"}, std::pair{b, "0.25"}}) {
        f.cmdAddItem_Click();
        QVERIFY(selectID(f.dgCost[0], id));
        f.txtQty->setText(qty);
        f.cmSelectItem_Click();
    }
    QVERIFY(f.fraSelectItem->isHidden());
    QCOMPARE(f.Label2->text(), QStringLiteral("$139.50"));
    // A quantity changed before saving changes that component and keeps the other.
    f.DataGrid1->selectRow(1);
    UiTest::whenModal([](QWidget* d) {
        d->findChild<QLineEdit*>("txtQty")->setText("1.5");
        d->findChild<QPushButton*>("cmdSave")->click();
    });
    f.cmdEditItem_Click();
    QCOMPARE(GridBinding::rowCount(f.DataGrid1), 2);
    QCOMPARE(f.Label2->text(), QStringLiteral("$154.50"));
    f.txtItem->setText("Ridge cap's set");
    f.cmbCategory->setEditText("Caps");
    f.cmbUnit->setEditText("lf");
    f.cmdSave_Click();
    const auto id =
        modData::scalar(tc.ctx, tc.ctx.CostConn, "select max(id) from costunit").toInt();
    QCOMPARE(f.saved(), std::optional<std::int32_t>(id));
    QCOMPARE(CostItems::LoadUnit(tc.ctx, id)->amount, Money::fromCents(15450));
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.CostConn,
                             "select itemqty from unititems where matlaborid=? and itemid=?",
                             {id, b})
                 .toDouble(),
             1.5);

    // Raising the material raises the unit item, and the form opened again shows it.
    auto m = *CostItems::Load(tc.ctx, b);
    m.amount = Money::fromCents(2000);
    CostItems::Save(tc.ctx, m);
    frmAddLabMat e(tc.ctx, CostEdit::edit(id), {"Ridge cap's set", "Caps", "lf", ""});
    QCOMPARE(e.Label2->text(), QStringLiteral("$166.50"));
    // A stored component deleted and then Cancel: it stays deleted.
    e.DataGrid1->selectRow(0);
    tc.prompt->answer(Prompt::Answer::Yes);
    e.cmdDeleteItem_Click();
    e.cmdCancel_Click();
    QCOMPARE(
        count(tc.ctx, tc.ctx.CostConn, "select count(*) from unititems where matlaborid=?", {id}),
        1);
    QVERIFY(!e.saved());
}

void tst_catalogue_forms::laborFormsFromTheBrowser() {
    TestContext tc;
    frmUnitItem b(tc.ctx);
    b.SSTab1->setCurrentIndex(1);
    auto opened = [&](std::int32_t id) {
        QString name;
        UiTest::whenModal([&](QWidget* d) {
            name = d->objectName();
            if (auto* l = qobject_cast<frmLabor*>(d)) {
                QCOMPARE(l->txtLabor[0]->text(), QStringLiteral("22"));
                QCOMPARE(l->txtLabor[6]->text(), QStringLiteral("$37.98"));
            }
            qobject_cast<QDialog*>(d)->reject();
        });
        if (!selectID(b.dgCost[1], id))
            return QStringLiteral("no row");
        b.cmdEdit_Click();
        return name;
    };
    QCOMPARE(opened(15), QStringLiteral("frmLabor"));
    QCOMPARE(opened(17), QStringLiteral("frmAddMat"));

    // Add on the Labor tab opens the rate builder, which can hand over to the plain form; that
    // one adds a new item, also right after an edit.
    const auto edited = *CostItems::Load(tc.ctx, 17);
    QString type, id;
    std::optional<std::int32_t> added;
    UiTest::whenModal([&](QWidget* d) {
        QCOMPARE(d->objectName(), QStringLiteral("frmLabor"));
        UiTest::whenModal([&](QWidget* m) {
            auto* f = qobject_cast<frmAddMat*>(m);
            type = f->cmbType->currentText();
            id = f->txtFields[0]->text();
            f->cmbCat->setEditText("Crew");
            f->txtFields[1]->setText("Day crew");
            f->cmbUnit->setEditText("day");
            f->txtFields[3]->setText("900");
            f->cmdSave_Click();
            added = f->saved();
        });
        qobject_cast<frmLabor*>(d)->cmdNonEmployee->click();
    });
    b.cmdItem_Click();
    QCOMPARE(type, QStringLiteral("Labor"));
    QCOMPARE(id, QString());
    QVERIFY(added && *added != 17);
    QCOMPARE(CostItems::Load(tc.ctx, 17)->costname, edited.costname);
    QVERIFY(column(b.dgCost[1], 2).contains("Day crew"));
}

void tst_catalogue_forms::failureNamesProcedureAndForm_data() {
    QTest::addColumn<BrokenCatalogue>("scenario");
    QTest::addColumn<QString>("where");
    QTest::newRow("cost item form") << BrokenCatalogue([](TestContext& tc) {
        drop(tc.ctx, "costitem");
        frmAddMat f(tc.ctx, CostEdit::add(), "Fee");
        QVERIFY(!f.saved());
    }) << "in procedure Form_Load of Form frmAddMat";
    QTest::newRow("unit item form") << BrokenCatalogue([](TestContext& tc) {
        frmAddLabMat f(tc.ctx, CostEdit::add(), {});
        f.txtItem->setText("Kit");
        drop(tc.ctx, "costunit");
        f.cmdSave_Click();
        QVERIFY(!f.saved());
    }) << "in procedure cmdSave_Click of Form frmAddLabMat";
    QTest::newRow("rate builder") << BrokenCatalogue([](TestContext& tc) {
        frmLabor f(tc.ctx, CostEdit::edit(15));
        drop(tc.ctx, "laborcost");
        f.cmdSave_Click();
        QVERIFY(!f.saved());
    }) << "in procedure cmdSave_Click of Form frmLabor";
    QTest::newRow("browser delete") << BrokenCatalogue([](TestContext& tc) {
        frmUnitItem b(tc.ctx);
        b.SSTab1->setCurrentIndex(frmUnitItem::UnitTab);
        QVERIFY(selectID(b.dgCost[5], 1));
        drop(tc.ctx, "unititems");
        tc.prompt->answer(Prompt::Answer::Yes);
        b.cmdDeleteItem_Click();
    }) << "in procedure cmdDeleteItem_Click of Form frmUnitItem";
}

void tst_catalogue_forms::failureNamesProcedureAndForm() {
    QFETCH(BrokenCatalogue, scenario);
    QFETCH(QString, where);
    TestContext tc;
    scenario(tc);
    QVERIFY2(tc.prompt->lastText().startsWith("Error ") && tc.prompt->lastText().endsWith(where),
             qPrintable(tc.prompt->lastText()));
}

void tst_catalogue_forms::laborDefaults() {
    TestContext tc;
    auto& s = *tc.ctx.settings;
    s.set("Op", "Fringe", "10");
    s.set("Op", "WorkComp", "12.5");
    s.set("Op", "EmpTaxes", "7.65");
    s.set("Op", "OtherCosts", "0");
    frmLabor f(tc.ctx, CostEdit::add());
    QVERIFY(!f.txtLabor[0]->isEnabled());
    f.cmdOkay_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("Enter job title"));
    f.txtJobTitle->setText("Roofer's mate");
    f.cmdOkay_Click();
    // The title shown is read back from the item Okay made.
    QCOMPARE(f.lblJobTitle->text(), QStringLiteral("Roofer's mate"));
    QVERIFY(!f.saved());
    f.txtLabor[0]->setText("20.00");
    f.ComputeDefault();
    QStringList burdens;
    for (int i = 1; i <= 4; ++i)
        burdens << f.txtLabor[i]->text();
    QCOMPARE(burdens, (QStringList{"2", "2.5", "1.53", "0"}));
    QCOMPARE(f.txtLabor[6]->text(), QStringLiteral("$26.03"));
    // A burden from a percentage typed once; the stored default stays.
    UiTest::whenModal([](QWidget* d) {
        auto* p = qobject_cast<frmPerc*>(d);
        p->txtPercentage->setText("20");
        p->cmdOkay->click();
    });
    f.lblPerct_Click(0);
    QCOMPARE(f.txtLabor[1]->text(), QStringLiteral("4"));
    QCOMPARE(f.txtLabor[6]->text(), QStringLiteral("$28.03"));
    f.ComputeDefault();
    QCOMPARE(f.txtLabor[1]->text(), QStringLiteral("2"));
    f.txtLabor[5]->setText("Isn't union");
    f.cmdSave_Click();
    QVERIFY(f.saved());
    const auto item = *CostItems::Load(tc.ctx, *f.saved());
    QCOMPARE(item.costname, QStringLiteral("Roofer's mate"));
    QCOMPARE(item.amount, Money::fromCents(2603));
    QCOMPARE(item.descrip, QStringLiteral("Isn't union"));
}

void tst_catalogue_forms::laborRounding_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("1.23456") << "1.23456"
                             << "1.235";
    QTest::newRow("0.0625") << "0.0625"
                            << "0.062";
    QTest::newRow("0.1875") << "0.1875"
                            << "0.188";
}

void tst_catalogue_forms::laborRounding() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestContext tc;
    frmLabor f(tc.ctx, CostEdit::edit(0));
    f.txtLabor[0]->setText("10");
    f.txtLabor[2]->setText(typed);
    f.ComputeTotal();
    QCOMPARE(f.txtLabor[2]->text(), kept);
}

void tst_catalogue_forms::percentage() {
    TestContext tc;
    frmPerc p(tc.ctx, "Fringe %", "18", 5.0f);
    QCOMPARE(p.lblTotal->text(), QStringLiteral(".00"));
    p.cmdCompute_Click();
    QCOMPARE(p.lblTotal->text(), QStringLiteral("0.9"));
    p.txtPercentage->setText("five");
    p.cmdOkay_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("This field must be a number."));
    QVERIFY(p.result().Cancelled);
}

void tst_catalogue_forms::pickerTotals_data() {
    QTest::addColumn<QString>("qty");
    QTest::addColumn<qint64>("stored"); // ten-thousandths
    QTest::addColumn<qint64>("cents");
    // The quantity is kept as typed, and the total is that quantity priced.
    QTest::newRow("a half") << "2.5" << qint64(25000) << qint64(2500);
    QTest::newRow("two decimals") << "8.36" << qint64(83600) << qint64(8360);
    QTest::newRow("whole") << "3" << qint64(30000) << qint64(3000);
}

void tst_catalogue_forms::pickerTotals() {
    QFETCH(QString, qty);
    QFETCH(qint64, stored);
    QFETCH(qint64, cents);
    TestContext tc;
    tc.createTempDB();
    Sections::Add(tc.ctx, "Tear-off");
    Sections::Add(tc.ctx, "Owner's extras");
    frmPickItem p(tc.ctx, false, 0);
    QVERIFY(p.frSelect->isHidden());
    QVERIFY(selectID(p.PickGrid[0], 1));
    p.PickGrid_DblClick(0);
    QVERIFY(!p.frSelect->isHidden());
    QCOMPARE(p.lblItemTable->text(), QStringLiteral("Material"));
    p.txtItemQuan->setText(qty);
    p.txtItemPrice->setText("10");
    QCOMPARE(p.lblItemTotal->text(), Money::fromCents(cents).toCurrency());
    p.cmbSection->setCurrentIndex(1);
    p.cmdSelect_Click();
    QVERIFY(!p.PickCancel());
    const std::optional<CurItemRecord> c = p.chosen();
    QVERIFY(c);
    QVERIFY(c->Picked);
    QCOMPARE(c->Qty.raw(), stored);
    QCOMPARE(c->LineTotal, Money::fromCents(cents));
    QCOMPARE(c->Cost, Money::fromCents(1000));
    QCOMPARE(c->Sect, QStringLiteral("Owner's extras"));
    QCOMPARE(c->SecOrder, 1);
    QCOMPARE(c->ItemID, 1);
}

void tst_catalogue_forms::pickerNeedsASection() {
    TestContext tc;
    tc.createTempDB();
    frmPickItem p(tc.ctx, false, 0);
    p.SSTab1->setCurrentIndex(frmPickItem::UnitTab);
    QVERIFY(selectID(p.PickGrid[5], 1));
    p.PickGrid_DblClick(5);
    QCOMPARE(p.lblItemTable->text(), QStringLiteral("Unit_Item"));
    p.txtItemQuan->setText("1");
    p.cmdSelect_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("You must select a selection."));
    QVERIFY(p.PickCancel());
    QVERIFY(!p.chosen());
    QVERIFY(!p.frSelect->isHidden());
}

void tst_catalogue_forms::pickerAddThenCancelIsNoSection() {
    TestContext tc;
    tc.createTempDB();
    frmPickItem p(tc.ctx, false, 0);
    QCOMPARE(p.cmbSection->count(), 1); // only "Add"
    UiTest::rejectNextModal();
    p.cmbSection->setCurrentIndex(0);
    p.cmbSection_Click(0);
    QCOMPARE(p.cmbSection->currentIndex(), -1);

    // A name typed in the section dialog makes the section and selects it.
    UiTest::whenModal([](QWidget* d) {
        auto* s = qobject_cast<frmAddSection*>(d);
        s->cmbSection->setEditText("Gutters & downspouts");
        s->cmdSave_Click();
    });
    p.cmbSection_Click(0);
    QCOMPARE(p.cmbSection->currentText(), QStringLiteral("Gutters & downspouts"));
    QCOMPARE(Sections::List(tc.ctx).size(), 1);
    QVERIFY(Sections::SharedNames(tc.ctx).contains("Gutters & downspouts"));

    frmAddSection s(tc.ctx);
    s.cmbSection->setEditText("Add");
    s.cmdSave_Click();
    QVERIFY(s.section().isEmpty());
    QCOMPARE(Sections::List(tc.ctx).size(), 1);
}

void tst_catalogue_forms::pickerCloseBoxCancels() {
    TestContext tc;
    tc.createTempDB();
    Sections::Add(tc.ctx, "Tear-off");
    frmPickItem p(tc.ctx, false, 0);
    p.show();
    // An item filled in completely is still no line when the close box is used.
    QVERIFY(selectID(p.PickGrid[0], 1));
    p.PickGrid_DblClick(0);
    p.txtItemQuan->setText("2");
    p.cmbSection->setCurrentIndex(0);
    p.close();
    QVERIFY(p.PickCancel());
    QVERIFY(!p.chosen());
}

void tst_catalogue_forms::pickerEditsALine() {
    TestContext tc;
    tc.createTempDB();
    Sections::Add(tc.ctx, "A");
    Sections::Add(tc.ctx, "B");
    modData::exec(tc.ctx, tc.ctx.TempDBConn,
                  "insert into tplineitems(itemid,sect,secorder,name,itemtable,unit,qty,cost,"
                  "linetotal) values(4,'B',1,'Felt','Material','roll',30000,280000,840000)");
    const int line = modData::scalar(tc.ctx, tc.ctx.TempDBConn,
                                     "select max(autoid) from "
                                     "tplineitems")
                         .toInt();
    frmPickItem p(tc.ctx, true, line);
    QCOMPARE(p.txtItemQuan->text(), QStringLiteral("3"));
    QCOMPARE(p.txtItemPrice->text(), QStringLiteral("28"));
    QCOMPARE(p.cmbSection->currentText(), QStringLiteral("B"));
    QCOMPARE(p.lblItemName->text(), QStringLiteral("Felt"));
    // The line's total as it stands.
    QCOMPARE(p.lblItemTotal->text(), QStringLiteral("$84.00"));
    p.txtItemQuan->setText("x");
    p.cmdSelect_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("This field must be a number."));
    QVERIFY(!p.chosen());
    p.txtItemQuan->setText("4");
    p.cmdSelect_Click();
    const std::optional<CurItemRecord> c = p.chosen();
    QVERIFY(c);
    QVERIFY(c->Picked);
    QCOMPARE(c->LineTotal, Money::fromCents(11200));
    QCOMPARE(c->ItemID, 4);
}

void tst_catalogue_forms::pickerAddsNewItems() {
    TestContext tc;
    tc.createTempDB();
    const int units = count(tc.ctx, tc.ctx.CostConn, "select count(*) from costunit");
    frmPickItem p(tc.ctx, false, 0);
    // A cost item of the tab's type, listed at once.
    p.SSTab1->setCurrentIndex(4);
    QString type, id;
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmAddMat*>(d);
        type = f->cmbType->currentText();
        id = f->txtFields[0]->text();
        f->cmbCat->setEditText("Disposal");
        f->txtFields[1]->setText("Dump fee");
        f->cmbUnit->setEditText("load");
        f->txtFields[3]->setText("85");
        f->cmdSave_Click();
    });
    p.cmdAddItem_Click();
    QCOMPARE(type, QStringLiteral("Fee"));
    QCOMPARE(id, QString());
    QVERIFY(column(p.PickGrid[4], 2).contains("Dump fee"));

    // A new unit item, listed at once.
    p.SSTab1->setCurrentIndex(frmPickItem::UnitTab);
    QString item;
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmAddLabMat*>(d);
        item = f->txtItem->text();
        f->cmdAddItem_Click();
        QVERIFY(selectID(f->dgCost[0], 1));
        f->cmSelectItem_Click();
        f->txtItem->setText("Patch kit");
        f->cmdSave_Click();
    });
    p.cmdAddItem_Click();
    QCOMPARE(item, QString());
    QCOMPARE(count(tc.ctx, tc.ctx.CostConn, "select count(*) from costunit"), units + 1);
    QVERIFY(column(p.PickGrid[5], 2).contains("Patch kit"));
}

void tst_catalogue_forms::sortSections() {
    TestContext tc;
    tc.createTempDB();
    for (const char* s : {"A", "B", "C"})
        addLine(tc.ctx, s, Sections::Add(tc.ctx, s));
    auto orders = [&] {
        QStringList out;
        for (const auto& s : Sections::List(tc.ctx))
            out << s.name;
        return out;
    };
    {
        frmSortSections f(tc.ctx);
        f.List1_Click(2);
        QCOMPARE(f.Combo1->count(), 3);
        QCOMPARE(f.lblItem->text(), QStringLiteral("C"));
        f.Combo1->setCurrentText("0");
        f.cmdOkay_Click();
        QCOMPARE(listTexts(f.List1), (QStringList{"C", "B", "A"}));
        f.show();
        f.close(); // the close box counts as Cancel
    }
    QCOMPARE(orders(), (QStringList{"A", "B", "C"}));
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn,
                   "select count(*) from sqlite_master where name like 'sectsort'"),
             0);
    frmSortSections f(tc.ctx);
    f.List1_Click(2);
    f.Combo1->setCurrentText("0");
    f.cmdOkay_Click();
    f.cmdCommit_Click();
    QVERIFY(f.committed());
    QCOMPARE(orders(), (QStringList{"C", "B", "A"}));
    QCOMPARE(count(tc.ctx, tc.ctx.TempDBConn, "select secorder from tplineitems where sect='C'"),
             0);
}

void tst_catalogue_forms::searchFindsItems_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("part of a name") << "archit" << QStringList{"Architectural shingles, 30-year"};
    QTest::newRow("SKU") << "rl-ar30" << QStringList{"Architectural shingles, 30-year"};
    QTest::newRow("manufacturer") << "northfork"
                                  << QStringList{"#15 felt paper", "Ice and water shield",
                                                 "Synthetic underlayment"};
    QTest::newRow("description") << "polyurethane" << QStringList{"Roofing sealant"};
    QTest::newRow("two words, anywhere in the item")
        << "  VENT  ridge " << QStringList{"Ridge vent, 4 ft"};
    QTest::newRow("two words in two fields")
        << "shingles weathered" << QStringList{"Architectural shingles, 30-year"};
    QTest::newRow("accented name typed without accents")
        << "cedre zoe" << QStringList{"Zoë's cèdre shakes"};
    QTest::newRow("accents typed, none stored") << "ÁRCHÎT"
                                                << QStringList{"Architectural shingles, "
                                                               "30-year"};
    QTest::newRow("one word missing") << "ridge zzz" << QStringList{};
    QTest::newRow("nothing typed lists all") << "" << QStringList{};
}

void tst_catalogue_forms::searchFindsItems() {
    QFETCH(QString, typed);
    QFETCH(QStringList, names);
    TestContext tc;
    tc.createTempDB();
    CostItems::CostItem cedar;
    cedar.costtype = "Material";
    cedar.cat = "Shakes";
    cedar.costname = QString::fromUtf8("Zoë's cèdre shakes");
    cedar.unit = "sq";
    cedar.amount = Money::fromCents(52000);
    QVERIFY(CostItems::Save(tc.ctx, cedar) > 0);
    const int all =
        count(tc.ctx, tc.ctx.CostConn, "select count(*) from costitem where costtype='Material'");

    // The browser and the picker search alike, on every keystroke.
    frmUnitItem b(tc.ctx);
    frmPickItem p(tc.ctx, false, 0);
    for (auto [box, grid] :
         {std::pair{b.txtSearch, b.dgCost[0]}, std::pair{p.txtSearch, p.PickGrid[0]}}) {
        box->clear();
        QTest::keyClicks(box, typed);
        if (typed.isEmpty())
            QCOMPARE(GridBinding::rowCount(grid), all);
        else
            QCOMPARE(column(grid, 2), names);
        // The search narrows the chosen category further; clearing it shows the whole tab.
        box->clear();
        QCOMPARE(GridBinding::rowCount(grid), all);
    }
    b.cmbCategory->setCurrentText("Underlayment");
    b.FilterGrid();
    b.txtSearch->setText("ice");
    QCOMPARE(column(b.dgCost[0], 2), QStringList{"Ice and water shield"});
    b.txtSearch->setText("architectural");
    QCOMPARE(GridBinding::rowCount(b.dgCost[0]), 0);
}

void tst_catalogue_forms::namesShowWhole() {
    TestContext tc;
    CostItems::CostItem long_;
    long_.costtype = "Material";
    long_.cat = "Shingles";
    long_.costname = "Architectural designer shingles, lifetime, heather";
    long_.unit = "sq";
    long_.descrip = QString(200, QLatin1Char('x'));
    QVERIFY(CostItems::Save(tc.ctx, long_) > 0);
    frmUnitItem b(tc.ctx);
    b.show();
    QTableView* g = b.dgCost[0];
    QVERIFY(g->columnWidth(2) >= g->fontMetrics().horizontalAdvance(long_.costname));
    // What does not fit shows whole in the tooltip.
    for (int r = 0; r < GridBinding::rowCount(g); ++r) {
        const QModelIndex desc = g->model()->index(r, 6);
        QCOMPARE(desc.data(Qt::ToolTipRole), desc.data(Qt::DisplayRole));
    }
}

void tst_catalogue_forms::savedItemIsSelected() {
    TestContext tc;
    frmUnitItem b(tc.ctx);
    b.txtSearch->setText("shingles");
    // A new fee is added from the Material tab while a search hides it: the browser turns to
    // the item's tab, clears the search and selects the new row.
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmAddMat*>(d);
        f->cmbType->setCurrentText("Fee");
        f->cmbCat->setEditText("Permits");
        f->txtFields[1]->setText("Dumpster permit");
        f->cmbUnit->setEditText("ea");
        f->txtFields[3]->setText("75");
        f->cmdSave_Click();
    });
    b.cmdItem_Click();
    QCOMPARE(b.SSTab1->currentIndex(), 4);
    QCOMPARE(b.txtSearch->text(), QString());
    QModelIndexList sel = b.dgCost[4]->selectionModel()->selectedRows();
    QCOMPARE(sel.size(), 1);
    QCOMPARE(GridBinding::cell(b.dgCost[4], sel[0].row(), 2).toString(),
             QStringLiteral("Dumpster permit"));

    // An edited row stays selected under the search that shows it.
    b.SSTab1->setCurrentIndex(0);
    b.txtSearch->setText("drip");
    QVERIFY(selectID(b.dgCost[0], 6));
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmAddMat*>(d);
        f->txtFields[3]->setText("9.25");
        f->cmdSave_Click();
    });
    b.cmdEdit_Click();
    QCOMPARE(b.txtSearch->text(), QStringLiteral("drip"));
    sel = b.dgCost[0]->selectionModel()->selectedRows();
    QCOMPARE(sel.size(), 1);
    QCOMPARE(GridBinding::cell(b.dgCost[0], sel[0].row(), 0).toInt(), 6);
    QCOMPARE(GridBinding::cell(b.dgCost[0], sel[0].row(), 7).toLongLong(), 92500LL);
}

void tst_catalogue_forms::pickerOpensOverTheMainWindow() {
    TestContext tc;
    tc.createTempDB();
    QWidget main;
    main.setGeometry(300, 200, 1000, 700);
    main.show();
    frmPickItem p(tc.ctx, false, 0, &main);
    p.show();
    // A dialog never placed by its code is centred by Qt over the window that opened it (the
    // offscreen screen is too small to measure where it lands).
    QVERIFY(!p.testAttribute(Qt::WA_Moved));
    QVERIFY(p.pos() != QPoint(0, 0));
}

// The cost item form shows the item's take-off rule, refuses an incomplete one without storing
// anything, and stores the one it is given.
void tst_catalogue_forms::costItemTakeoffRule() {
    using TakeoffRule::Measure;
    using TakeoffRule::Rule;
    TestContext tc;
    frmAddMat f(tc.ctx, CostEdit::edit(8), "Material");
    RuleBox& r = *f.frRule;
    QCOMPARE(r.cboRuleMeasure->currentText(), QStringLiteral("Lineal runs (lf)"));
    QCOMPARE(r.txtRuleAmount->text(), QStringLiteral("33"));
    QCOMPARE(r.cboRuleWay->currentData().toInt(), 0);
    QStringList ticked;
    for (QCheckBox* box : r.chkRuleKinds)
        if (box->isChecked())
            ticked << box->text();
    QCOMPARE(ticked, QStringList({"Ridge", "Hip"}));

    for (QCheckBox* box : r.chkRuleKinds)
        box->setChecked(false);
    f.txtFields[1]->setText("Changed name");
    f.cmdSave_Click();
    QCOMPARE(tc.prompt->lastText(),
             QStringLiteral("Please tick the lineal runs this item follows."));
    QVERIFY(!f.saved());
    QCOMPARE(CostItems::Load(tc.ctx, 8)->costname, QStringLiteral("Hip and ridge cap shingles"));

    r.cboRuleMeasure->setCurrentIndex(r.cboRuleMeasure->findData(int(Measure::RoofArea)));
    for (const char* bad : {"0", "-3", ""}) {
        r.txtRuleAmount->setText(bad);
        f.cmdSave_Click();
        QVERIFY(tc.prompt->lastText().startsWith("The coverage must be a number more than 0"));
        QVERIFY(!f.saved());
    }
    r.txtRuleAmount->setText("2.5");
    r.cboRuleWay->setCurrentIndex(0);
    f.cmdSave_Click();
    QVERIFY(f.saved());
    QCOMPARE(TakeoffRules::ruleOf(tc.ctx, false, 8),
             std::optional<Rule>({Measure::RoofArea, 0, 25000, true}));

    // None removes the rule.
    frmAddMat g(tc.ctx, CostEdit::edit(8), "Material");
    g.frRule->cboRuleMeasure->setCurrentIndex(0);
    g.cmdSave_Click();
    QVERIFY(g.saved());
    QVERIFY(!TakeoffRules::ruleOf(tc.ctx, false, 8));
}

// The unit item form carries the same take-off rule as the cost item form, stored for the unit
// item and never for the cost item of the same number.
void tst_catalogue_forms::unitItemTakeoffRule() {
    using TakeoffRule::Measure;
    using TakeoffRule::Rule;
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const UnitItems::Header ridgeVent{"Ridge vent, installed", "Ventilation", "lf",
                                      "Ridge vent and its installation, per lineal foot"};
    const auto costRule = TakeoffRules::ruleOf(ctx, false, 2);
    {
        frmAddLabMat f(ctx, CostEdit::edit(2), ridgeVent);
        // Tab goes through the header, then the rule, then the components.
        QList<QWidget*> chain;
        for (QWidget* w = f.nextInFocusChain(); w && w != &f; w = w->nextInFocusChain())
            chain << w;
        QVERIFY(chain.indexOf(f.txtDesc) < chain.indexOf(f.frRule->cboRuleMeasure));
        QVERIFY(chain.indexOf(f.txtItem) < chain.indexOf(f.txtDesc));
        QVERIFY(chain.indexOf(f.frRule->cboRuleMeasure) < chain.indexOf(f.DataGrid1));
        QCOMPARE(f.frRule->cboRuleMeasure->currentData().toInt(), int(Measure::None));
        QVERIFY(!f.frRule->txtRuleAmount->isEnabled());
        f.frRule->cboRuleMeasure->setCurrentIndex(
            f.frRule->cboRuleMeasure->findData(int(Measure::Lineal)));
        f.cmdSave_Click();
        QCOMPARE(tc.prompt->lastText(),
                 QStringLiteral("Please tick the lineal runs this item follows."));
        QVERIFY(!f.saved());
        tick(*f.frRule, "Ridge");
        f.frRule->txtRuleAmount->setText("1");
        f.frRule->cboRuleWay->setCurrentIndex(0);
        f.cmdSave_Click();
        QCOMPARE(f.saved(), std::optional<std::int32_t>(2));
    }
    QCOMPARE(TakeoffRules::ruleOf(ctx, true, 2),
             std::optional<Rule>({Measure::Lineal, 1 << 5, 10000, true}));
    QCOMPARE(TakeoffRules::ruleOf(ctx, false, 2), costRule);

    // A new unit item with an incomplete rule is refused before anything is stored.
    const int units = count(ctx, ctx.CostConn, "select count(*) from costunit");
    {
        frmAddLabMat f(ctx, CostEdit::add(), {});
        f.txtItem->setText("Starter course, installed");
        f.cmbUnit->setEditText("lf");
        f.frRule->cboRuleMeasure->setCurrentIndex(
            f.frRule->cboRuleMeasure->findData(int(Measure::SquaresToOrder)));
        f.frRule->txtRuleAmount->setText("0");
        f.cmdSave_Click();
        QVERIFY(tc.prompt->lastText().startsWith("The coverage must be a number more than 0"));
        QVERIFY(!f.saved());
        QCOMPARE(count(ctx, ctx.CostConn, "select count(*) from costunit"), units);
        // Eave and Rake, 100 lf per unit: stored with the new unit item.
        f.frRule->cboRuleMeasure->setCurrentIndex(
            f.frRule->cboRuleMeasure->findData(int(Measure::Lineal)));
        tick(*f.frRule, "Rake");
        tick(*f.frRule, "Eave");
        f.frRule->txtRuleAmount->setText("100");
        f.frRule->cboRuleWay->setCurrentIndex(1);
        f.cmdSave_Click();
        QVERIFY(f.saved());
        QCOMPARE(TakeoffRules::ruleOf(ctx, true, *f.saved()),
                 std::optional<Rule>({Measure::Lineal, 1 << 8 | 1 << 9, 1000000, false}));
    }

    // Opened again it shows its rule; None removes it.
    frmAddLabMat g(ctx, CostEdit::edit(2), ridgeVent);
    QStringList ticked;
    for (QCheckBox* box : g.frRule->chkRuleKinds)
        if (box->isChecked())
            ticked << box->text();
    QCOMPARE(ticked, QStringList({"Ridge"}));
    QCOMPARE(g.frRule->txtRuleAmount->text(), QStringLiteral("1"));
    g.frRule->cboRuleMeasure->setCurrentIndex(0);
    g.cmdSave_Click();
    QVERIFY(g.saved());
    QVERIFY(!TakeoffRules::ruleOf(ctx, true, 2));
    QCOMPARE(TakeoffRules::ruleOf(ctx, false, 2), costRule);
}

void tst_catalogue_forms::failedRuleStoresNothingTwice_data() {
    QTest::addColumn<bool>("unitItem");
    QTest::newRow("cost item") << false;
    QTest::newRow("unit item") << true;
}

// A new item is stored but its rule is not (the statement fails): the failure is reported, the
// form stays open with what was typed, and Save again stores the rule on the same item, with
// its components once.
void tst_catalogue_forms::failedRuleStoresNothingTwice() {
    using TakeoffRule::Measure;
    using TakeoffRule::Rule;
    QFETCH(bool, unitItem);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const QString table = unitItem ? "costunit" : "costitem";
    const int items = count(ctx, ctx.CostConn, "select count(*) from " + table);
    const int components = count(ctx, ctx.CostConn, "select count(*) from unititems");
    modData::exec(ctx, ctx.CostConn,
                  "create temp trigger fault before insert on main.takeoffrule begin select "
                  "raise(abort, 'disk trouble'); end");
    std::unique_ptr<QDialog> form;
    RuleBox* rule = nullptr;
    std::function<void()> save;
    std::function<std::optional<std::int32_t>()> saved;
    if (unitItem) {
        auto* f = new frmAddLabMat(ctx, CostEdit::add(), {});
        f->txtItem->setText("Valley set");
        f->cmbUnit->setEditText("lf");
        f->cmdAddItem_Click();
        QVERIFY(selectID(f->dgCost[0], 5));
        f->cmSelectItem_Click();
        form.reset(f);
        rule = f->frRule;
        save = [f] { f->cmdSave_Click(); };
        saved = [f] { return f->saved(); };
    } else {
        auto* f = new frmAddMat(ctx, CostEdit::add(), "Material");
        f->cmbCat->setEditText("Valley");
        f->txtFields[1]->setText("Valley metal");
        f->cmbUnit->setEditText("pc");
        f->txtFields[3]->setText("21.5");
        form.reset(f);
        rule = f->frRule;
        save = [f] { f->cmdSave_Click(); };
        saved = [f] { return f->saved(); };
    }
    rule->cboRuleMeasure->setCurrentIndex(rule->cboRuleMeasure->findData(int(Measure::Lineal)));
    tick(*rule, "Valley");
    rule->txtRuleAmount->setText("10");
    rule->cboRuleWay->setCurrentIndex(1);
    save();
    QVERIFY(tc.prompt->lastText().contains("disk trouble"));
    QVERIFY(!saved());

    modData::exec(ctx, ctx.CostConn, "drop trigger fault");
    save();
    QVERIFY(saved());
    QCOMPARE(count(ctx, ctx.CostConn, "select count(*) from " + table), items + 1);
    QCOMPARE(count(ctx, ctx.CostConn, "select count(*) from unititems"),
             components + (unitItem ? 1 : 0));
    QCOMPARE(TakeoffRules::ruleOf(ctx, unitItem, *saved()),
             std::optional<Rule>({Measure::Lineal, 1 << 7, 100000, false}));
}

QTEST_MAIN(tst_catalogue_forms)
#include "tst_catalogue_forms.moc"
