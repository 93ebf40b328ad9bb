#include "tst_rtf.h"

#include "documents/Rtf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

namespace {

QByteArray rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
           "Times New Roman;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
           body + "}";
}

QString plain(const QByteArray& data) {
    QTextDocument doc;
    Rtf::read(data, doc);
    // The raw text keeps no-break spaces and line separators that toPlainText() converts.
    return doc.toRawText().replace(QChar::ParagraphSeparator, '\n');
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString corpusDir() {
    return qEnvironmentVariable("CORVANEL_TEST_DATA") + "/rtf";
}

// The format of the first character of the first occurrence of the text.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    if (found.isNull())
        return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

// Unset family and size are shown as the document default's, which is what they mean.
QString describe(const QTextCharFormat& f, const QFont& base = QFont()) {
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = base.family();
    return QStringLiteral("%1%2%3%4 %5 %6 %7")
        .arg(f.fontWeight() >= QFont::DemiBold ? "b" : "-", f.fontItalic() ? "i" : "-",
             f.fontUnderline() ? "u" : "-", f.fontStrikeOut() ? "s" : "-", family)
        .arg(f.fontPointSize() > 0 ? f.fontPointSize() : base.pointSizeF())
        .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : "auto");
}

// Text and formatting run by run, adjacent runs with equal formatting merged, so that two
// documents compare equal however their fragments happen to be split.
QStringList signature(const QTextDocument& doc) {
    QStringList out;
    QString last;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out << QStringLiteral("block align=%1").arg(int(b.blockFormat().alignment()));
        last.clear();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString d = describe(it.fragment().charFormat(), doc.defaultFont());
            if (d == last)
                out.last() += it.fragment().text();
            else
                out << d + " | " + it.fragment().text();
            last = d;
        }
    }
    return out;
}

bool hasSoffice() {
    return !QStandardPaths::findExecutable("soffice").isEmpty();
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detects_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("rtf");
        QTest::newRow("plain") << QByteArray("{\\rtf1 hi}") << true;
        QTest::newRow("leading blanks") << QByteArray(" \r\n\t{\\rtf1 hi}") << true;
        QTest::newRow("text") << QByteArray("hello {\\rtf1}") << false;
        QTest::newRow("html") << QByteArray("<html>{\\rtf1}</html>") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("prefix only") << QByteArray("{\\rt") << false;
    }
    void detects() {
        QFETCH(QByteArray, data);
        QFETCH(bool, rtf);
        QCOMPARE(Rtf::looksLikeRtf(data), rtf);
        QTextDocument doc;
        doc.setPlainText("old");
        QString error;
        QCOMPARE(Rtf::read(data, doc, &error), rtf);
        QCOMPARE(error.isEmpty(), rtf);
        if (!rtf)
            QCOMPARE(doc.toPlainText(), QString("old")); // left alone when not RTF
    }

    void readsText_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraphs") << rtf("one\\par two\\par\nthree") << "one\ntwo\nthree";
        QTest::newRow("newlines ignored") << rtf("ro\r\nof") << "roof";
        QTest::newRow("escaped braces") << rtf("a\\{b\\}c\\\\d") << "a{b}c\\d";
        QTest::newRow("cp1252 hex") << rtf("caf\\'e9 \\'80 \\'93q\\'94") << u"café € “q”"_qs;
        QTest::newRow("hex upper case") << rtf("\\'C9t\\'E9") << u"Été"_qs;
        QTest::newRow("unicode skips fallback") << rtf("\\u233?t\\u8364\\'80!") << u"ét€!"_qs;
        QTest::newRow("negative unicode") << rtf("\\u-4064?") << QString(QChar(0xF020));
        QTest::newRow("surrogate pair") << rtf("\\u-10179?\\u-8704?") << u"😀"_qs;
        QTest::newRow("uc2") << rtf("\\uc2\\u233\\'65\\'65x") << u"éx"_qs;
        QTest::newRow("uc0") << rtf("\\uc0\\u233 x") << u"éx"_qs;
        QTest::newRow("uc scoped by group") << rtf("{\\uc2 a}\\u233?b") << u"aéb"_qs;
        QTest::newRow("fallback cut by group") << rtf("\\uc3{\\u233}xyz") << u"éxyz"_qs;
        QTest::newRow("symbols") << rtf("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote"
                                        "\\rdblquote\\~\\_")
                                 << u"—–•‘’“”\u00a0\u2011"_qs;
        QTest::newRow("optional hyphen dropped") << rtf("shin\\-gle") << "shingle";
        QTest::newRow("tab and line") << rtf("a\\tab b\\line c") << u"a\tb\u2028c"_qs;
        QTest::newRow("delimiter space eaten") << rtf("\\b bold\\b0  plain") << "bold plain";
        QTest::newRow("ignorable destination") << rtf("a{\\*\\unknownthing hidden}b") << "ab";
        QTest::newRow("unknown word kept text") << rtf("a{\\unknownword b}c") << "abc";
        QTest::newRow("info") << rtf("{\\info{\\title T}{\\author A}}x") << "x";
        QTest::newRow("stylesheet") << rtf("{\\stylesheet{\\s0 Normal;}}x") << "x";
        QTest::newRow("header footer")
            << rtf("{\\header h}{\\footerl f}{\\headerf g}{\\footerr r}x") << "x";
        // A picture is one object character, whether Qt can draw it or not.
        QTest::newRow("picture hex")
            << rtf("{\\pict\\pngblip 89504e47{\\*\\blipuid 1}}x") << u"\ufffcx"_qs;
        QTest::newRow("binary picture") << rtf("{\\pict\\bin6 }{ab\\}}x") << u"\ufffcx"_qs;
        QTest::newRow("empty picture") << rtf("{\\pict\\pngblip}x") << "x";
        QTest::newRow("picture fallback skipped")
            << rtf("{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}x")
            << u"\ufffcx"_qs;
        QTest::newRow("field result kept")
            << rtf("see {\\field{\\*\\fldinst HYPERLINK \"http://a\"}{\\fldrslt terms}}.")
            << "see terms.";
        QTest::newRow("list tables")
            << rtf("{\\*\\listtable{\\list{\\listlevel{\\leveltext\\'01\\u-3913 ?;}}}}"
                   "{\\*\\listoverridetable{\\listoverride\\ls1}}x")
            << "x";
        QTest::newRow("misc tables")
            << rtf("{\\*\\rsidtbl \\rsid1}{\\*\\generator Gen;}{\\*\\themedata 50}"
                   "{\\*\\colorschememapping 3c}{\\*\\datastore 01}{\\*\\latentstyles x}"
                   "{\\*\\xmlnstbl x}{\\*\\pgdsctbl x}{\\object{\\*\\objdata 01}{\\result r}}x")
            << "x";
        QTest::newRow("hidden text") << rtf("a{\\v secret}b\\v c\\v0 d") << "abd";
        QTest::newRow("bookmark names") << rtf("{\\*\\bkmkstart mark}a{\\*\\bkmkend mark}") << "a";
        QTest::newRow("cyrillic charset")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 "
                          "\\'cf\\'f0\\'e8}")
            << u"При"_qs;
        QTest::newRow("document code page")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}") << u"При"_qs;
        QTest::newRow("greek charset")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 A;}}\\f0 \\'e1\\'e2}")
            << u"αβ"_qs;
        QTest::newRow("symbol bullet")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\f1\\'b7}x}")
            << u"•x"_qs;
        QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac caf\\'8e}") << u"café"_qs;
        QTest::newRow("text after root ignored") << QByteArray("{\\rtf1 a}b") << "a";
        QTest::newRow("page break") << rtf("one\\page two") << "one\ntwo";
    }
    void readsText() {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QCOMPARE(plain(data), text);
    }

    void readsCharFormat_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("probe");
        QTest::addColumn<QString>("format");
        QTest::newRow("default") << rtf("x") << "x"
                                 << "---- Arial 12 auto";
        QTest::newRow("bold") << rtf("\\b x") << "x"
                              << "b--- Arial 12 auto";
        QTest::newRow("bold off") << rtf("\\b a\\b0 x") << "x"
                                  << "---- Arial 12 auto";
        QTest::newRow("group scope") << rtf("{\\b\\i a}x") << "x"
                                     << "---- Arial 12 auto";
        QTest::newRow("italic") << rtf("\\i x") << "x"
                                << "-i-- Arial 12 auto";
        QTest::newRow("underline") << rtf("\\ul x") << "x"
                                   << "--u- Arial 12 auto";
        QTest::newRow("double underline") << rtf("\\uldb x") << "x"
                                          << "--u- Arial 12 auto";
        QTest::newRow("ulnone") << rtf("\\ul a\\ulnone x") << "x"
                                << "---- Arial 12 auto";
        QTest::newRow("ul0") << rtf("\\ul a\\ul0 x") << "x"
                             << "---- Arial 12 auto";
        QTest::newRow("strike") << rtf("\\strike x") << "x"
                                << "---s Arial 12 auto";
        QTest::newRow("font") << rtf("\\f1 x") << "x"
                              << "---- Times New Roman 12 auto";
        QTest::newRow("half points") << rtf("\\fs21 x") << "x"
                                     << "---- Arial 10.5 auto";
        QTest::newRow("colour") << rtf("\\cf2 x") << "x"
                                << "---- Arial 12 #0000ff";
        QTest::newRow("auto colour") << rtf("\\cf2 a\\cf0 x") << "x"
                                     << "---- Arial 12 auto";
        QTest::newRow("plain") << rtf("\\b\\i\\f1\\fs40\\cf1 a\\plain x") << "x"
                               << "---- Arial 12 auto";
        QTest::newRow("everything") << rtf("\\b\\i\\ul\\strike\\f1\\fs40\\cf1 x") << "x"
                                    << "bius Times New Roman 20 #ff0000";
        QTest::newRow("huge size ignored") << rtf("\\fs99999999999 x") << "x"
                                           << "---- Arial 12 auto";
    }
    void readsCharFormat() {
        QFETCH(QByteArray, data);
        QFETCH(QString, probe);
        QFETCH(QString, format);
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        QCOMPARE(describe(formatOf(doc, probe)), format);
    }

    void readsBlockFormat_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<qreal>("left");
        QTest::addColumn<qreal>("right");
        QTest::addColumn<qreal>("first");
        QTest::addColumn<qreal>("before");
        QTest::addColumn<qreal>("after");
        const int l = Qt::AlignLeft, c = Qt::AlignHCenter, r = Qt::AlignRight;
        QTest::newRow("left") << rtf("\\ql x") << l << 0. << 0. << 0. << 0. << 0.;
        QTest::newRow("centre") << rtf("\\qc x") << c << 0. << 0. << 0. << 0. << 0.;
        QTest::newRow("right") << rtf("\\qr x") << r << 0. << 0. << 0. << 0. << 0.;
        QTest::newRow("justify") << rtf("\\qj x") << int(Qt::AlignJustify) << 0. << 0. << 0. << 0.
                                 << 0.;
        // Lengths in pixels of 96 to the inch: 15 twips each.
        QTest::newRow("indents") << rtf("\\li720\\ri1440\\fi-360 x") << l << 48. << 96. << -24.
                                 << 0. << 0.;
        QTest::newRow("spacing") << rtf("\\sb240\\sa120 x") << l << 0. << 0. << 0. << 16. << 8.;
        QTest::newRow("pard resets")
            << rtf("\\qc\\li720 a\\par\\pard x") << l << 0. << 0. << 0. << 0. << 0.;
        QTest::newRow("kept without pard")
            << rtf("\\qr\\li720 a\\par x") << r << 48. << 0. << 0. << 0. << 0.;
        QTest::newRow("set at paragraph end")
            << rtf("a\\par x\\qc\\par") << c << 0. << 0. << 0. << 0. << 0.;
    }
    void readsBlockFormat() {
        QFETCH(QByteArray, data);
        QFETCH(int, alignment);
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        const QTextBlockFormat f = doc.find("x").block().blockFormat();
        QCOMPARE(int(f.alignment() & Qt::AlignHorizontal_Mask), alignment);
        QTEST(f.leftMargin(), "left");
        QTEST(f.rightMargin(), "right");
        QTEST(f.textIndent(), "first");
        QTEST(f.topMargin(), "before");
        QTEST(f.bottomMargin(), "after");
    }

    void readsPageBreaks() {
        QTextDocument doc;
        Rtf::read(rtf("one\\par\\page two\\page\\pard\\pagebb three"), doc);
        QCOMPARE(doc.blockCount(), 3);
        QCOMPARE(doc.findBlockByNumber(0).blockFormat().pageBreakPolicy(),
                 QTextFormat::PageBreak_Auto);
        QCOMPARE(doc.findBlockByNumber(1).blockFormat().pageBreakPolicy(),
                 QTextFormat::PageBreak_AlwaysBefore);
        QCOMPARE(doc.findBlockByNumber(2).blockFormat().pageBreakPolicy(),
                 QTextFormat::PageBreak_AlwaysBefore);
    }

    void readsTables_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("cells"); // row by row, "|" between cells
        QTest::addColumn<QString>("after");
        QTest::newRow("definition first")
            << rtf("before\\par\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\cell\\row"
                   "\\trowd\\cellx2000\\cellx4000\\pard\\intbl c\\cell d\\cell\\row\\pard after")
            << QStringList{"a|b", "c|d"} << "after";
        QTest::newRow("definition last")
            << rtf("\\pard\\intbl a\\cell b\\cell{\\trowd\\cellx1\\cellx2\\row}"
                   "\\pard\\intbl c\\cell\\cell{\\trowd\\cellx1\\cellx2\\row}\\pard after")
            << QStringList{"a|b", "c|"} << "after";
        QTest::newRow("more cells than defined")
            << rtf("\\trowd\\cellx1000\\intbl a\\cell b\\cell c\\cell\\row\\pard x")
            << QStringList{"a|b|c"} << "x";
        QTest::newRow("paragraphs in a cell")
            << rtf("\\trowd\\cellx1000\\intbl a\\par b\\cell\\row\\pard x") << QStringList{"a\nb"}
            << "x";
        QTest::newRow("nested cells flattened")
            << rtf("\\trowd\\cellx1000\\intbl a\\nestcell b\\nestcell{\\*\\nesttableprops"
                   "\\trowd\\cellx1\\nestrow}\\cell\\row\\pard x")
            << QStringList{"a\tb\t"} << "x";
    }
    void readsTables() {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, cells);
        QFETCH(QString, after);
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::NextBlock);
        QTextTable* table = nullptr;
        for (QTextBlock b = doc.begin(); b.isValid() && !table; b = b.next())
            table = QTextCursor(b).currentTable();
        QVERIFY(table);
        QStringList got;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList row;
            for (int col = 0; col < table->columns(); ++col) {
                const QTextTableCell cell = table->cellAt(r, col);
                QTextCursor s = cell.firstCursorPosition();
                s.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                row << s.selectedText().replace(QChar::ParagraphSeparator, '\n');
            }
            got << row.join('|');
        }
        QCOMPARE(got, cells);
        QCOMPARE(doc.lastBlock().text(), after);
        QVERIFY(!QTextCursor(doc.lastBlock()).currentTable());
    }

    void corpus_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::addColumn<QString>("boldProbe");
        QTest::addColumn<int>("tableCells");
        QTest::newRow("libreoffice features")
            << "libreoffice_features.rtf"
            << QStringList{"Roof Replacement Proposal", u"café, naïve, Ærøskøbing"_qs,
                           u"“quotes” — dash"_qs, u"Ελληνικά, Русский, 日本語, emoji 😀, euro €"_qs,
                           "Second page text."}
            << QStringList{"Normal", "Heading 1", "Times New Roman"} << "bold words" << 9;
        QTest::newRow("libreoffice lists")
            << "libreoffice_lists.rtf"
            << QStringList{u"•\tRemove existing roofing"_qs, "warranty terms apply",
                           "Braces {like this} and back\\slash", "1.\tFirst numbered"}
            << QStringList{"HYPERLINK", "example.com"} << QString() << 0;
        QTest::newRow("word") << "word_style.rtf"
                              << QStringList{u"Estimate for José García"_qs,
                                             u"is € 5,200"_qs,
                                             u"‘single’ and “double”"_qs,
                                             u"Привет"_qs,
                                             "terms page.",
                                             u"After table 😀 emoji."_qs,
                                             "Second page."}
                              << QStringList{"HEADER TEXT", "FOOTER TEXT", "Dana",
                                             "HYPERLINK",   "MERGEFORMAT", "Normal;",
                                             "89504e47",    "504b03",      "Hyperlink"}
                              << "Estimate for" << 6;
        QTest::newRow("wordpad") << "wordpad_style.rtf"
                                 << QStringList{u"Renée O’Brien"_qs, u"Érables"_qs,
                                                u"•\tReplace pipe boots"_qs,
                                                u"αβ Greek, 日本 CJK, tab\there."_qs,
                                                u"Line one\u2028line two"_qs}
                                 << QStringList{"Riched20"} << "Roof Inspection Notes" << 0;
        QTest::newRow("wordpad cyrillic")
            << "wordpad_cyrillic.rtf" << QStringList{u"Привет, кровля! Roof № 5"_qs}
            << QStringList{} << QString() << 0;
    }
    void corpus() {
        QFETCH(QString, file);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QFETCH(QString, boldProbe);
        QFETCH(int, tableCells);
        const QByteArray data = readFile(corpusDir() + "/" + file);
        QVERIFY(!data.isEmpty());
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        const QString text = doc.toRawText().replace(QChar::ParagraphSeparator, '\n');
        for (const QString& p : present)
            QVERIFY2(text.contains(p), qPrintable(p));
        for (const QString& a : absent)
            QVERIFY2(!text.contains(a), qPrintable(a));
        if (!boldProbe.isEmpty())
            QVERIFY(formatOf(doc, boldProbe).fontWeight() >= QFont::Bold);
        int cells = 0;
        QList<QTextTable*> seen;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            if (QTextTable* t = QTextCursor(b).currentTable(); t && !seen.contains(t)) {
                seen << t;
                cells += t->rows() * t->columns();
            }
        QCOMPARE(cells, tableCells);

        // Written and read back, the document keeps its text and formatting.
        QTextDocument again;
        QVERIFY(Rtf::read(Rtf::write(doc), again));
        QCOMPARE(signature(again), signature(doc));
    }

    void corpusFormatting() {
        QTextDocument doc;
        Rtf::read(readFile(corpusDir() + "/word_style.rtf"), doc);
        QCOMPARE(describe(formatOf(doc, "Estimate for")), "b--- Arial 16 auto");
        QCOMPARE(describe(formatOf(doc, "5 200 dollars")), "b-u- Calibri 11 #ff0000");
        QCOMPARE(describe(formatOf(doc, "total")), "-i-- Calibri 11 auto");
        QCOMPARE(doc.find("Estimate for").block().blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(doc.find("Right aligned").block().blockFormat().alignment(), Qt::AlignRight);
        QCOMPARE(doc.find("Justified").block().blockFormat().textIndent(), -24.);

        Rtf::read(readFile(corpusDir() + "/libreoffice_features.rtf"), doc);
        QCOMPARE(describe(formatOf(doc, "struck")), "---s DejaVu Serif 12 auto");
        QCOMPARE(describe(formatOf(doc, "Red right")), "---- DejaVu Serif 12 #ff0000");
        QCOMPARE(describe(formatOf(doc, "Courier large")), "---- Courier New 18 auto");
        QCOMPARE(doc.find("Second page").block().blockFormat().pageBreakPolicy(),
                 QTextFormat::PageBreak_AlwaysBefore);
    }

    void writesEscapes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("braces and backslash") << "a{b}c\\d" << QByteArray("a\\{b\\}c\\\\d");
        QTest::newRow("latin") << u"café"_qs << QByteArray("caf\\u233?");
        QTest::newRow("euro") << u"€"_qs << QByteArray("\\u8364?");
        QTest::newRow("above 32767") << QString(QChar(0xFB01)) << QByteArray("\\u-1279?");
        QTest::newRow("outside the BMP") << u"😀"_qs << QByteArray("\\u-10179?\\u-8704?");
        QTest::newRow("tab") << "a\tb" << QByteArray("a\\tab b");
        QTest::newRow("line separator") << u"a\u2028b"_qs << QByteArray("a\\line b");
        QTest::newRow("no-break space") << u"a\u00a0b"_qs << QByteArray("a\\~b");
    }
    void writesEscapes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        QTextDocument doc;
        QTextCursor(&doc).insertText(text);
        const QByteArray out = Rtf::write(doc);
        QVERIFY2(out.contains(written), out.constData());
        for (char c : out)
            QVERIFY(static_cast<unsigned char>(c) < 0x80); // plain 7-bit output
        QCOMPARE(plain(out), text);
    }

    void writesHeader() {
        QTextDocument doc;
        doc.setPlainText("x");
        const QByteArray out = Rtf::write(doc);
        QVERIFY(out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
        QVERIFY(out.contains("{\\fonttbl{\\f0"));
        QVERIFY(out.contains("\\viewkind4\\uc1"));
        QCOMPARE(out.count('{') - out.count("\\{"), out.count('}') - out.count("\\}"));
    }

    void roundTripsBuiltDocument() {
        QTextDocument doc;
        QTextCursor c(&doc);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setFontFamilies({"Liberation Serif"});
        bold.setFontPointSize(14);
        QTextCharFormat red;
        red.setForeground(QColor(200, 10, 10));
        red.setFontUnderline(true);
        red.setFontItalic(true);
        red.setFontPointSize(9.5);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        centred.setLeftMargin(18);
        c.setBlockFormat(centred);
        c.insertText("Title {x}", bold);
        c.insertText(u" and ünïcode 😀"_qs, red);
        QTextBlockFormat paged;
        paged.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        paged.setAlignment(Qt::AlignRight);
        c.insertBlock(paged);
        c.insertText("second page\tcolumn");
        c.insertBlock(QTextBlockFormat());
        QTextTable* t = c.insertTable(2, 3);
        t->cellAt(1, 2).firstCursorPosition().insertText("corner", bold);
        c.movePosition(QTextCursor::End);
        c.insertText("end");

        QTextDocument again;
        QVERIFY(Rtf::read(Rtf::write(doc), again));
        QCOMPARE(signature(again), signature(doc));
        QCOMPARE(again.toPlainText(), doc.toPlainText());
        QCOMPARE(again.findBlockByNumber(1).blockFormat().pageBreakPolicy(),
                 QTextFormat::PageBreak_AlwaysBefore);
        QCOMPARE(again.find("Title").block().blockFormat().leftMargin(), 18.);
        QTextTable* t2 = QTextCursor(again.find("corner")).currentTable();
        QVERIFY(t2);
        QCOMPARE(t2->rows(), 2);
        QCOMPARE(t2->columns(), 3);
    }

    void writesFragmentAndInserts() {
        QTextDocument doc;
        Rtf::read(rtf("plain {\\b bold} {\\i italic} tail"), doc);
        QTextCursor sel = doc.find("bold italic");
        QVERIFY(!sel.isNull());
        const QByteArray clip = Rtf::write(QTextDocumentFragment(sel));
        QCOMPARE(plain(clip), "bold italic");

        QTextDocument target;
        target.setPlainText("[]");
        QTextCursor at(&target);
        at.setPosition(1);
        QVERIFY(Rtf::insert(clip, at));
        QCOMPARE(target.toPlainText(), "[bold italic]");
        QVERIFY(formatOf(target, "bold").fontWeight() >= QFont::Bold);
        QVERIFY(formatOf(target, "italic").fontItalic());
        QVERIFY(!formatOf(target, "]").fontItalic());
        QVERIFY(!Rtf::insert("not rtf", at));
    }

    void survivesHostileInput_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("starts");
        QTest::newRow("truncated in word") << QByteArray("{\\rtf1 abc\\par de\\b") << "abc";
        QTest::newRow("truncated in hex") << QByteArray("{\\rtf1 abc\\'e") << "abc";
        QTest::newRow("truncated after backslash") << QByteArray("{\\rtf1 abc\\") << "abc";
        QTest::newRow("truncated font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ar") << "";
        QTest::newRow("unbalanced close") << QByteArray("{\\rtf1 a}}}}b") << "a";
        QTest::newRow("unbalanced open") << QByteArray("{\\rtf1 a{{{{b") << "ab";
        QTest::newRow("huge unicode") << QByteArray("{\\rtf1 a\\u-99999999999 b}") << "a";
        QTest::newRow("huge uc") << QByteArray("{\\rtf1\\uc99999999999 \\u65 abc}") << "A";
        QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin99999999999 xyz}") << "a";
        QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab";
        QTest::newRow("huge font and colour")
            << QByteArray("{\\rtf1\\f2147483647\\cf99999999\\cb-9 a}") << "a";
        QTest::newRow("huge indents") << QByteArray("{\\rtf1\\li999999999\\fi-999999999 a}") << "a";
        QTest::newRow("nuls") << QByteArray("{\\rtf1 a\0b\\\0c}", 13) << "ab";
        QTest::newRow("long control word")
            << QByteArray("{\\rtf1 \\" + QByteArray(100000, 'x') + "123 a}") << "a";
        QTest::newRow("long number")
            << QByteArray("{\\rtf1 \\fs" + QByteArray(100000, '9') + " a}") << "a";
        QTest::newRow("cell storm")
            << QByteArray("{\\rtf1\\intbl " + QByteArray("x\\cell ").repeated(5000) + "}") << "x";
        QTest::newRow("row storm")
            << QByteArray("{\\rtf1\\trowd" + QByteArray("\\cellx1").repeated(100) +
                          QByteArray("\\intbl x\\cell\\row").repeated(20000) + "}")
            << "x";
        QTest::newRow("deep nesting") << QByteArray("{\\rtf1 " + QByteArray(100000, '{') + "a" +
                                                    QByteArray(100000, '}') + "b}")
                                      << "b";
        QTest::newRow("deep nesting unclosed")
            << QByteArray("{\\rtf1 a" + QByteArray(100000, '{') + "\\b b") << "a";
        QTest::newRow("colour table storm")
            << QByteArray("{\\rtf1{\\colortbl" + QByteArray(100000, ';') + "}\\cf99999 a}") << "a";
    }
    void survivesHostileInput() {
        QFETCH(QByteArray, data);
        QFETCH(QString, starts);
        QElapsedTimer timer;
        timer.start();
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        QVERIFY2(timer.elapsed() < 10000, "reading must take linear time");
        QVERIFY(doc.toPlainText().trimmed().startsWith(starts));
        QVERIFY(Rtf::read(Rtf::write(doc), doc));
    }

    void survivesRandomBytes() {
        QRandomGenerator random(20240506);
        static const char alphabet[] = "{}\\\\\\'u-0123456789abfilpqrtcx; \r\n\xe9";
        for (int round = 0; round < 300; ++round) {
            QByteArray data = "{\\rtf1 ";
            const int length = random.bounded(2000);
            for (int i = 0; i < length; ++i)
                data += round % 2 ? char(random.bounded(256))
                                  : alphabet[random.bounded(int(sizeof alphabet) - 1)];
            QTextDocument doc;
            QVERIFY(Rtf::read(data, doc));
            QTextDocument again;
            QVERIFY(Rtf::read(Rtf::write(doc), again));
            QCOMPARE(again.toRawText(), doc.toRawText());
        }
    }

    void templates_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"proposal.rtf", "contract.rtf", "lead.rtf", "takeoff.rtf",
                              "estimatedetail.rtf", "estimatemain.rtf"})
            QTest::newRow(n) << QString(n);
    }
    void templates() {
        QFETCH(QString, name);
        const QByteArray data = readFile(":/templates/" + name);
        QVERIFY(data.contains("\\paperw12240\\paperh15840"));
        QTextDocument doc;
        QVERIFY(Rtf::read(data, doc));
        QVERIFY(doc.toPlainText().trimmed().size() > 200);
        if (name != "proposal.rtf" && name != "contract.rtf")
            return;
        // Each placeholder lies in one run of the body or of a header or footer, so a plain
        // text search finds and replaces it.
        QList<QTextDocument*> parts{&doc};
        QTextDocument heads[6];
        int h = 0;
        for (Rtf::RunningHead kind : {Rtf::RunningHead::Header, Rtf::RunningHead::Footer,
                                      Rtf::RunningHead::FirstHeader, Rtf::RunningHead::FirstFooter,
                                      Rtf::RunningHead::EvenHeader, Rtf::RunningHead::EvenFooter}) {
            QTextDocument& head = heads[h++];
            Rtf::read(Rtf::runningHead(doc, kind), head);
            parts << &head;
        }
        QStringList used{"<<CoLogo>>",  "<<CoInfo>>",   "<<CustInfo>>", "<<FullDate>>",
                         "<<Summary>>", "<<EstTotal>>", "<<PayTerms>>", "<<ExpDate>>"};
        if (name == "proposal.rtf")
            used << "<<LastName>>"
                 << "<<CoName>>";
        for (const QString& p : used) {
            QVERIFY2(data.contains(p.toLatin1()), qPrintable(p));
            int runs = 0;
            for (QTextDocument* part : parts)
                for (QTextBlock b = part->begin(); b.isValid(); b = b.next())
                    for (auto it = b.begin(); !it.atEnd(); ++it)
                        runs += it.fragment().text().count(p);
            QVERIFY2(runs == int(data.count(p.toLatin1())), qPrintable(p));
        }
        // Page numbers in the footer, in the form "Page 1 of 2".
        QVERIFY(heads[1].toPlainText().contains("Page 1 of 1"));
    }

    // LibreOffice, when installed, must open what the writer produces with the same text.
    void libreOfficeOpensOutput() {
        if (!hasSoffice())
            QSKIP("soffice is not installed");
        QTextDocument doc;
        Rtf::read(readFile(corpusDir() + "/word_style.rtf"), doc);
        QTemporaryDir dir;
        QFile out(dir.filePath("written.rtf"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(Rtf::write(doc));
        out.close();
        QProcess soffice;
        soffice.start("soffice",
                      {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                       "--convert-to", "txt:Text", "--outdir", dir.path(), out.fileName()});
        QVERIFY(soffice.waitForFinished(120000));
        const QString text =
            QString::fromUtf8(readFile(dir.filePath("written.txt"))).replace(QChar::Nbsp, u' ');
        QVERIFY2(!text.isEmpty(), "LibreOffice wrote nothing");
        // Pictures are objects, not text.
        const QString written = doc.toPlainText().remove(QChar::ObjectReplacementCharacter);
        for (const QString& line : written.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(text.contains(line.trimmed()), qPrintable(line));
    }
};

int runRtfTests(int argc, char** argv) {
    TestRtf t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_rtf.moc"
