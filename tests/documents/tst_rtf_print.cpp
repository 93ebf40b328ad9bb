// What comes out on paper: PrintRichText into a PDF, read back with poppler's tools (skipped
// where they are missing), and beside what LibreOffice Writer prints of the same file.
#include "tst_rtf_print.h"
#include "RtfTestSupport.h"

#include "documents/PrintRichText.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace rtftest;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(180000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int printPdf(const QByteArray& data, const QString& path, int marginTwips = 1440) {
    QTextDocument doc;
    if (!Rtf::read(data, doc))
        return -1;
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    return PrintRichText(doc, pdf, marginTwips, marginTwips, marginTwips, marginTwips);
}

int pageCount(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QSizeF pageSize(const QString& pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QString pageText(const QString& pdf, int page) {
    return run("pdftotext",
               {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
}

// Where a word first stands on its page, in points from the top left corner.
QPointF wordAt(const QString& pdf, const QString& word) {
    const QString xml = run("pdftotext", {"-bbox", pdf, "-"});
    const QRegularExpression re(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>%1<")
                                    .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch m = re.match(xml);
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())
                        : QPointF(-1, -1);
}

// The longest horizontal rule on a page, as (left, right) in points: a table's width. Gaps
// of up to a point are bridged: Qt rounds where a cell's edge meets its neighbour's to whole
// pixels of the layout (three quarters of a point), which leaves a notch at some joins.
QPair<double, double> longestRule(const QString& pdf, int page) {
    QTemporaryDir dir;
    constexpr int Dpi = 144;
    run("pdftoppm", {"-png", "-r", QString::number(Dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", pdf, dir.filePath("p")});
    const QImage img(dir.filePath("p.png"));
    int best = 0, bestLeft = 0;
    constexpr int MaxGap = Dpi / 72;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int start = -1, lastDark = -1;
        for (int x = 0; x <= img.width(); ++x) {
            const bool dark = x < img.width() && qGray(line[x]) < 200;
            if (dark) {
                if (start < 0 || x - lastDark > MaxGap + 1)
                    start = x;
                lastDark = x;
                if (x + 1 - start > best) {
                    best = x + 1 - start;
                    bestLeft = start;
                }
            }
        }
    }
    const double scale = 72.0 / Dpi;
    return {bestLeft * scale, (bestLeft + best) * scale};
}

bool hasPoppler() {
    return hasTool("pdfinfo") && hasTool("pdftotext") && hasTool("pdftoppm");
}

QByteArray source(const QString& name) {
    return name.startsWith(':') ? readFile(name) : corpus(name);
}

} // namespace

void TestRtfPrint::initTestCase() {
    if (!hasPoppler())
        QSKIP("poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed");
}

void TestRtfPrint::pageOfTheDocument_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("margin"); // the caller's, in twips
    QTest::addColumn<QString>("word");
    QTest::addColumn<QSizeF>("paper"); // points
    QTest::addColumn<QPointF>("at");   // where the word stands
    // Without a page of its own: the printer's Letter paper and the caller's margins.
    QTest::newRow("caller's margins")
        << rtf("\\f1 Roofing") << 1440 << "Roofing" << QSizeF(612, 792) << QPointF(72, 72);
    QTest::newRow("wider caller's margins")
        << rtf("\\f1 Roofing") << 2880 << "Roofing" << QSizeF(612, 792) << QPointF(144, 144);
    // With one: its paper, orientation and margins, whatever the caller says.
    QTest::newRow("landscape") << corpus("writer_landscape.rtf") << 1440 << "Landscape"
                               << QSizeF(792, 612) << QPointF(108, 54);
    QTest::newRow("A4") << corpus("writer_table.rtf") << 2880 << "Estimate" << QSizeF(595, 842)
                        << QPointF(56.7, 56.7);
    // Indents print at their size: half an inch is 36 points.
    QTest::newRow("indent") << rtf("\\margl1440\\margt1440\\li720 Roofing") << 2880 << "Roofing"
                            << QSizeF(612, 792) << QPointF(108, 72);
}
void TestRtfPrint::pageOfTheDocument() {
    QFETCH(QByteArray, data);
    QFETCH(int, margin);
    QFETCH(QString, word);
    QFETCH(QSizeF, paper);
    QFETCH(QPointF, at);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("out.pdf");
    QCOMPARE(printPdf(data, pdf, margin), 1);
    const QSizeF size = pageSize(pdf);
    QVERIFY2(qAbs(size.width() - paper.width()) < 1 && qAbs(size.height() - paper.height()) < 1,
             qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
    const QPointF found = wordAt(pdf, word);
    QVERIFY2(qAbs(found.x() - at.x()) < 1.5 && qAbs(found.y() - at.y()) < 4,
             qPrintable(QString("%1 at %2, %3").arg(word).arg(found.x()).arg(found.y())));
}

void TestRtfPrint::headersAndFooters() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("letterhead.pdf");
    QCOMPARE(printPdf(corpus("writer_letterhead.rtf"), pdf), 2);
    QCOMPARE(pageCount(pdf), 2);
    for (int page = 1; page <= 2; ++page) {
        const QString text = pageText(pdf, page);
        QVERIFY2(text.contains("Summit Ridge Roofing"), qPrintable(text));
        QVERIFY(text.contains("14 Quarry Lane, Millbrook"));
        QVERIFY2(text.contains(QStringLiteral("Page %1 of 2").arg(page)), qPrintable(text));
        // Once each: the header is not part of the body.
        QCOMPARE(text.count("Summit Ridge Roofing"), 1);
    }
    // The logo is drawn: dark blue in the header's corner.
    QTemporaryDir images;
    run("pdftoppm",
        {"-png", "-r", "72", "-f", "1", "-l", "1", "-singlefile", pdf, images.filePath("p")});
    const QImage page(images.filePath("p.png"));
    const QColor logo = page.pixelColor(62, 94);
    QVERIFY2(logo.blue() > 80 && logo.red() < 60, qPrintable(logo.name()));
    // The body begins below the header.
    QVERIFY(wordAt(pdf, "Proposal").y() > wordAt(pdf, "Millbrook").y() + 10);
}

void TestRtfPrint::firstPageHeader() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("first.pdf");
    QCOMPARE(printPdf(rtf("\\paperw12240\\paperh15840\\titlepg{\\headerf\\pard COVER\\par}"
                          "{\\header\\pard RUNNING {\\field{\\*\\fldinst PAGE}{\\fldrslt 9}}/"
                          "\\chpgn\\par}{\\footerf\\pard of {\\field{\\*\\fldinst NUMPAGES}"
                          "{\\fldrslt 9}}\\par}one\\page two\\page three"),
                      pdf),
             3);
    QVERIFY(pageText(pdf, 1).contains("COVER"));
    QVERIFY(!pageText(pdf, 1).contains("RUNNING"));
    QVERIFY(pageText(pdf, 1).contains("of 3"));
    QVERIFY(pageText(pdf, 2).contains("RUNNING 2/2"));
    QVERIFY(pageText(pdf, 3).contains("RUNNING 3/3"));
    QVERIFY(!pageText(pdf, 3).contains("COVER"));
}

// A line at the foot of a page is printed on that page only, not again (clipped) on the next.
void TestRtfPrint::lineOnceAcrossPages() {
    QByteArray body = "\\paperw12240\\paperh15840\\margt1440\\margb1440";
    for (int i = 1; i <= 400; ++i)
        body += "{\\fs" + QByteArray::number(18 + i % 13) + " Line" + QByteArray::number(i) +
                "end}\\par ";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("lines.pdf");
    const int pages = printPdf(rtf(body), pdf);
    QVERIFY(pages > 5);
    QString all;
    for (int page = 1; page <= pages; ++page)
        all += pageText(pdf, page);
    for (int i = 1; i <= 400; ++i)
        QCOMPARE(all.count(QStringLiteral("Line%1end").arg(i)), 1);
}

void TestRtfPrint::blankFormsRuled_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("pages");
    QTest::newRow("takeoff") << ":/templates/takeoff.rtf" << 2;
    QTest::newRow("estimate detail") << ":/templates/estimatedetail.rtf" << 2;
    QTest::newRow("estimate main") << ":/templates/estimatemain.rtf" << 1;
}
// The shipped blank forms print their grids ruled, the width of the text (6.5 inches).
void TestRtfPrint::blankFormsRuled() {
    QFETCH(QString, form);
    QFETCH(int, pages);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("form.pdf");
    QCOMPARE(printPdf(readFile(form), pdf), pages);
    const auto [left, right] = longestRule(pdf, 1);
    QVERIFY2(qAbs(right - left - 468) < 3 && qAbs(left - 68.4) < 3,
             qPrintable(QString("rule from %1 to %2").arg(left).arg(right)));
}

void TestRtfPrint::matchesWriter_data() {
    QTest::addColumn<QString>("file");
    for (const char* f :
         {"writer_table.rtf", "writer_landscape.rtf", "writer_letterhead.rtf",
          "writer_paragraphs.rtf", ":/templates/takeoff.rtf", ":/templates/estimatedetail.rtf",
          ":/templates/estimatemain.rtf", ":/templates/proposal.rtf", ":/templates/contract.rtf"})
        QTest::newRow(f) << QString(f);
}
// Printed by the program and by Writer, a file has the same pages, and its tables the same
// width in the same place, within a few points.
void TestRtfPrint::matchesWriter() {
    if (!hasTool("soffice"))
        QSKIP("LibreOffice (soffice) is not installed");
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString name = QFileInfo(file).completeBaseName();
    const QString rtfPath = dir.filePath(name + ".rtf");
    {
        QFile out(rtfPath);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(source(file));
    }
    const QString ours = dir.filePath("ours.pdf");
    const int pages = printPdf(source(file), ours);
    QDir().mkpath(dir.filePath("writer"));
    run("soffice", {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                    "--convert-to", "pdf", "--outdir", dir.filePath("writer"), rtfPath});
    const QString theirs = dir.filePath("writer/" + name + ".pdf");
    QVERIFY2(QFile::exists(theirs), "Writer made no PDF");
    const int writerPages = pageCount(theirs);
    QString figures =
        QStringLiteral("%1: pages %2 (Writer %3)").arg(name).arg(pages).arg(writerPages);
    QCOMPARE(pages, writerPages);
    for (int page = 1; page <= pages; ++page) {
        const auto [left, right] = longestRule(ours, page);
        const auto [wLeft, wRight] = longestRule(theirs, page);
        figures += QStringLiteral("; page %1 rule %2-%3 pt (Writer %4-%5)")
                       .arg(page)
                       .arg(left, 0, 'f', 1)
                       .arg(right, 0, 'f', 1)
                       .arg(wLeft, 0, 'f', 1)
                       .arg(wRight, 0, 'f', 1);
        QVERIFY2(qAbs((right - left) - (wRight - wLeft)) <= 3, qPrintable(figures));
        QVERIFY2(qAbs(left - wLeft) <= 3, qPrintable(figures));
    }
    qInfo("%s", qPrintable(figures));
}
