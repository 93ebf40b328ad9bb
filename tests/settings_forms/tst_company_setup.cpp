// The company first: the start page's notice while the company is the sample one, and the
// logo chosen in Setup.
#include "TestContext.h"
#include "UiTest.h"

#include "app/CompanyNotice.h"
#include "app/StartPage.h"
#include "app/frmCorvanel.h"
#include "documents/CompanyLogo.h"
#include "settings/SettingsStore.h"
#include "settings/SetupValues.h"
#include "settings/forms/frmSetup.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString savePicture(const QString& path, const char* format, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img.save(path, format) ? path : QString();
}

} // namespace

class tst_company_setup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sampleCompany_data();
    void sampleCompany();
    void noticeLeadsToSetupAndGoes();
    void logoChosenStoredOnSave();
    void logoCancelledOrRemoved();
    void logoRefusedKeepsTheOldOne();
};

void tst_company_setup::sampleCompany_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("sample");
    QTest::newRow("shipped") << "ABC Construction" << true;
    QTest::newRow("blanks and case") << "  abc  construction " << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("own") << "Høyer & O'Neil Roofing" << false;
}

void tst_company_setup::sampleCompany() {
    QFETCH(QString, name);
    QFETCH(bool, sample);
    TestContext tc;
    tc.ctx.settings->set("CoInfo", "Name", name);
    QCOMPARE(SetupValues::companyIsSample(*tc.ctx.settings), sample);
}

void tst_company_setup::noticeLeadsToSetupAndGoes() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* notice = w.startPage->findChild<CompanyNotice*>();
    QVERIFY(notice);
    QVERIFY(notice->isVisible());
    QVERIFY(notice->lblCompanyNotice->text().contains("ABC Construction"));
    // The button opens Setup; the user enters the company and saves it.
    bool opened = false;
    UiTest::whenModal([&](QWidget* m) {
        auto* setup = qobject_cast<frmSetup*>(m);
        opened = setup != nullptr;
        if (!setup) {
            m->close();
            return;
        }
        setup->cmdCoEdit->click();
        setup->txtCoInfo[0]->setText("Høyer Roofing");
        setup->cmdCoSave->click();
        setup->reject();
    });
    notice->cmdCompanySetup->click();
    QVERIFY(opened);
    QCOMPARE(tc.ctx.settings->get("CoInfo", "Name"), QString("Høyer Roofing"));
    QVERIFY(!notice->isVisible());
    // Once the company is the user's, a new window shows no notice.
    frmCorvanel again(tc.ctx);
    again.show();
    QVERIFY(!again.startPage->findChild<CompanyNotice*>()->isVisible());
}

void tst_company_setup::logoChosenStoredOnSave() {
    TestContext tc;
    QTemporaryDir src;
    const QString png = savePicture(src.path() + "/Logo d'été.png", "PNG", {200, 80});
    frmSetup f(tc.ctx);
    QCOMPARE(f.imgLogo->text(), QString("No logo"));
    QVERIFY(!f.cmdLogo->isEnabled());
    f.cmdCoEdit->click();
    QVERIFY(f.cmdLogo->isEnabled());
    f.logoFileName = [&] { return png; };
    f.cmdLogo->click();
    // Shown at once, stored only by Save.
    QVERIFY(!f.imgLogo->pixmap().isNull());
    QCOMPARE(CompanyLogo::path(tc.ctx), QString());
    QVERIFY(f.cmdCoSave_Click());
    QCOMPARE(CompanyLogo::path(tc.ctx), tc.ctx.dataDir() + "/logo.png");
    QCOMPARE(QImage(CompanyLogo::path(tc.ctx)).size(), QSize(200, 80));
    QVERIFY(!f.cmdLogo->isEnabled());
    QCOMPARE(tc.prompt->count(), 0);
    // A new Setup window shows the stored logo.
    frmSetup again(tc.ctx);
    QVERIFY(!again.imgLogo->pixmap().isNull());
}

void tst_company_setup::logoCancelledOrRemoved() {
    TestContext tc;
    QTemporaryDir src;
    QVERIFY(CompanyLogo::install(tc.ctx, savePicture(src.path() + "/a.jpg", "JPEG", {50, 50}),
                                 nullptr));
    frmSetup f(tc.ctx);
    f.cmdCoEdit->click();
    f.cmdLogoRemove->click();
    QCOMPARE(f.imgLogo->text(), QString("No logo"));
    // Cancel puts the stored logo back on screen and keeps it.
    f.cmdCoCancel->click();
    QVERIFY(!f.imgLogo->pixmap().isNull());
    QCOMPARE(CompanyLogo::path(tc.ctx), tc.ctx.dataDir() + "/logo.jpg");
    // A cancelled file dialog changes nothing either.
    f.cmdCoEdit->click();
    f.logoFileName = [] { return QString(); };
    f.cmdLogo->click();
    QVERIFY(!f.imgLogo->pixmap().isNull());
    f.cmdLogoRemove->click();
    QVERIFY(f.cmdCoSave_Click());
    QCOMPARE(CompanyLogo::path(tc.ctx), QString());
    QVERIFY(!QFile::exists(tc.ctx.dataDir() + "/logo.jpg"));
}

void tst_company_setup::logoRefusedKeepsTheOldOne() {
    TestContext tc;
    QTemporaryDir src;
    QVERIFY(
        CompanyLogo::install(tc.ctx, savePicture(src.path() + "/a.png", "PNG", {30, 30}), nullptr));
    const QString bad = src.path() + "/letter.png";
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1 not a picture}");
    f.close();
    frmSetup s(tc.ctx);
    s.cmdCoEdit->click();
    s.logoFileName = [&] { return bad; };
    s.cmdLogo->click();
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(tc.prompt->lastText().contains("letter.png"));
    QVERIFY(tc.prompt->lastText().contains("PNG or JPEG"));
    QVERIFY(s.cmdCoSave_Click());
    QCOMPARE(QImage(CompanyLogo::path(tc.ctx)).size(), QSize(30, 30));
    // A picture that disappears between choosing and saving is said so; the fields stay open.
    const QString gone = savePicture(src.path() + "/gone.png", "PNG", {10, 10});
    s.cmdCoEdit->click();
    s.logoFileName = [&] { return gone; };
    s.cmdLogo->click();
    QFile::remove(gone);
    QVERIFY(!s.cmdCoSave_Click());
    QVERIFY(tc.prompt->lastText().contains("gone.png"));
    QVERIFY(!s.coFieldsLocked());
    QCOMPARE(QImage(CompanyLogo::path(tc.ctx)).size(), QSize(30, 30));
}

QTEST_MAIN(tst_company_setup)
#include "tst_company_setup.moc"
