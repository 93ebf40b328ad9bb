// What the reader makes of what templates use: tables with their true widths, merges,
// borders and shading; paragraph formats; tracked changes; pictures; page setup, headers and
// footers; and that the writer gives all of it back.
#include "tst_rtf_structure.h"
#include "RtfTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextImageFormat>

using namespace rtftest;

namespace {

QTextBlockFormat blockOf(const QTextDocument& doc, const QString& text) {
    return doc.find(text).block().blockFormat();
}

QTextCharFormat charOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QTextImageFormat firstImage(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
    return {};
}

QByteArray pngBytes(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkBlue);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return out;
}

QString runningText(const QTextDocument& doc, Rtf::RunningHead which) {
    QTextDocument head;
    Rtf::read(Rtf::runningHead(doc, which), head);
    return head.toPlainText();
}

// A row of cells bordered on every edge with a half-point line, each with its text.
QByteArray row(const QList<int>& edges, const QStringList& texts, const QByteArray& extra = {}) {
    QByteArray out = "\\trowd" + extra;
    for (int x : edges)
        out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
               "\\clbrdrr\\brdrs\\brdrw10\\cellx" +
               QByteArray::number(x);
    out += "\\pard\\intbl ";
    for (const QString& t : texts)
        out += t.toLatin1() + "\\cell ";
    return out + "\\row\n";
}

} // namespace

void TestRtfStructure::tableGrid_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("table");
    // Widths are pixels of 96 to the inch: 1440 twips an inch, so 15 twips a pixel.
    QTest::newRow("widths") << rtf(row({1440, 4320}, {"a", "b"}) + "\\pard x")
                            << QStringList{"widths 96.00 192.00 left 0.00", "a:1x1|b:1x1"};
    QTest::newRow("gap moves the cells left")
        << rtf(row({1440, 2880}, {"a", "b"}, "\\trgaph72\\trleft0") + "\\pard x")
        << QStringList{"widths 96.00 96.00 left -4.80", "a:1x1|b:1x1"};
    QTest::newRow("row indent") << rtf(row({2880, 4320}, {"a", "b"}, "\\trleft1440") + "\\pard x")
                                << QStringList{"widths 96.00 96.00 left 96.00", "a:1x1|b:1x1"};
    // A cell as wide as two below it spans their columns; the cell after it keeps its own.
    QTest::newRow("merged by width")
        << rtf(row({3000, 9000}, {"wide", "c"}) + row({3000, 6000, 9000}, {"x", "y", "z"}) +
               "\\pard after")
        << QStringList{"widths 200.00 200.00 200.00 left 0.00", "wide:1x1|c:1x2",
                       "x:1x1|y:1x1|z:1x1"};
    QTest::newRow("merged by marks")
        << rtf("\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\cellx6000\\pard\\intbl m\\cell\\cell "
               "n\\cell\\row\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl a\\cell b\\cell "
               "c\\cell\\row\\pard x")
        << QStringList{"widths 133.33 133.33 133.33 left 0.00", "m:1x2|n:1x1", "a:1x1|b:1x1|c:1x1"};
    QTest::newRow("merged down")
        << rtf("\\trowd\\clvmgf\\cellx2000\\cellx4000\\pard\\intbl tall\\cell a\\cell\\row"
               "\\trowd\\clvmrg\\cellx2000\\cellx4000\\pard\\intbl\\cell b\\cell\\row"
               "\\trowd\\cellx2000\\cellx4000\\pard\\intbl c\\cell d\\cell\\row\\pard x")
        << QStringList{"widths 133.33 133.33 left 0.00", "tall:2x1|a:1x1", "b:1x1", "c:1x1|d:1x1"};
    QTest::newRow("merged both ways")
        << rtf("\\trowd\\clvmgf\\cellx4000\\cellx6000\\pard\\intbl big\\cell a\\cell\\row"
               "\\trowd\\clvmrg\\cellx4000\\cellx6000\\pard\\intbl\\cell b\\cell\\row"
               "\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl c\\cell d\\cell e\\cell\\row"
               "\\pard x")
        << QStringList{"widths 133.33 133.33 133.33 left 0.00", "big:2x2|a:1x1", "b:1x1",
                       "c:1x1|d:1x1|e:1x1"};
    QTest::newRow("short row leaves a gap")
        << rtf(row({2000, 4000}, {"a", "b"}) + row({2000}, {"c"}) + "\\pard x")
        << QStringList{"widths 133.33 133.33 left 0.00", "a:1x1|b:1x1", "c:1x1|:1x1"};
    QTest::newRow("continuation without a start")
        << rtf("\\trowd\\clvmrg\\cellx2000\\pard\\intbl lone\\cell\\row\\pard x")
        << QStringList{"widths 133.33 left 0.00", "lone:1x1"};
}
void TestRtfStructure::tableGrid() {
    QFETCH(QByteArray, data);
    QFETCH(QStringList, table);
    QTextDocument doc;
    QVERIFY(Rtf::read(data, doc));
    const QTextTable* t = firstTable(doc);
    QVERIFY(t);
    QCOMPARE(describeTable(t), table);
}

void TestRtfStructure::cellFormat_data() {
    QTest::addColumn<QByteArray>("cell"); // the words before \cellx
    QTest::addColumn<QString>("format");  // top, left, bottom, right (width/style/colour),
                                          // paddings, shading, vertical alignment, row height
    const QString none = "0.00/0/#000000";
    const QString half = "0.67/3/#000000";
    QTest::newRow("no borders")
        << QByteArray()
        << QStringList{none, none, none, none, "0.00 0.00 0.00 0.00", "-", "0", "0"}.join(' ');
    QTest::newRow("half point all round")
        << QByteArray("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                      "\\clbrdrr\\brdrs\\brdrw10")
        << QStringList{half, half, half, half, "0.00 0.00 0.00 0.00", "-", "0", "0"}.join(' ');
    // Thinner than a third of a pixel still shows, as a hairline.
    QTest::newRow("hairline")
        << QByteArray("\\clbrdrb\\brdrhair\\brdrw1")
        << QStringList{none, none, "0.33/3/#000000", none, "0.00 0.00 0.00 0.00", "-", "0", "0"}
               .join(' ');
    QTest::newRow("no style, no border")
        << QByteArray("\\clbrdrt\\brdrw30\\clbrdrl\\brdrnone")
        << QStringList{none, none, none, none, "0.00 0.00 0.00 0.00", "-", "0", "0"}.join(' ');
    QTest::newRow("thick blue double")
        << QByteArray("\\clbrdrl\\brdrdb\\brdrw45\\brdrcf2")
        << QStringList{none, "3.00/4/#0000ff", none, none, "0.00 0.00 0.00 0.00", "-", "0", "0"}
               .join(' ');
    QTest::newRow("padding, shading, centred, row height")
        << QByteArray("\\clpadl150\\clpadfl3\\clpadt30\\clpadft3\\clcbpat3\\clvertalc")
        << QStringList{none, none, none, none, "2.00 10.00 0.00 0.00", "#1f3864", "3", "340"}.join(
               ' ');
    QTest::newRow("shading percentage")
        << QByteArray("\\clcfpat1\\clcbpat2\\clshdng5000")
        << QStringList{none, none, none, none, "0.00 0.00 0.00 0.00", "#800080", "0", "0"}.join(
               ' ');
    QTest::newRow("grey shading")
        << QByteArray("\\clshdng2500")
        << QStringList{none, none, none, none, "0.00 0.00 0.00 0.00", "#bfbfbf", "0", "0"}.join(
               ' ');
}
void TestRtfStructure::cellFormat() {
    QFETCH(QByteArray, cell);
    QFETCH(QString, format);
    const QByteArray height = QTest::currentDataTag() == QByteArray("padding, shading, centred, "
                                                                    "row height")
                                  ? "\\trrh340"
                                  : "";
    QTextDocument doc;
    QVERIFY(
        Rtf::read(rtf("\\trowd" + height + cell + "\\cellx2000\\pard\\intbl a\\cell\\row"), doc));
    const QTextTable* t = firstTable(doc);
    QVERIFY(t);
    QCOMPARE(describeCell(t->cellAt(0, 0).format().toTableCellFormat()), format);
}

void TestRtfStructure::textOnShading_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("colour");
    QTest::newRow("automatic on navy turns white")
        << QByteArray("\\clcbpat3\\cellx2000\\pard\\intbl x\\cell\\row") << "#ffffff";
    QTest::newRow("chosen colour kept") << QByteArray("\\clcbpat3\\cellx2000\\pard\\intbl\\cf1 x"
                                                      "\\cell\\row")
                                        << "#ff0000";
    QTest::newRow("automatic on light stays")
        << QByteArray("\\clshdng1000\\cellx2000\\pard\\intbl x\\cell\\row") << "auto";
}
void TestRtfStructure::textOnShading() {
    QFETCH(QByteArray, data);
    QFETCH(QString, colour);
    QTextDocument doc;
    QVERIFY(Rtf::read(rtf("\\trowd" + data), doc));
    const QTextCharFormat f = charOf(doc, "x");
    QCOMPARE(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "auto",
             colour);
    // The white chosen for contrast is not the file's: it is not written back.
    const QByteArray out = Rtf::write(doc);
    QCOMPARE(out.contains("\\cf"), colour == "#ff0000");
}

void TestRtfStructure::paragraphFormat_data() {
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<QString>("format");
    const QString plain = "align 1 dir 2 margins 0.00 0.00 0.00 0.00 0.00 line 0.00/0 tabs  "
                          "borders ,,,,,,,,,,,, break 0 back -";
    QTest::newRow("plain") << QByteArray() << plain;
    QTest::newRow("one and a half lines")
        << QByteArray("\\sl360\\slmult1") << QString(plain).replace("line 0.00/0", "line 150.00/1");
    QTest::newRow("single line is no setting") << QByteArray("\\sl240\\slmult1") << plain;
    QTest::newRow("at least") << QByteArray("\\sl300\\slmult0")
                              << QString(plain).replace("line 0.00/0", "line 20.00/3");
    QTest::newRow("exactly") << QByteArray("\\sl-567\\slmult0")
                             << QString(plain).replace("line 0.00/0", "line 37.80/2");
    // Tab stops from the margin in RTF, from the paragraph's indent in Qt.
    QTest::newRow("tab stops") << QByteArray(
                                      "\\li720\\tx1440\\tqc\\tx2880\\tqdec\\tx4320\\tqr\\tx5760")
                               << QString(plain)
                                      .replace("margins 0.00", "margins 48.00")
                                      .replace("tabs ", "tabs 48.00/0,144.00/2,240.00/3,336.00/1");
    QTest::newRow("box")
        << QByteArray("\\box\\brdrs\\brdrw15\\brdrcf2\\brsp113")
        << QString(plain).replace(
               "borders ,,,,,,,,,,,,",
               "borders 1.00,1.00,1.00,1.00,3,3,3,3,#0000ff,#0000ff,#0000ff,#0000ff,7.53");
    QTest::newRow("bottom rule only")
        << QByteArray("\\brdrb\\brdrdot\\brdrw10")
        << QString(plain).replace("borders ,,,,,,,,,,,,", "borders ,,0.67,,,,1,,,,#000000,,");
    QTest::newRow("borders cleared")
        << QByteArray("\\box\\brdrs\\brdrw15\\brdrt\\brdrnone\\brdrl\\brdrnone\\brdrb\\brdrnone"
                      "\\brdrr\\brdrnone")
        << plain;
    QTest::newRow("shading") << QByteArray("\\cbpat1")
                             << QString(plain).replace("back -", "back #ff0000");
    // Right-to-left: RTF's right is the page's right, which Qt must not turn into the start.
    QTest::newRow("right to left, right")
        << QByteArray("\\rtlpar\\qr") << QString(plain).replace("align 1 dir 2", "align 18 dir 1");
    QTest::newRow("right to left, centred")
        << QByteArray("\\rtlpar\\qc") << QString(plain).replace("align 1 dir 2", "align 4 dir 1");
    QTest::newRow("pard ends it all")
        << QByteArray("\\rtlpar\\qr\\sl360\\slmult1\\tx720\\box\\brdrs\\pard") << plain;
}
void TestRtfStructure::paragraphFormat() {
    QFETCH(QByteArray, words);
    QFETCH(QString, format);
    QTextDocument doc;
    QVERIFY(Rtf::read(rtf(words + " x\\par y"), doc));
    QCOMPARE(describeBlock(blockOf(doc, "x")), format);
}

void TestRtfStructure::characterFormat_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capitals");
    QTest::newRow("small capitals")
        << rtf("a {\\scaps Roof} b") << "a Roof b" << int(QFont::SmallCaps);
    QTest::newRow("all capitals") << rtf("a {\\caps Roof} b") << "a Roof b"
                                  << int(QFont::AllUppercase);
    QTest::newRow("scaps0") << rtf("a {\\scaps\\scaps0 Roof} b") << "a Roof b"
                            << int(QFont::MixedCase);
    // Tracked changes read as accepted: deletions gone, insertions ordinary text.
    QTest::newRow("tracked")
        << rtf("Warranty of {\\deleted\\revauthdel1 five}{\\revised\\revauth1 ten} years. "
               "{\\deleted Old clause. }Roof.")
        << "Warranty of ten years. Roof." << int(QFont::MixedCase);
    QTest::newRow("deleted paragraph mark joins")
        << rtf("{\\revised Roof}{\\deleted  gone\\par} kept") << "Roof kept"
        << int(QFont::MixedCase);
}
void TestRtfStructure::characterFormat() {
    QFETCH(QByteArray, data);
    QFETCH(QString, text);
    QFETCH(int, capitals);
    QTextDocument doc;
    QVERIFY(Rtf::read(data, doc));
    QCOMPARE(doc.toPlainText(), text);
    QCOMPARE(int(charOf(doc, "Roof").fontCapitalization()), capitals);
}

void TestRtfStructure::pageSetup_data() {
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<QString>("page"); // empty: none
    QTest::newRow("none") << QByteArray("\\viewkind4") << QString();
    QTest::newRow("letter, defaults") << QByteArray("\\paperw12240\\paperh15840")
                                      << "12240x15840 1800 1800 1440 1440 720 720 false false";
    QTest::newRow("margins") << QByteArray("\\margl1134\\margr720\\margt850\\margb1000")
                             << "12240x15840 1134 720 850 1000 720 720 false false";
    QTest::newRow("landscape flag turns the paper")
        << QByteArray("\\paperw12240\\paperh15840\\landscape")
        << "15840x12240 1800 1800 1440 1440 720 720 false false";
    QTest::newRow("landscape already turned")
        << QByteArray("\\paperw15840\\paperh12240\\landscape")
        << "15840x12240 1800 1800 1440 1440 720 720 false false";
    QTest::newRow("section overrides")
        << QByteArray("\\paperw11906\\paperh16838\\margl1134\\margt850\\sectd\\pgwsxn12240"
                      "\\pghsxn15840\\margtsxn2312\\headery850\\footery600\\titlepg\\lndscpsxn")
        << "15840x12240 1134 1800 2312 1440 850 600 true false";
    QTest::newRow("later sections ignored")
        << QByteArray("\\sectd\\marglsxn1000 a\\sect\\sectd\\marglsxn3000\\pgwsxn5000")
        << "12240x15840 1000 1800 1440 1440 720 720 false false";
    QTest::newRow("facing pages") << QByteArray("\\facingp")
                                  << "12240x15840 1800 1800 1440 1440 720 720 false true";
}
void TestRtfStructure::pageSetup() {
    QFETCH(QByteArray, words);
    QFETCH(QString, page);
    QTextDocument doc;
    QVERIFY(Rtf::read(rtf(words + " x"), doc));
    const std::optional<Rtf::PageSetup> p = Rtf::pageSetup(doc);
    QCOMPARE(p.has_value(), !page.isEmpty());
    if (!p)
        return;
    QCOMPARE(QStringLiteral("%1x%2 %3 %4 %5 %6 %7 %8 %9 %10")
                 .arg(p->paperWidth)
                 .arg(p->paperHeight)
                 .arg(p->marginLeft)
                 .arg(p->marginRight)
                 .arg(p->marginTop)
                 .arg(p->marginBottom)
                 .arg(p->headerTop)
                 .arg(p->footerBottom)
                 .arg(p->titlePage ? "true" : "false")
                 .arg(p->facingPages ? "true" : "false"),
             page);
    // It belongs to the content: replacing the content drops it.
    doc.setPlainText("other");
    QVERIFY(!Rtf::pageSetup(doc));
}

void TestRtfStructure::runningHeads() {
    QTextDocument doc;
    QVERIFY(Rtf::read(rtf("\\titlepg{\\header\\pard\\qc Summit {\\b Roofing}\\par}"
                          "{\\headerf\\pard First page\\par}"
                          "{\\footer\\pard Page {\\field{\\*\\fldinst PAGE }{\\fldrslt 7}} of "
                          "{\\field{\\*\\fldinst  NUMPAGES \\\\* ARABIC}{\\fldrslt 9}}\\par}"
                          "{\\footerl\\pard Even \\chpgn\\par}"
                          "{\\header Second header ignored\\par}"
                          "Body {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"),
                      doc));
    QCOMPARE(doc.toPlainText(), "Body link");
    QCOMPARE(runningText(doc, Rtf::RunningHead::Header), "Summit Roofing");
    QCOMPARE(runningText(doc, Rtf::RunningHead::FirstHeader), "First page");
    QCOMPARE(runningText(doc, Rtf::RunningHead::Footer), "Page 1 of 1");
    QCOMPARE(runningText(doc, Rtf::RunningHead::EvenFooter), "Even 1");
    QVERIFY(Rtf::runningHead(doc, Rtf::RunningHead::FirstFooter).isEmpty());

    QTextDocument head;
    Rtf::read(Rtf::runningHead(doc, Rtf::RunningHead::Header), head);
    QCOMPARE(head.begin().blockFormat().alignment(), Qt::AlignHCenter);
    QVERIFY(charOf(head, "Roofing").fontWeight() >= QFont::Bold);
    QTextDocument footer;
    Rtf::read(Rtf::runningHead(doc, Rtf::RunningHead::Footer), footer);
    QTextCursor c(&footer);
    c.setPosition(6);
    QCOMPARE(Rtf::fieldOf(c.charFormat()), Rtf::Field::Page);
    c.setPosition(11);
    QCOMPARE(Rtf::fieldOf(c.charFormat()), Rtf::Field::NumPages);
    QCOMPARE(Rtf::fieldOf(charOf(footer, "Page")), Rtf::Field::None);
}

// A page number's result stands for the number in the format its text has, wherever the
// result sets it: Writer and this program's writer put it in a group inside \\fldrslt.
void TestRtfStructure::pageFieldResult_data() {
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<qreal>("size");
    QTest::addColumn<bool>("bold");
    QTest::newRow("format on the result") << QByteArray("{\\fldrslt\\fs16\\b 7}") << 8.0 << true;
    QTest::newRow("format in a group inside")
        << QByteArray("{\\fldrslt {\\fs16\\b 12}}") << 8.0 << true;
    QTest::newRow("several runs, one number")
        << QByteArray("{\\fldrslt {\\fs16 1}{\\fs30 2}}") << 8.0 << false;
    QTest::newRow("empty result") << QByteArray("{\\fldrslt\\fs16 }") << 8.0 << false;
    // Nothing inside says otherwise: the number takes the format around the field.
    QTest::newRow("empty inner group") << QByteArray("{\\fldrslt {\\fs16\\b }}") << 12.0 << false;
}

void TestRtfStructure::pageFieldResult() {
    QFETCH(QByteArray, result);
    QFETCH(qreal, size);
    QFETCH(bool, bold);
    QTextDocument doc;
    QVERIFY(Rtf::read(
        rtf("{\\footer\\pard\\fs24 p{\\field{\\*\\fldinst PAGE }" + result + "}.\\par}Body"), doc));
    // The footer as read, and as written and read again, has one number in that format.
    QByteArray footerRtf = Rtf::runningHead(doc, Rtf::RunningHead::Footer);
    for (int pass = 0; pass < 2; ++pass) {
        QTextDocument footer;
        QVERIFY(Rtf::read(footerRtf, footer));
        QCOMPARE(footer.toPlainText(), "p1.");
        QTextCursor c(&footer);
        c.setPosition(2);
        QCOMPARE(Rtf::fieldOf(c.charFormat()), Rtf::Field::Page);
        QCOMPARE(c.charFormat().fontPointSize(), size);
        QCOMPARE(c.charFormat().fontWeight() >= QFont::Bold, bold);
        // The text after the field is back in the paragraph's own format.
        c.setPosition(3);
        QCOMPARE(Rtf::fieldOf(c.charFormat()), Rtf::Field::None);
        QCOMPARE(c.charFormat().fontPointSize(), 12.0);
        footerRtf = Rtf::write(footer);
    }
}

void TestRtfStructure::pictures_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSizeF>("size"); // pixels of 96 to the inch
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("drawn"); // false: a grey box stands in
    const QByteArray png = pngBytes(40, 20).toHex();
    const int pngKind = int(Rtf::format::PictureKind::Png);
    QTest::newRow("png at its pixels")
        << "{\\pict\\pngblip " + png + "}" << QSizeF(40, 20) << pngKind << true;
    QTest::newRow("png at its goal size")
        << "{\\pict\\pngblip\\picw40\\pich20\\picwgoal1800\\pichgoal900 " + png + "}"
        << QSizeF(120, 60) << pngKind << true;
    QTest::newRow("png scaled") << "{\\pict\\picscalex126\\picscaley50\\picwgoal1800\\pichgoal900"
                                   "\\pngblip " +
                                       png + "}"
                                << QSizeF(151.2, 30) << pngKind << true;
    QTest::newRow("in a shape")
        << "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " + png +
               "}}}{\\shptxt not text}}{\\shprslt{\\pict\\wmetafile8 0000}}}"
        << QSizeF(40, 20) << pngKind << true;
    // Metafiles: hundredths of a millimetre, shown as a box of the size.
    QTest::newRow("metafile by source size")
        << QByteArray("{\\pict\\wmetafile8\\picw2540\\pich1270 0100090000}") << QSizeF(96, 48)
        << int(Rtf::format::PictureKind::Wmf) << false;
    QTest::newRow("emf by goal size")
        << QByteArray("{\\pict\\emfblip\\picwgoal2880\\pichgoal720 01000000}") << QSizeF(192, 48)
        << int(Rtf::format::PictureKind::Emf) << false;
    QTest::newRow("binary png") << "{\\pict\\pngblip\\bin" +
                                       QByteArray::number(pngBytes(40, 20).size()) + " " +
                                       pngBytes(40, 20) + "}"
                                << QSizeF(40, 20) << pngKind << true;
    QTest::newRow("huge goal clamped")
        << QByteArray("{\\pict\\emfblip\\picwgoal99999999\\pichgoal-5 01}") << QSizeF(2000, 1)
        << int(Rtf::format::PictureKind::Emf) << false;
}
void TestRtfStructure::pictures() {
    QFETCH(QByteArray, data);
    QFETCH(QSizeF, size);
    QFETCH(int, kind);
    QFETCH(bool, drawn);
    QTextDocument doc;
    QVERIFY(Rtf::read(rtf("a" + data + "b"), doc));
    QCOMPARE(doc.toPlainText(), u"a\ufffcb"_qs);
    const QTextImageFormat f = firstImage(doc);
    QCOMPARE(QSizeF(f.width(), f.height()), size);
    QCOMPARE(f.intProperty(Rtf::format::PictureFormat), kind);
    const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    QVERIFY(!image.isNull());
    QCOMPARE(image.size() == QSize(40, 20), drawn);

    // Written and read back, the picture keeps its bytes, kind and size.
    QTextDocument again;
    QVERIFY(Rtf::read(Rtf::write(doc), again));
    const QTextImageFormat g = firstImage(again);
    QCOMPARE(g.name(), f.name()); // named by its bytes
    QCOMPARE(QSizeF(g.width(), g.height()), size);
    QCOMPARE(g.intProperty(Rtf::format::PictureFormat), kind);
    QCOMPARE(again.resource(QTextDocument::UserResource, QUrl(g.name())).toByteArray(),
             doc.resource(QTextDocument::UserResource, QUrl(f.name())).toByteArray());
}

void TestRtfStructure::insertKeepsPictures() {
    QTextDocument target;
    target.setPlainText("[]");
    QTextCursor at(&target);
    at.setPosition(1);
    QVERIFY(Rtf::insert(rtf("{\\pict\\pngblip " + pngBytes(40, 20).toHex() + "}"), at));
    const QTextImageFormat f = firstImage(target);
    QVERIFY(f.isValid());
    QCOMPARE(target.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>().size(),
             QSize(40, 20));
}

// Writer's own files: what a contractor designs there is what the reader keeps.
void TestRtfStructure::writerTable() {
    QTextDocument doc;
    QVERIFY(Rtf::read(corpus("writer_table.rtf"), doc));
    const QTextTable* t = firstTable(doc);
    QVERIFY(t);
    // 40/20/20/20 of the A4 text width (9638 twips): 3855, 1928, 1927, 1928 twips.
    QCOMPARE(describeTable(t),
             (QStringList{"widths 257.00 128.53 128.47 128.53 left 0.00",
                          "Item:1x1|Qty:1x1|Unit:1x1|Total:1x1",
                          "Tear-off and disposal, whole roof:1x3|1,850.00:1x1",
                          "Materials:3x1|32:1x1|sq:1x1|3,520.00:1x1", "12:1x1|roll:1x1|540.00:1x1",
                          "40:1x1|lf:1x1|180.00:1x1"}));
    const QTextTableCellFormat heading = t->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(heading.background().color(), QColor(0x1f, 0x38, 0x64));
    QCOMPARE(heading.topBorder(), 10 / 15.0);
    QCOMPARE(charOf(doc, "Item").foreground().color(), QColor(Qt::white));
    // Writer writes each shared edge once: a cell's right edge is its neighbour's left.
    QCOMPARE(t->cellAt(1, 3).format().toTableCellFormat().rightBorder(), 10 / 15.0);
    QCOMPARE(t->cellAt(1, 0).format().toTableCellFormat().leftBorder(), 10 / 15.0);
    QCOMPARE(doc.find("Prices include tax.").isNull(), false);
}

void TestRtfStructure::writerLetterhead() {
    QTextDocument doc;
    QVERIFY(Rtf::read(corpus("writer_letterhead.rtf"), doc));
    QVERIFY(doc.toPlainText().startsWith("Proposal for roof replacement\nClause 1."));
    const auto page = Rtf::pageSetup(doc);
    QVERIFY(page);
    QCOMPARE(page->paperWidth, 12240);
    QCOMPARE(page->marginTop, 2312); // the section's: room for the header
    QCOMPARE(page->headerTop, 850);
    QCOMPARE(runningText(doc, Rtf::RunningHead::Header),
             u"\ufffc\tSummit Ridge Roofing\n14 Quarry Lane, Millbrook"_qs);
    QCOMPARE(runningText(doc, Rtf::RunningHead::Footer), "Page 1 of 1");
    QTextDocument header;
    Rtf::read(Rtf::runningHead(doc, Rtf::RunningHead::Header), header);
    const QTextImageFormat logo = firstImage(header);
    // 1800 x 900 twips at 126 %: 40 x 20 mm.
    QCOMPARE(QSizeF(logo.width(), logo.height()), QSizeF(151.2, 75.6));
    QCOMPARE(
        header.resource(QTextDocument::ImageResource, QUrl(logo.name())).value<QImage>().size(),
        QSize(120, 60));
    QCOMPARE(header.begin().blockFormat().tabPositions().size(), 2);
}

void TestRtfStructure::writerParagraphs() {
    QTextDocument doc;
    QVERIFY(Rtf::read(corpus("writer_paragraphs.rtf"), doc));
    const QList<QTextOption::Tab> tabs = blockOf(doc, "Shingles").tabPositions();
    QCOMPARE(tabs.size(), 4);
    QCOMPARE(tabs[0].position, 1701 / 15.0);
    QCOMPARE(tabs[1].type, QTextOption::CenterTab);
    QCOMPARE(tabs[2].type, QTextOption::DelimiterTab);
    QCOMPARE(tabs[3].type, QTextOption::RightTab);
    QCOMPARE(blockOf(doc, "One and a half").lineHeight(), 150.);
    QCOMPARE(blockOf(doc, "Double").lineHeight(), 200.);
    QCOMPARE(blockOf(doc, "Exactly").lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(blockOf(doc, "Spaced").topMargin(), 340 / 15.0);
    const QTextBlockFormat boxed = blockOf(doc, "Boxed");
    for (int edge = 0; edge < 4; ++edge)
        QCOMPARE(boxed.doubleProperty(Rtf::format::borderWidthProperty(edge)), 1.0);
    QVERIFY(!blockOf(doc, "Normal then").hasProperty(Rtf::format::BorderTopWidth));
    QCOMPARE(charOf(doc, "Small Capitals").fontCapitalization(), QFont::SmallCaps);
    QCOMPARE(charOf(doc, "and normal").fontCapitalization(), QFont::MixedCase);
    const QTextBlockFormat rtl = blockOf(doc, u"שלום"_qs);
    QCOMPARE(rtl.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(rtl.alignment(), Qt::AlignRight | Qt::AlignAbsolute);
}

void TestRtfStructure::writerTrackedAndLandscape() {
    QTextDocument doc;
    QVERIFY(Rtf::read(corpus("writer_tracked.rtf"), doc));
    QCOMPARE(doc.toPlainText().trimmed(),
             "Warranty\nWorkmanship is warranted for ten years. Payment is due on completion.");
    QVERIFY(Rtf::read(corpus("writer_landscape.rtf"), doc));
    const auto page = Rtf::pageSetup(doc);
    QVERIFY(page);
    QVERIFY(page->landscape());
    QCOMPARE(QList<int>({page->paperWidth, page->paperHeight, page->marginLeft, page->marginRight,
                         page->marginTop, page->marginBottom}),
             QList<int>({15840, 12240, 2160, 720, 1080, 1440}));
    QCOMPARE(describeTable(firstTable(doc)).first(), "widths 288.00 288.00 288.00 left 0.00");
}

// Read, written and read again, a document has the same structure: nothing the reader keeps
// is lost by the writer.
void TestRtfStructure::roundTrip_data() {
    QTest::addColumn<QByteArray>("data");
    for (const char* f : {"writer_table.rtf", "writer_letterhead.rtf", "writer_paragraphs.rtf",
                          "writer_tracked.rtf", "writer_landscape.rtf", "libreoffice_features.rtf",
                          "word_style.rtf"})
        QTest::newRow(f) << corpus(f);
    for (const char* t : {"takeoff.rtf", "estimatedetail.rtf", "estimatemain.rtf"})
        QTest::newRow(t) << readFile(QStringLiteral(":/templates/") + t);
    QTest::newRow("merges") << rtf(
        "\\trowd\\trgaph72\\trleft-72\\trhdr\\trqc\\clvmgf\\clcbpat3\\clvertalb\\cellx2000"
        "\\clbrdrt\\brdrdot\\brdrw20\\brdrcf1\\cellx5000\\pard\\intbl\\qc a\\cell b\\cell\\row"
        "\\trowd\\trgaph72\\trleft-72\\trrh400\\clvmrg\\cellx2000\\cellx3000\\cellx5000"
        "\\pard\\intbl\\cell c\\cell d\\cell\\row\\pard after");
    QTest::newRow("fields and pictures")
        << rtf("\\titlepg\\facingp{\\headerf\\pard {\\b\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}"
               "\\par}{\\pict\\emfblip\\picwgoal1440\\pichgoal720 0102}{\\pict\\jpegblip 00ff}"
               "\\par\\sl-300\\slmult0\\brdrb\\brdrdash\\brdrw5\\tqr\\tx9000\\cbpat2 x\\tab y");
}
void TestRtfStructure::roundTrip() {
    QFETCH(QByteArray, data);
    QVERIFY(!data.isEmpty());
    QTextDocument doc;
    QVERIFY(Rtf::read(data, doc));
    QTextDocument again;
    QVERIFY(Rtf::read(Rtf::write(doc), again));
    QCOMPARE(describe(again), describe(doc));
}
