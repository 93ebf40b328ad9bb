// The shipped proposal and contract as the home owner gets them: printed to PDF with the
// company's logo, a letterhead, the price kept with the acceptance, and page numbers.
#include "EstimateFixture.h"
#include "TestContext.h"

#include "documents/CompanyLogo.h"
#include "documents/PrintRichText.h"
#include "documents/Templates.h"
#include "documents/modDocs.h"
#include "settings/SettingsStore.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

// Where the PDFs go: a folder named by CORVANEL_KEEP_PDF (to look at them), else a temporary
// one.
QString outputDir(QTemporaryDir& tmp) {
    const QString keep = qEnvironmentVariable("CORVANEL_KEEP_PDF");
    if (keep.isEmpty())
        return tmp.path();
    QDir().mkpath(keep);
    return keep;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pagesOf(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString textOfPage(const QString& pdf, int page) {
    return run("pdftotext",
               {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

void setUpCompany(TestContext& tc, const QString& logoDir) {
    SettingsStore& s = *tc.ctx.settings;
    s.set("CoInfo", "Name", "Høyer & O'Neil Roofing");
    s.set("CoInfoInc", "EmailInc", "1");
    s.set("CoInfoInc", "WebsiteInc", "1");
    QImage logo(240, 120, QImage::Format_RGB32);
    logo.fill(QColor(200, 30, 30));
    QVERIFY(logo.save(logoDir + "/logo.png"));
    QVERIFY(CompanyLogo::install(tc.ctx, logoDir + "/logo.png", nullptr));
}

} // namespace

class tst_shipped_print : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void documentOnTwoPages_data();
    void documentOnTwoPages();
};

void tst_shipped_print::documentOnTwoPages_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("firstPage");
    QTest::addColumn<QStringList>("lastPage");
    QTest::newRow("proposal") << "proposal"
                              << QStringList{"Høyer & O'Neil Roofing", "Scope of Work",
                                             "Tear off and re-roof the house"}
                              << QStringList{"Price", "Total price", "$1,420.00",
                                             "Acceptance of Proposal", "valid until 3/31/2026"};
    QTest::newRow("contract") << "contract"
                              << QStringList{"The contractor", "The owner",
                                             "Høyer & O'Neil Roofing", "Mary O'Brien",
                                             "Half down, half on completion"}
                              << QStringList{"Signatures"};
}

void tst_shipped_print::documentOnTwoPages() {
    QFETCH(QString, kind);
    QFETCH(QStringList, firstPage);
    QFETCH(QStringList, lastPage);
    TestContext tc;
    QTemporaryDir tmp;
    setUpCompany(tc, tmp.path());
    EstimateFixture e(tc.ctx);
    e.section("Shingles", 1);
    e.line(1, "Shingles", "Laminated shingles", "Material", 20, "Bundle", Money::fromCents(3250));
    e.line(1, "Shingles", "Roofer labor", "Labor", 10, "Hour", Money::fromCents(2500));
    e.line(1, "Shingles", "Dump fee", "Fee", 1, "Each", Money::fromCents(10000));
    QVERIFY(Templates::install(tc.ctx));

    QTextDocument doc;
    modDocs::BuildPage(tc.ctx, kind, doc);
    QCOMPARE(tc.prompt->texts(), QStringList());
    const QString pdf = outputDir(tmp) + "/" + kind + ".pdf";
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        QCOMPARE(PrintRichText(doc, writer), 2);
    }
    QCOMPARE(pagesOf(pdf), 2);
    const QString one = textOfPage(pdf, 1);
    const QString two = textOfPage(pdf, 2);
    QVERIFY2(one.contains("Page 1 of 2"), qPrintable(one));
    QVERIFY2(two.contains("Page 2 of 2"), qPrintable(two));
    for (const QString& words : firstPage)
        QVERIFY2(one.contains(words), qPrintable(words + " not on page 1:\n" + one));
    for (const QString& words : lastPage)
        QVERIFY2(two.contains(words), qPrintable(words + " not on page 2:\n" + two));
    // Each party once: the company's name heads the letterhead or the contract's parties, and
    // signs; it is not printed a third time.
    QVERIFY((one + two).count("Høyer & O'Neil Roofing") <= 3);
    QCOMPARE((one + two).count("Mary O'Brien"), kind == "proposal" ? 2 : 1);
    // The logo is drawn on every page.
    const QString images = run("pdfimages", {"-list", pdf});
    QVERIFY2(images.count(QRegularExpression("\\n\\s+[12]\\s+\\d+\\s+image")) >= 2,
             qPrintable(images));
}

QTEST_MAIN(tst_shipped_print)
#include "tst_shipped_print.moc"
