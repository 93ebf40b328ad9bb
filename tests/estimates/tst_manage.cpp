#include "StoredEstimate.h"
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "common/forms/GridBinding.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmContactGrid.h"
#include "estimates/forms/frmManageStatus.h"
#include "estimates/forms/frmOwnerDetail.h"
#include "estimates/modManage.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace StoredEstimate;
using Answer = Prompt::Answer;

namespace {

int addMaster(AppContext& ctx, const QString& name, const QString& status, const QString& type,
              const QString& estpath = QString()) {
    modData::exec(
        ctx, ctx.MastEstConn,
        "insert into master(estname,esttype,estaddress,estpath,eststatus,estdate,estlength)"
        " values(?,?,'1 Main St',?,?,'2026-03-01',30)",
        {name, type, estpath.isEmpty() ? QVariant() : QVariant(estpath), status});
    return modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
}

void chooseInList(frmManageStatus& d, int id) {
    for (int i = 0; i < d.List1->count(); ++i)
        if (d.List1->item(i)->data(Qt::UserRole).toInt() == id)
            d.List1->setCurrentRow(i);
    d.List1_DblClick();
}

// A stand-in for the sibling program's contacts database.
QString makeContacts(AppContext& ctx, const QString& root) {
    const QString folder = root + "/brenwick";
    QDir().mkpath(folder + "/data");
    const QString path = folder + "/data/contacts.db";
    QSqlDatabase db = ctx.connections->create(path);
    modData::exec(db, "create table contacts(id integer primary key, firstname text, lastname text,"
                      " company text, address text, city text, st text, zip text, homeph text,"
                      " workph text, ext text, contype text)");
    const QList<QVariantList> rows = {
        {"Karl", "Kline", "", "1 Oak St", "Helena", "MT", "59601", "555-1111", "555-2222", "12",
         "Lead"},
        {"Anna", "Kline", "Kline Roofing", "2 Oak St", "Helena", "MT", "59602", "", "", "", "Cust"},
        {"Bob", "Adams", "Adams & Sons", "3 Elm St", "Butte", "MT", "59701", "", "", "", "Cust"},
        {"Sean", "O'Neil", "", "4 Ash St", QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant(), "Personal"},
        {"Kim", "kearns", "", "5 Fir St", "Billings", "MT", "59101", "", "", "", "Lead"}};
    for (const QVariantList& r : rows)
        modData::exec(db,
                      "insert into contacts(firstname,lastname,company,address,city,st,zip,"
                      "homeph,workph,ext,contype) values(?,?,?,?,?,?,?,?,?,?,?)",
                      r);
    ctx.connections->close(path);
    ctx.settings->setValue("Brenwick", "Common", "Path", folder);
    return path;
}

QStringList gridNames(frmContactGrid& d) {
    QStringList names;
    for (int r = 0; r < GridBinding::rowCount(d.grdDataGrid); ++r)
        names << GridBinding::cell(d.grdDataGrid, r, 1).toString();
    return names;
}

} // namespace

class tst_manage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void listFormats();
    void parseDates_data();
    void parseDates();
    void editPanelAndTypes();
    void updateChecksWhatItWrites();
    void deleteRemovesRowAndFolder();
    void deleteWithoutPathOrFolder();
    void ownerDetail();
    void contactFilters();
    void contactSelect();
};

void tst_manage::listFormats() {
    QCOMPARE(modManage::BuildListItem("x", "SmithGarage*3/1/26"),
             QStringLiteral("SmithGarage                   3/1/26    "));
    QCOMPARE(modManage::BuildListItem("x", QString(35, 'n') + "*12/31/2026x").size(), 40);
    QCOMPARE(modManage::BuildListItem("All", QString(25, 'n') + "#10/10/2026#Accepted"),
             QString(21, 'n') + " 10/10/2026 Accepted");
    QCOMPARE(modManage::BuildListItem("All", "Smith#3/1/26#Rejectedxx"),
             QStringLiteral("Smith                 3/1/26     Rejected"));

    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmManageStatus d(ctx);
    QCOMPARE(d.cmbFilter->count(), 5);
    // Every estimate at first, so a saved Pending one is not hidden behind "Working".
    QCOMPARE(d.cmbFilter->currentText(), QStringLiteral("All"));
    QCOMPARE(d.List1->count(), 1);
    QCOMPARE(d.List1->item(0)->text(), QStringLiteral("None"));
    d.List1->setCurrentRow(0);
    d.List1_DblClick();
    QVERIFY(!d.editing());
    const int a = addMaster(ctx, "Alpha", "Working", "Reroof");
    addMaster(ctx, "Beta", "Accepted", "Gutters");
    d.PopList("All");
    QCOMPARE(d.List1->count(), 2);
    QCOMPARE(d.List1->item(0)->text(), QStringLiteral("Alpha                 3/1/26     Working"));
    QCOMPARE(d.List1->item(0)->data(Qt::UserRole).toInt(), a);
}

void tst_manage::parseDates_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("short") << "3/1/26" << QDate(2026, 3, 1);
    QTest::newRow("four-digit year") << "12/31/2026" << QDate(2026, 12, 31);
    QTest::newRow("iso") << "2026-02-03" << QDate(2026, 2, 3);
    QTest::newRow("no such day") << "2/30/26" << QDate();
    QTest::newRow("words") << "next week" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void tst_manage::parseDates() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(modManage::parseDate(text), date);
}

void tst_manage::editPanelAndTypes() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int a = addMaster(ctx, "Alpha", "Working", "Reroof");
    const int b = addMaster(ctx, "Beta", "Working", "Gutters");
    frmManageStatus d(ctx);
    chooseInList(d, a);
    QVERIFY(d.editing());
    QCOMPARE(ctx.EstID, a);
    QCOMPARE(d.Label5->text(), QStringLiteral("Alpha"));
    QCOMPARE(d.Label8->text(), QString::number(a));
    QCOMPARE(d.txtDate->text(), QStringLiteral("3/1/26"));
    QCOMPARE(d.txtLength->text(), QStringLiteral("30"));
    QCOMPARE(d.Combo1->currentText(), QStringLiteral("Reroof"));
    d.cmdCancelUpdate_Click();
    QVERIFY(!d.editing());
    chooseInList(d, b);
    QCOMPARE(d.Combo1->count(), 2); // each type once, after two double-clicks
    QCOMPARE(d.Combo1->currentText(), QStringLiteral("Gutters"));

    d.Combo1->setEditText(QString(25, 'x'));
    QVERIFY(d.Combo1_Validate());
    d.Combo1->setEditText(QString(26, 'x'));
    QVERIFY(!d.Combo1_Validate());
    QCOMPARE(tc.prompt->lastText(),
             QStringLiteral("This field cannot be longer than 25 characters."));
    QCOMPARE(d.Combo1->currentText(), QString());
}

void tst_manage::updateChecksWhatItWrites() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const int a = addMaster(ctx, "Alpha", "Working", "Reroof");
    frmManageStatus d(ctx);
    chooseInList(d, a);
    const QStringList before = dump(ctx, ctx.MastEstConn, "master");
    struct Bad {
        const char* date;
        const char* length;
    };
    for (const Bad& bad : {Bad{"2/30/26", "30"}, Bad{"soon", "30"}, Bad{"3/1/26", "-1"},
                           Bad{"3/1/26", "1.5"}, Bad{"3/1/26", "ten"}}) {
        d.txtDate->setText(bad.date);
        d.txtLength->setText(bad.length);
        tc.prompt->clear();
        d.cmdUpdateStatus_Click();
        QCOMPARE(tc.prompt->count(), 1);
        QVERIFY(d.editing());
        QCOMPARE(dump(ctx, ctx.MastEstConn, "master"), before);
    }
    d.txtDate->setText("4/15/26");
    d.txtLength->setText("45");
    d.Combo1->setEditText("Owner's choice");
    d.optEstStatus[2]->setChecked(true);
    d.cmdUpdateStatus_Click();
    QVERIFY(!d.editing());
    QCOMPARE(d.cmbFilter->currentText(), QStringLiteral("All"));
    // Owner, total and order of use are not the Update's to change.
    QCOMPARE(dump(ctx, ctx.MastEstConn, "master"),
             QStringList({QString::number(a) +
                          "|Alpha|Owner's choice|1 Main St||Accepted|2026-04-15|45|||"}));
}

void tst_manage::deleteRemovesRowAndFolder() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Gone");
    const int gone = ctx.EstID;
    start(ctx, "Kept");
    ctx.connections->closeAll();
    frmManageStatus d(ctx);
    chooseInList(d, gone);

    tc.prompt->answer(Answer::Cancel);
    d.cmdDeleteStatus_Click();
    QCOMPARE(tc.prompt->shown().last().title, QStringLiteral("Confirm delete."));
    QCOMPARE(tc.prompt->shown().last().defaultAnswer, Answer::Cancel);
    QCOMPARE(count(ctx, ctx.MastEstConn, "master"), 2);

    tc.prompt->answer(Answer::Ok);
    d.cmdDeleteStatus_Click();
    QCOMPARE(count(ctx, ctx.MastEstConn, "master"), 1);
    QVERIFY(!QFileInfo::exists(ctx.estimatesDir() + "/Gone"));
    QVERIFY(QFileInfo(ctx.estimatesDir() + "/Kept/Kept.db").isFile());
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void tst_manage::deleteWithoutPathOrFolder() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Kept");
    ctx.connections->closeAll();
    const int reserved = addMaster(ctx, "", "Working", "");
    frmManageStatus d(ctx);
    chooseInList(d, reserved);
    tc.prompt->answer(Answer::Ok);
    d.cmdDeleteStatus_Click();
    QCOMPARE(tc.prompt->count(), 1); // only the question: there was no folder to delete
    QVERIFY(QFileInfo(ctx.estimatesDir() + "/Kept/Kept.db").isFile());
    QVERIFY(QFileInfo(ctx.estimatesDir()).isDir());

    // A folder that is already gone: the row goes, and the message names the folder.
    const int lost = addMaster(ctx, "Lost", "Working", "Reroof", "Lost/Lost.db");
    frmManageStatus d2(ctx);
    chooseInList(d2, lost);
    tc.prompt->answer(Answer::Ok);
    d2.cmdDeleteStatus_Click();
    QVERIFY(tc.prompt->lastText().contains("Lost"));
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select count(*) from master where id=?", {lost})
                 .toInt(),
             0);
}

void tst_manage::ownerDetail() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    start(ctx, "Smith");
    const int id = ctx.EstID;
    ctx.connections->closeAll();
    frmOwnerDetail d(ctx, id);
    QCOMPARE(d.txtEstName->text(), QStringLiteral("Smith"));
    QVERIFY(d.txtEstName->isReadOnly());
    QCOMPARE(d.txtName[1]->text(), QStringLiteral("O'Brien"));
    d.txtName[0]->clear();
    d.cmdUpdate_Click();
    QCOMPARE(tc.prompt->lastText(), QStringLiteral("This field may not be blank."));
    d.txtName[0]->setText("Siobhán");
    d.txtName[2]->setText("14 O'Connell St");
    d.cmdUpdate_Click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(
        modData::scalar(ctx, ctx.EstConn, "select FName || '|' || Address from Main").toString(),
        QStringLiteral("Siobhán|14 O'Connell St"));
    QCOMPARE(modData::scalar(ctx, ctx.MastEstConn, "select estaddress from master where id=?", {id})
                 .toString(),
             QStringLiteral("14 O'Connell St"));
}

void tst_manage::contactFilters() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    const QString path = makeContacts(ctx, tc.root());
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    {
        frmContactGrid d(ctx);
        QCOMPARE(gridNames(d), QStringList({"Bob Adams", "Kim kearns", "Anna Kline", "Karl Kline",
                                            "Sean O'Neil"}));
        d.PopGrid("K", "alpha");
        QCOMPARE(gridNames(d), QStringList({"Kim kearns", "Anna Kline", "Karl Kline"}));
        d.PopGrid("O'N", "alpha");
        QCOMPARE(gridNames(d), QStringList({"Sean O'Neil"}));
        d.PopGrid("%", "alpha");
        QCOMPARE(gridNames(d), QStringList());
        d.PopGrid("Cust", "type");
        QCOMPARE(gridNames(d), QStringList({"Bob Adams", "Anna Kline"}));
        d.PopGrid("", "company");
        QCOMPARE(gridNames(d), QStringList({"Bob Adams", "Anna Kline"}));
        d.PopGrid("", "nocompany");
        QCOMPARE(gridNames(d).size(), 3);
        QCOMPARE(tc.prompt->count(), 0);
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before); // never written
}

void tst_manage::contactSelect() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    makeContacts(ctx, tc.root());
    frmCorvanel w(ctx);
    w.mnuEstNew->trigger();
    QVERIFY(w.owner->cmdImport->isEnabled());

    UiTest::whenModal([](QWidget* dlg) {
        auto* d = qobject_cast<frmContactGrid*>(dlg);
        QVERIFY(d);
        d->PopGrid("K", "alpha");
        d->grdDataGrid->selectRow(2); // Karl Kline
        d->cmdSelect_Click();
    });
    w.owner->cmdImport->click();
    const QStringList expected = {"Karl",     "Kline",    "1 Oak St", "Helena, MT 59601",
                                  "555-1111", "555-2222", "12"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(w.owner->txtName[i]->text(), expected[i]);

    // Missing columns fill empty fields.
    UiTest::whenModal([](QWidget* dlg) {
        auto* d = qobject_cast<frmContactGrid*>(dlg);
        d->PopGrid("O", "alpha");
        d->grdDataGrid->selectRow(0);
        d->cmdSelect_Click();
    });
    w.owner->cmdImport->click();
    QCOMPARE(w.owner->txtName[1]->text(), QStringLiteral("O'Neil"));
    QCOMPARE(w.owner->txtName[3]->text(), QString());
    QCOMPARE(w.owner->txtName[5]->text(), QString());

    // Select on an empty grid does nothing; the window stays open until Cancel.
    frmContactGrid d(ctx);
    d.PopGrid("Q", "alpha");
    d.cmdSelect_Click();
    QVERIFY(!d.selected());
    QCOMPARE(d.result(), 0);
}

QTEST_MAIN(tst_manage)
#include "tst_manage.moc"
