#include "EstimateFixture.h"
#include "TestContext.h"

#include "documents/CompanyLogo.h"
#include "documents/DocDates.h"
#include "documents/Placeholders.h"
#include "documents/Rtf.h"
#include "documents/Templates.h"
#include "documents/modDocs.h"
#include "settings/SettingsStore.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

namespace {

QByteArray pictureBytes(const char* format, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::darkBlue);
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, format);
    return bytes;
}

QString writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(data);
    return path;
}

// The images a document shows, in document order.
QList<QTextImageFormat> imagesOf(const QTextDocument& doc) {
    QList<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                out << it.fragment().charFormat().toImageFormat();
    return out;
}

QString headerText(const QTextDocument& doc, Rtf::RunningHead which) {
    QTextDocument head;
    Rtf::read(Rtf::runningHead(doc, which), head);
    return head.toPlainText();
}

const QByteArray LetterheadTemplate =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
    "{\\header\\pard <<CoLogo>> <<CoName>>\\par}"
    "{\\footer\\pard\\qc Page {\\field{\\*\\fldinst PAGE }{\\fldrslt 1}} of "
    "{\\field{\\*\\fldinst NUMPAGES }{\\fldrslt 1}}\\par}"
    "\\pard Dear <<LastName>>, dated <<Date>>\\par}";

} // namespace

class tst_doctext : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shortDate_data();
    void shortDate();
    void fullDate_data();
    void fullDate();
    void fillOnePass();
    void fillKeepsFormatAndLeavesUnknown();
    void fillReachesHeadersAndFooters();
    void logoSize_data();
    void logoSize();
    void logoInstall();
    void logoRefused_data();
    void logoRefused();
    void proposalPrintsLogoInHeader();
    void coInfoCompact();
    void companyNameHeadsTheLetterhead_data();
    void companyNameHeadsTheLetterhead();
    void wrappedNameKeepsAGap();
    void expiry();
};

void tst_doctext::shortDate_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    const QDate d(2026, 12, 7);
    QTest::newRow("US month first")
        << QLocale(QLocale::English, QLocale::UnitedStates) << d << "12/7/2026";
    QTest::newRow("UK day first") << QLocale(QLocale::English, QLocale::UnitedKingdom) << d
                                  << "07/12/2026";
    QTest::newRow("German dots") << QLocale(QLocale::German, QLocale::Germany) << d << "07.12.2026";
    QTest::newRow("year before 2000")
        << QLocale(QLocale::English, QLocale::UnitedStates) << QDate(1999, 1, 2) << "1/2/1999";
    QTest::newRow("invalid") << QLocale(QLocale::English, QLocale::UnitedStates) << QDate()
                             << QString();
}

void tst_doctext::shortDate() {
    QFETCH(QLocale, locale);
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(DocDates::shortDate(date, locale), expected);
}

void tst_doctext::fullDate_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("US") << QLocale(QLocale::English, QLocale::UnitedStates) << "December 7, 2026";
    QTest::newRow("UK") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "7 December 2026";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "7. Dezember 2026";
}

void tst_doctext::fullDate() {
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(DocDates::fullDate(QDate(2026, 12, 7), locale), expected);
}

void tst_doctext::fillOnePass() {
    QTextDocument doc;
    doc.setPlainText("To <<LastName>> on <<Date>>; <<LastName>> again");
    Placeholders::Values v;
    // An owner whose name reads like a placeholder: printed as typed, never filled in again.
    v["<<LastName>>"] = Placeholders::Value::ofText("<<Date>> Smith");
    v["<<Date>>"] = Placeholders::Value::ofText("12/7/2026");
    QCOMPARE(Placeholders::fill(doc, v), 3);
    QCOMPARE(doc.toPlainText(), QString("To <<Date>> Smith on 12/7/2026; <<Date>> Smith again"));
}

void tst_doctext::fillKeepsFormatAndLeavesUnknown() {
    QTextDocument doc;
    Rtf::read("{\\rtf1\\ansi Hi {\\b <<CoName>>} <<Nope>> <<coname>>\\par <<CoInfo>>\\par}", doc);
    Placeholders::Values v;
    v["<<CoName>>"] = Placeholders::Value::ofText("O'Brien & Søn");
    v["<<CoInfo>>"] = Placeholders::Value::ofText("Line one\nLine two");
    QCOMPARE(Placeholders::fill(doc, v), 2);
    QCOMPARE(doc.toPlainText(),
             QString("Hi O'Brien & Søn <<Nope>> <<coname>>\nLine one\nLine two\n"));
    QTextCursor c(&doc);
    c.setPosition(5);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
    // Lines of a value are paragraphs of their own.
    QCOMPARE(doc.blockCount(), 4);
}

void tst_doctext::fillReachesHeadersAndFooters() {
    QTextDocument doc;
    QVERIFY(Rtf::read(LetterheadTemplate, doc));
    Placeholders::Values v;
    v["<<CoName>>"] = Placeholders::Value::ofText("Høyer Roofing");
    v["<<CoLogo>>"] = Placeholders::Value::ofText(QString());
    v["<<LastName>>"] = Placeholders::Value::ofText("Mary");
    v["<<Date>>"] = Placeholders::Value::ofText("today");
    QCOMPARE(Placeholders::fill(doc, v), 4);
    QCOMPARE(headerText(doc, Rtf::RunningHead::Header).trimmed(), QString("Høyer Roofing"));
    QCOMPARE(doc.toPlainText(), QString("Dear Mary, dated today\n"));
    // The footer had nothing to fill and keeps its page fields.
    QTextDocument footer;
    Rtf::read(Rtf::runningHead(doc, Rtf::RunningHead::Footer), footer);
    bool pageField = false;
    for (QTextBlock b = footer.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            pageField = pageField || Rtf::fieldOf(it.fragment().charFormat()) == Rtf::Field::Page;
    QVERIFY(pageField);
}

void tst_doctext::logoSize_data() {
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("twips");
    QTest::newRow("small stays its size") << QSize(60, 40) << QSize(900, 600);
    QTest::newRow("tall shrinks to 3/4 inch") << QSize(300, 300) << QSize(1080, 1080);
    QTest::newRow("wide shrinks to 2 1/2 inches") << QSize(1200, 120) << QSize(3600, 360);
    QTest::newRow("empty") << QSize(0, 10) << QSize();
}

void tst_doctext::logoSize() {
    QFETCH(QSize, pixels);
    QFETCH(QSize, twips);
    QCOMPARE(CompanyLogo::printedTwips(pixels), twips);
}

void tst_doctext::logoInstall() {
    TestContext tc;
    QTemporaryDir src;
    QCOMPARE(CompanyLogo::path(tc.ctx), QString());
    const QString png = writeFile(src.path() + "/mark.PNG", pictureBytes("PNG", {120, 60}));
    QString problem;
    QVERIFY2(CompanyLogo::install(tc.ctx, png, &problem), qPrintable(problem));
    QCOMPARE(CompanyLogo::path(tc.ctx), tc.ctx.dataDir() + "/logo.png");
    // The copy stays when the original goes.
    QFile::remove(png);
    QVERIFY(QFileInfo::exists(CompanyLogo::path(tc.ctx)));
    // A JPEG replaces it, and the PNG copy is removed.
    const QString jpg = writeFile(src.path() + "/mark.jpeg", pictureBytes("JPEG", {40, 40}));
    QVERIFY(CompanyLogo::install(tc.ctx, jpg, &problem));
    QCOMPARE(CompanyLogo::path(tc.ctx), tc.ctx.dataDir() + "/logo.jpg");
    QVERIFY(!QFileInfo::exists(tc.ctx.dataDir() + "/logo.png"));
    // A setting pointing outside the data folder is not followed.
    tc.ctx.settings->set("CoInfo", "Logo", "../estimates/x.png");
    QCOMPARE(CompanyLogo::path(tc.ctx), QString());
    tc.ctx.settings->set("CoInfo", "Logo", "logo.jpg");
    CompanyLogo::remove(tc.ctx);
    QCOMPARE(CompanyLogo::path(tc.ctx), QString());
    QVERIFY(!QFileInfo::exists(tc.ctx.dataDir() + "/logo.jpg"));
}

void tst_doctext::logoRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArray("not a picture");
    QTest::newRow("bitmap of another kind") << pictureBytes("BMP", {10, 10});
    QTest::newRow("cut-off PNG") << pictureBytes("PNG", {200, 200}).left(40);
    QTest::newRow("empty file") << QByteArray();
}

void tst_doctext::logoRefused() {
    QFETCH(QByteArray, bytes);
    TestContext tc;
    QTemporaryDir src;
    const QString good = writeFile(src.path() + "/good.png", pictureBytes("PNG", {20, 20}));
    QVERIFY(CompanyLogo::install(tc.ctx, good, nullptr));
    const QString bad = writeFile(src.path() + "/l'logo é.png", bytes);
    QString problem;
    QVERIFY(!CompanyLogo::acceptable(bad, &problem));
    QVERIFY(!CompanyLogo::install(tc.ctx, bad, &problem));
    QVERIFY2(problem.contains("l'logo é.png"), qPrintable(problem));
    // The logo before stays.
    QCOMPARE(CompanyLogo::path(tc.ctx), tc.ctx.dataDir() + "/logo.png");
    QCOMPARE(QImage(CompanyLogo::path(tc.ctx)).size(), QSize(20, 20));
}

void tst_doctext::proposalPrintsLogoInHeader() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    e.section("Roof", 1);
    e.line(1, "Roof", "Shingles", "Material", 10, "Bundle", Money::fromCents(3000));
    QTemporaryDir src;
    QVERIFY(CompanyLogo::install(
        tc.ctx, writeFile(src.path() + "/l.png", pictureBytes("PNG", {96, 48})), nullptr));
    QDir().mkpath(tc.ctx.templatesDir());
    writeFile(tc.ctx.templatesDir() + "/proposal.rtf", LetterheadTemplate);
    tc.ctx.settings->set("CoInfo", "Name", "Høyer & Sons");

    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "proposal", box);
    QCOMPARE(tc.prompt->texts(), QStringList());
    QTextDocument head;
    QVERIFY(Rtf::read(Rtf::runningHead(box, Rtf::RunningHead::Header), head));
    QCOMPARE(head.toPlainText().trimmed(),
             QString(QChar::ObjectReplacementCharacter) + " Høyer & Sons");
    const QList<QTextImageFormat> images = imagesOf(head);
    QCOMPARE(images.size(), 1);
    // An inch wide and half an inch tall: 96 by 48 pixels of the document's unit.
    QCOMPARE(qRound(images[0].width()), 96);
    QCOMPARE(qRound(images[0].height()), 48);
    QVERIFY(box.toPlainText().startsWith("Dear Mary O'Brien, dated 12/7/2026") ||
            box.toPlainText().startsWith("Dear Mary O'Brien, dated " +
                                         DocDates::shortDate(QDate::currentDate())));

    // On letterhead paper neither the logo nor the company lines print.
    tc.ctx.settings->set("CoInfoInc", "LetHead", "1");
    modDocs::BuildPage(tc.ctx, "proposal", box);
    QTextDocument plainHead;
    Rtf::read(Rtf::runningHead(box, Rtf::RunningHead::Header), plainHead);
    QVERIFY(imagesOf(plainHead).isEmpty());
}

void tst_doctext::coInfoCompact() {
    TestContext tc;
    SettingsStore& s = *tc.ctx.settings;
    for (const char* k : {"FaxInc", "CellInc", "AddressInc"})
        s.set("CoInfoInc", k, "0");
    s.set("CoInfoInc", "EmailInc", "1");
    s.set("CoInfoInc", "WebsiteInc", "1");
    s.set("CoInfo", "Website", "");
    // Skipped lines leave no gap, and nothing follows the last line.
    QCOMPARE(modDocs::GetCoInfo(tc.ctx),
             QString("ABC Construction\nAnytown, MT 54321-1234\n406/123-4567\n"
                     "office@abcconstruction.example"));
}

void tst_doctext::companyNameHeadsTheLetterhead_data() {
    QTest::addColumn<QString>("nameInc");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<bool>("bold");
    QTest::newRow("name printed") << "1"
                                  << "Søren & O'Neil Roofing" << true;
    QTest::newRow("name left out") << "0"
                                   << "5454 Builders Lane" << false;
}

// The proposal's letterhead (in its header) starts with the company's name in bold; the lines
// below it, and an address heading a block without the name, stay plain.
void tst_doctext::companyNameHeadsTheLetterhead() {
    QFETCH(QString, nameInc);
    QFETCH(QString, firstLine);
    QFETCH(bool, bold);
    TestContext tc;
    tc.ctx.settings->set("CoInfo", "Name", "Søren & O'Neil Roofing");
    tc.ctx.settings->set("CoInfoInc", "Name", nameInc);
    EstimateFixture e(tc.ctx);
    QVERIFY(Templates::install(tc.ctx));
    QTextDocument doc;
    modDocs::BuildPage(tc.ctx, "proposal", doc);
    QTextDocument head;
    QVERIFY(Rtf::read(Rtf::runningHead(doc, Rtf::RunningHead::Header), head));
    const QTextCursor first = head.find(firstLine);
    QVERIFY2(!first.isNull(), qPrintable(head.toPlainText()));
    QTextCursor c(&head);
    c.setPosition(first.selectionStart() + 1);
    QCOMPARE(c.charFormat().fontWeight() >= QFont::Bold, bold);
    const QTextCursor city = head.find("Anytown, MT");
    QVERIFY(!city.isNull());
    c.setPosition(city.selectionStart() + 1);
    QVERIFY(c.charFormat().fontWeight() < QFont::Bold);
}

void tst_doctext::wrappedNameKeepsAGap() {
    // The first line of the name fills its 29 characters exactly without the gap.
    const QString name = "Ice and water shield, 3 ft at eaves";
    const QStringList lines =
        modDocs::PadRow({{name, 1}, {"SubCon", 2}, {"2", 3}, {"Roll", 4}, {"$9.00", 5}})
            .split("\r\n");
    QCOMPARE(lines[0].left(29), QString("Ice and water shield, 3 ft").leftJustified(29));
    QCOMPARE(lines[0].mid(29, 6), QString("SubCon"));
    QCOMPARE(lines[1], QString("at eaves"));
    // A word longer than the column is cut one short of it.
    const QStringList cut = modDocs::PadRow({{QString(40, 'x'), 1}, {"T", 2}}).split("\r\n");
    QCOMPARE(cut[0], QString(28, 'x') + " T" + QString(12, ' '));
    QCOMPARE(cut[1], QString(12, 'x'));
}

void tst_doctext::expiry() {
    QCOMPARE(modDocs::expiryDate("2026-03-01", 30), QDate(2026, 3, 31));
    QCOMPARE(modDocs::expiryDate("2026-03-01 10:00:00", 0), QDate(2026, 3, 1));
    QVERIFY(!modDocs::expiryDate("", 30).isValid());
    QCOMPARE(modDocs::expiryText("2026-03-01", 30), QString("3/31/2026"));
    TestContext tc;
    EstimateFixture e(tc.ctx);
    QCOMPARE(modDocs::storedExpiryDate(tc.ctx, tc.ctx.EstID), QDate(2026, 3, 31));
    QVERIFY(!modDocs::storedExpiryDate(tc.ctx, 9999).isValid());
}

QTEST_MAIN(tst_doctext)
#include "tst_doctext.moc"
