#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "common/forms/InputHelpers.h"
#include "settings/SettingsStore.h"
#include "settings/SetupValues.h"
#include "settings/forms/frmSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

using Pairs = QList<QPair<QString, QString>>;

const QString App = QStringLiteral("Corvanel");

template <class W> W* find(QWidget* form, const QString& name) {
    W* w = form->findChild<W*>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

QLineEdit* box(QWidget* f, const QString& name) {
    return find<QLineEdit>(f, name);
}
QCheckBox* check(QWidget* f, const QString& name) {
    return find<QCheckBox>(f, name);
}
QPushButton* button(QWidget* f, const QString& name) {
    return find<QPushButton>(f, name);
}

Pairs section(TestContext& tc, const char* name) {
    return tc.ctx.settings->section(App, QString::fromLatin1(name));
}

// Replaces the settings file with the given text, as another program might leave it.
void writeIni(TestContext& tc, const QByteArray& text) {
    const QString path = tc.ctx.settings->filePath(App);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

class tst_setup_forms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }

    void opensFromTheSetupMenu();
    void showsTheFirstStartValues();
    void defaultsStoredByKey_data();
    void defaultsStoredByKey();
    void nonNumberRefusedAndNothingStored_data();
    void nonNumberRefusedAndNothingStored();
    void closeBoxStoresNothing();
    void cancelAfterEditRestoresAndLocks();
    void cancelKeepsTheOtherTab();
    void companyTextsRoundTrip_data();
    void companyTextsRoundTrip();
    void includeBoxesStored();
    void shiftedSectionReadByKey();
    void missingSettingsOpenEmpty();
    void unwritableStoreReportedAndStaysOpen();
    void companyBoxesColourOnlyWhenOpen();
};

void tst_setup_forms::opensFromTheSetupMenu() {
    TestContext tc;
    frmCorvanel main(tc.ctx);
    QString caption;
    UiTest::whenModal([&](QWidget* w) {
        caption = w->objectName() + QLatin1Char('|') + w->windowTitle();
        w->close();
    });
    main.mnuSetupMaint->trigger();
    QCOMPARE(caption, QStringLiteral("frmSetup|Setup Maintance"));
}

void tst_setup_forms::showsTheFirstStartValues() {
    TestContext tc;
    frmSetup f(tc.ctx);
    QCOMPARE(f.SSTab1->currentIndex(), 0);
    QCOMPARE(f.SSTab1->tabText(0), QStringLiteral("Company Info"));
    QCOMPARE(f.SSTab1->tabText(1), QStringLiteral("Default Values"));
    const QStringList info = {
        "ABC Construction", "5454 Builders Lane", "Anytown",      "MT",
        "54321-1234",       "406/123-4567",       "406/234-5678", "406/345-6789"};
    for (int i = 0; i < info.size(); ++i)
        QCOMPARE(box(&f, QStringLiteral("txtCoInfo(%1)").arg(i))->text(), info.at(i));
    QCOMPARE(box(&f, "txtCoInfo(8)")->text(), tc.ctx.settings->get("CoInfo", "Email"));
    QCOMPARE(box(&f, "txtCoInfo(9)")->text(), tc.ctx.settings->get("CoInfo", "Website"));

    const QStringList ticked = {"ckbCoName", "ckbCoAddress", "ckbCoCity", "ckbCoPh", "ckbCoFax"};
    for (const char* name : {"ckbCoName", "ckbCoAddress", "ckbCoCity", "ckbCoPh", "ckbCoFax",
                             "ckbCoCell", "ckbCoEmail", "ckbCoWeb", "ckbLetterHead"}) {
        QCOMPARE(check(&f, name)->isChecked(), ticked.contains(QLatin1String(name)));
        QVERIFY(!check(&f, name)->isEnabled());
    }
    QVERIFY(check(&f, "chkShowGreet")->isChecked());

    const bool perc[] = {true, true, false, true};
    const char* amount[] = {"15", "15", "100", "2"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(find<QRadioButton>(&f, QStringLiteral("optPerc(%1)").arg(i))->isChecked(),
                 perc[i]);
        QCOMPARE(find<QRadioButton>(&f, QStringLiteral("optFixed(%1)").arg(i))->isChecked(),
                 !perc[i]);
        QCOMPARE(box(&f, QStringLiteral("txtAdmin(%1)").arg(i))->text(), QLatin1String(amount[i]));
    }
    const char* labor[] = {"45", "7.65", "0", "2"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(box(&f, QStringLiteral("txtEmp(%1)").arg(i))->text(), QLatin1String(labor[i]));

    // Opened locked.
    QVERIFY(f.coFieldsLocked());
    QVERIFY(box(&f, "txtCoInfo(0)")->isReadOnly());
    QVERIFY(button(&f, "cmdCoEdit")->isEnabled());
    QVERIFY(!button(&f, "cmdCoSave")->isEnabled());
    QVERIFY(!button(&f, "cmdCoCancel")->isEnabled());
}

void tst_setup_forms::defaultsStoredByKey_data() {
    QTest::addColumn<int>("frame");    // admin frame to change, -1 none
    QTest::addColumn<bool>("fixed");   // its option
    QTest::addColumn<QString>("text"); // its amount
    QTest::addColumn<int>("labor");    // labor box to change, -1 none
    QTest::addColumn<QString>("laborText");
    QTest::addColumn<bool>("greet");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");

    QTest::newRow("fixed 250 overhead") << 0 << true << "250" << -1 << "" << true << "Overhead"
                                        << "Fixed-250";
    QTest::newRow("percent contingency") << 2 << false << "3.5" << -1 << "" << true << "Contingency"
                                         << "%-3.5";
    QTest::newRow("negative fixed management")
        << 3 << true << "-50" << -1 << "" << true << "Management"
        << "Fixed--50";
    QTest::newRow("employer taxes") << -1 << false << "" << 1 << "8.25" << true << "EmpTaxes"
                                    << "8.25";
    // Stored as plain decimals, so a default reads the same under every locale.
    QTest::newRow("grouped fixed contingency")
        << 2 << true << "1,234.5" << -1 << "" << true << "Contingency"
        << "Fixed-1234.5";
    QTest::newRow("largest fixed amount")
        << 2 << true << "9999999.99" << -1 << "" << true << "Contingency"
        << "Fixed-9999999.99";
    QTest::newRow("greeting off") << -1 << false << "" << -1 << "" << false << "Greet"
                                  << "0";
}

void tst_setup_forms::defaultsStoredByKey() {
    QFETCH(int, frame);
    QFETCH(bool, fixed);
    QFETCH(QString, text);
    QFETCH(int, labor);
    QFETCH(QString, laborText);
    QFETCH(bool, greet);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    TestContext tc;
    const Pairs before = section(tc, "Op");
    frmSetup f(tc.ctx);
    if (frame >= 0) {
        (fixed ? f.optFixed[frame] : f.optPerc[frame])->setChecked(true);
        f.txtAdmin[frame]->setText(text);
    }
    if (labor >= 0)
        f.txtEmp[labor]->setText(laborText);
    f.chkShowGreet->setChecked(greet);
    f.SSTab1->setCurrentIndex(1);
    QTest::mouseClick(f.cmdSaveValues, Qt::LeftButton);

    QVERIFY(!f.result().Cancelled);
    QCOMPARE(tc.prompt->count(), 0);
    QCOMPARE(tc.ctx.settings->get("Op", key), stored);
    // Only that value changed, and every key kept its place (readers go by position).
    const Pairs after = section(tc, "Op");
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i) {
        QCOMPARE(after.at(i).first, before.at(i).first);
        if (after.at(i).first != key)
            QCOMPARE(after.at(i).second, before.at(i).second);
    }
}

void tst_setup_forms::nonNumberRefusedAndNothingStored_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString nan = QLatin1String(InputHelpers::NotANumber);
    const QString large = QLatin1String(InputHelpers::TooLarge);
    // clang-format off
    QTest::newRow("overhead word") << "txtAdmin(0)" << "abc" << nan;
    QTest::newRow("management empty") << "txtAdmin(3)" << "" << nan;
    QTest::newRow("fringe with unit") << "txtEmp(3)" << "2%" << nan;
    QTest::newRow("work comp apostrophe") << "txtEmp(0)" << "4'5" << nan;
    QTest::newRow("contingency with an exponent") << "txtAdmin(2)" << "1e3" << nan;
    QTest::newRow("labor with an exponent") << "txtEmp(1)" << "1e3" << nan;
    // Setup refuses what the Terms/Totals tab refuses: a default is stored with every estimate.
    QTest::newRow("contingency too large") << "txtAdmin(2)" << "150000000" << large;
    QTest::newRow("profit too large") << "txtAdmin(1)" << "10000000" << large;
    QTest::newRow("labor too large") << "txtEmp(2)" << "2000000000" << large;
    // clang-format on
}

void tst_setup_forms::nonNumberRefusedAndNothingStored() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestContext tc;
    const Pairs before = section(tc, "Op");
    frmSetup f(tc.ctx);
    f.txtAdmin[1]->setText("20"); // a valid change elsewhere must not be written either
    box(&f, name)->setText(text);
    QVERIFY(!f.cmdSaveValues_Click());
    QCOMPARE(tc.prompt->texts(), QStringList{message});
    QCOMPARE(box(&f, name)->text(), QStringLiteral("0"));
    QVERIFY(f.result().Cancelled);
    QCOMPARE(section(tc, "Op"), before);
}

void tst_setup_forms::closeBoxStoresNothing() {
    TestContext tc;
    const Pairs before = section(tc, "Op");
    const Pairs company = section(tc, "CoInfo");
    frmSetup f(tc.ctx);
    f.show();
    f.cmdCoEdit_Click();
    f.txtCoInfo[0]->setText("Changed");
    f.txtAdmin[0]->setText("99");
    f.close();
    QVERIFY(f.result().Cancelled);
    QCOMPARE(section(tc, "Op"), before);
    QCOMPARE(section(tc, "CoInfo"), company);
}

void tst_setup_forms::cancelAfterEditRestoresAndLocks() {
    TestContext tc;
    const Pairs before = section(tc, "CoInfo");
    const Pairs inc = section(tc, "CoInfoInc");
    frmSetup f(tc.ctx);
    QTest::mouseClick(f.cmdCoEdit, Qt::LeftButton);
    QVERIFY(!f.coFieldsLocked());
    QVERIFY(!f.txtCoInfo[0]->isReadOnly());
    QVERIFY(f.ckbCoCell->isEnabled());
    QVERIFY(!f.cmdCoEdit->isEnabled());
    f.txtCoInfo[0]->setText("Somebody Else");
    f.ckbCoCell->setChecked(true);
    QTest::mouseClick(f.cmdCoCancel, Qt::LeftButton);

    QCOMPARE(f.txtCoInfo[0]->text(), QStringLiteral("ABC Construction"));
    QVERIFY(!f.ckbCoCell->isChecked());
    QVERIFY(f.coFieldsLocked());
    QVERIFY(f.txtCoInfo[0]->isReadOnly());
    QVERIFY(!f.ckbCoCell->isEnabled());
    QVERIFY(f.cmdCoEdit->isEnabled());
    QVERIFY(!f.cmdCoSave->isEnabled());
    QCOMPARE(section(tc, "CoInfo"), before);
    QCOMPARE(section(tc, "CoInfoInc"), inc);
}

void tst_setup_forms::cancelKeepsTheOtherTab() {
    TestContext tc;
    frmSetup f(tc.ctx);
    f.txtEmp[0]->setText("50");
    f.cmdCoEdit_Click();
    f.cmdCoCancel_Click();
    QCOMPARE(f.txtEmp[0]->text(), QStringLiteral("50"));
}

void tst_setup_forms::companyTextsRoundTrip_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("apostrophe") << 0 << QString("O'Neil's Roofing & Sons") << "Name";
    QTest::newRow("accents") << 2 << QString::fromUtf8("Saint-Jérôme") << "City";
    QTest::newRow("other scripts") << 1 << QString::fromUtf8("Dvořák 屋根 Ωμέγα 😀") << "Address";
    QTest::newRow("equals and brackets") << 9 << QString("https://x.test/?a=1;[b]") << "Website";
    QTest::newRow("quotes and blanks") << 7 << QString("  \"cell\" \\ ") << "Cell";
    QTest::newRow("emptied") << 6 << QString() << "Fax";
}

void tst_setup_forms::companyTextsRoundTrip() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, key);
    TestContext tc;
    const QStringList keys = SetupValues::coInfoKeys();
    {
        frmSetup f(tc.ctx);
        f.cmdCoEdit_Click();
        f.txtCoInfo[index]->setText(text);
        QTest::mouseClick(f.cmdCoSave, Qt::LeftButton);
        QVERIFY(f.coFieldsLocked());
        QCOMPARE(tc.prompt->count(), 0);
    }
    QCOMPARE(tc.ctx.settings->get("CoInfo", key), text);
    // The key order is untouched, so the next window reads the text back at its position.
    QStringList order;
    for (const auto& p : section(tc, "CoInfo"))
        order << p.first;
    QCOMPARE(order, keys);
    frmSetup again(tc.ctx);
    QCOMPARE(again.txtCoInfo[index]->text(), text);
}

void tst_setup_forms::includeBoxesStored() {
    TestContext tc;
    frmSetup f(tc.ctx);
    f.cmdCoEdit_Click();
    f.ckbLetterHead->setChecked(true);
    f.ckbCoName->setChecked(false);
    f.ckbCoWeb->setChecked(true);
    QVERIFY(f.cmdCoSave_Click());
    QCOMPARE(tc.ctx.settings->get("CoInfoInc", "LetHead"), QStringLiteral("1"));
    QCOMPARE(tc.ctx.settings->get("CoInfoInc", "Name"), QStringLiteral("0"));
    QCOMPARE(tc.ctx.settings->get("CoInfoInc", "WebsiteInc"), QStringLiteral("1"));
    QCOMPARE(tc.ctx.settings->get("CoInfoInc", "CellInc"), QStringLiteral("0"));
    // "Save" leaves the defaults alone and "Save Changes" leaves the company alone.
    QCOMPARE(tc.ctx.settings->get("Op", "Overhead"), QStringLiteral("%-15"));
    f.txtCoInfo[0]->setReadOnly(false);
    f.txtCoInfo[0]->setText("Not saved");
    QVERIFY(f.cmdSaveValues_Click());
    QCOMPARE(tc.ctx.settings->get("CoInfo", "Name"), QStringLiteral("ABC Construction"));
}

void tst_setup_forms::shiftedSectionReadByKey() {
    // "Greet" rewritten by hand at the end and "Cell" missing: reading purely by position would
    // show the overhead in the greeting box and the e-mail address as the cell number, and
    // saving would then store them under the wrong keys.
    TestContext tc;
    writeIni(tc, "[CoInfo]\nName=N\nAddress=A\nCity=C\nST=S\nZip=Z\nPhone=P\nFax=F\n"
                 "Email=e@x.test\nWebsite=w.test\n"
                 "[CoInfoInc]\nName=1\nLetHead=0\n"
                 "[Op]\nOverhead=Fixed-7\nProfit=%-8\nContingency=%-9\nManagement=%-1\n"
                 "WorkComp=40\nEmpTaxes=7\nOtherCosts=1\nFringe=3\nGreet=0\n");
    frmSetup f(tc.ctx);
    QCOMPARE(f.txtCoInfo[7]->text(), QString());
    QCOMPARE(f.txtCoInfo[8]->text(), QStringLiteral("e@x.test"));
    QCOMPARE(f.txtCoInfo[9]->text(), QStringLiteral("w.test"));
    QVERIFY(!f.chkShowGreet->isChecked());
    QVERIFY(f.optFixed[0]->isChecked());
    QCOMPARE(f.txtAdmin[0]->text(), QStringLiteral("7"));
    QCOMPARE(f.txtEmp[3]->text(), QStringLiteral("3"));
    QVERIFY(f.cmdSaveValues_Click());
    QCOMPARE(tc.ctx.settings->get("Op", "Overhead"), QStringLiteral("Fixed-7"));
    QCOMPARE(tc.ctx.settings->get("Op", "Fringe"), QStringLiteral("3"));
    QCOMPARE(tc.ctx.settings->get("Op", "Greet"), QStringLiteral("0"));
}

void tst_setup_forms::missingSettingsOpenEmpty() {
    TestContext tc(TestContext::Setup::Empty);
    frmSetup f(tc.ctx);
    for (QLineEdit* b : f.txtCoInfo)
        QCOMPARE(b->text(), QString());
    QVERIFY(f.chkShowGreet->isChecked());  // start-up shows the greeting without a setting
    QVERIFY(f.ckbLetterHead->isChecked()); // documents print no block without a "0"
    QVERIFY(!f.ckbCoName->isChecked());
    QVERIFY(f.optFixed[0]->isChecked());
    QCOMPARE(f.txtAdmin[0]->text(), QStringLiteral("0"));
    // Saving fills in every key in the order the readers expect.
    for (QLineEdit* b : f.txtEmp)
        b->setText("1");
    QVERIFY(f.cmdSaveValues_Click());
    QStringList order;
    for (const auto& p : section(tc, "Op"))
        order << p.first;
    QCOMPARE(order, SetupValues::opKeys());
    f.cmdCoEdit_Click();
    QVERIFY(f.cmdCoSave_Click());
    order.clear();
    for (const auto& p : section(tc, "CoInfo"))
        order << p.first;
    QCOMPARE(order, SetupValues::coInfoKeys());
}

void tst_setup_forms::unwritableStoreReportedAndStaysOpen() {
    TestContext tc;
    frmSetup f(tc.ctx);
    // A plain file where the settings folder belongs: nothing can be written there.
    const QString dir = QFileInfo(tc.ctx.settings->filePath(App)).path();
    QVERIFY(QDir(dir).removeRecursively());
    QFile blocker(dir);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    f.cmdCoEdit_Click();
    f.txtCoInfo[0]->setText("Kept");
    QVERIFY(!f.cmdCoSave_Click());
    QVERIFY(!f.coFieldsLocked());
    QCOMPARE(f.txtCoInfo[0]->text(), QStringLiteral("Kept"));
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(tc.prompt->lastText().contains(tc.ctx.settings->filePath(App)));

    QVERIFY(!f.cmdSaveValues_Click());
    QVERIFY(f.result().Cancelled);
    QCOMPARE(tc.prompt->count(), 2);
}

void tst_setup_forms::companyBoxesColourOnlyWhenOpen() {
    TestContext tc;
    frmSetup f(tc.ctx);
    f.show();
    QApplication::setActiveWindow(&f);
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const auto base = [](QWidget* w) { return w->palette().color(QPalette::Base); };
    const QColor plain = QApplication::palette(f.txtCoInfo[0]).color(QPalette::Base);
    QVERIFY(plain != QColor(255, 255, 192));
    f.txtCoInfo[1]->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.txtCoInfo[1]->hasFocus());
    QCOMPARE(base(f.txtCoInfo[1]), plain);
    QTest::mouseClick(f.cmdCoEdit, Qt::LeftButton);
    QTRY_VERIFY(f.txtCoInfo[0]->hasFocus());
    QCOMPARE(base(f.txtCoInfo[0]), QColor(255, 255, 192));
    QCOMPARE(f.txtCoInfo[0]->selectedText(), QStringLiteral("ABC Construction"));
    f.txtCoInfo[1]->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(f.txtCoInfo[1]->hasFocus());
    QCOMPARE(base(f.txtCoInfo[0]), plain);
    QCOMPARE(base(f.txtCoInfo[1]), QColor(255, 255, 192));
}

QTEST_MAIN(tst_setup_forms)
#include "tst_setup_forms.moc"
