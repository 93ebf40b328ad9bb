#include "EstimateFixture.h"
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "documents/FontSizes.h"
#include "documents/PrintRichText.h"
#include "documents/Rtf.h"
#include "documents/Templates.h"
#include "documents/forms/DocEditor.h"
#include "documents/forms/OutputTab.h"
#include "documents/forms/frmFind.h"
#include "documents/forms/frmPrint.h"
#include "documents/forms/frmPrintForms.h"
#include "documents/modDocs.h"
#include "settings/SettingsStore.h"
#include "takeoff/forms/RoofTab.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

QStringList linesOf(const QTextDocument& doc) {
    return doc.toPlainText().split('\n');
}

QString right(const QString& s, int w) {
    return s.rightJustified(w, ' ');
}
QString left(const QString& s, int w) {
    return s.leftJustified(w, ' ');
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray rtfDoc(const QByteArray& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New "
           "Roman;}}\\f0\\fs24 " +
           body + "}";
}

// The two-section estimate of the tests: sections stored out of their order, one name with an
// apostrophe, line totals of 1000.00.
void twoSections(EstimateFixture& e) {
    e.section("Owner's tear-off", 2);
    e.section("Shingles", 1);
    e.line(2, "Owner's tear-off", "Dump fee", "Fee", 1, "Each", Money::fromCents(10000));
    e.line(1, "Shingles", "Laminated shingles", "Material", 20, "Bundle", Money::fromCents(3250));
    e.line(1, "Shingles", "Roofer labor", "Labor", 10, "Hour", Money::fromCents(2500));
}

} // namespace

class tst_docs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void padField_data();
    void padField();
    void padRowWrapsLongValues();
    void adminCell_data();
    void adminCell();
    void detailDocument();
    void detailKeepsWorkingTablesWhenAsked();
    void detailLongNameGoesOn();
    void roofWithoutRows();
    void roofInWords();
    void roofOfAFigureWithoutEstimate();
    void coInfo_data();
    void coInfo();
    void proposalPlaceholders();
    void shippedTemplatesLeaveNoPlaceholder();
    void estimateWithoutLines();
    void missingTemplateNamesFile();
    void installKeepsUserTemplates();
    void createDocumentSet();
    void findOptions();
    void boldOnAndOff();
    void openByExtension();
    void saveByExtension();
    void copyPasteKeepsFormatting();
    void sizeList();
    void printFormsDialog();
    void blankFormThreePages();
};

void tst_docs::padField_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name left") << QVariant("Nails") << 1 << left("Nails", 29);
    QTest::newRow("total right") << QVariant("$5.00") << 6 << right("$5.00", 10);
    QTest::newRow("number") << QVariant(25) << 3 << left("25", 5);
    QTest::newRow("exact width") << QVariant("123456789") << 14 << QString("123456789");
    QTest::newRow("roof id") << QVariant(7) << 20 << QString("7");
    QTest::newRow("unknown code") << QVariant("x") << 12 << QString();
    QTest::newRow("too wide is cut") << QVariant("ABCDEFGHIJK") << 27 << QString("ABCDEFGHIJ");
}

void tst_docs::padField() {
    QFETCH(QVariant, value);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QCOMPARE(modDocs::PadField(value, code), expected);
}

void tst_docs::padRowWrapsLongValues() {
    const QString row = modDocs::PadRow({{"Ice and water shield membrane roll", 1},
                                         {"Material", 2},
                                         {"3", 3},
                                         {"Roll", 4},
                                         {"$95.00", 5},
                                         {"$285.00", 6}});
    const QStringList lines = row.split("\r\n");
    QCOMPARE(lines.size(), 3); // two lines and the empty rest after the last line end
    // The name goes on below and keeps a blank before the type column.
    QCOMPARE(lines[0], left("Ice and water shield", 29) + left("Material", 13) + left("3", 5) +
                           left("Roll", 9) + left("$95.00", 9) + right("$285.00", 10));
    QCOMPARE(lines[1], QString("membrane roll"));
    // A word longer than its column is cut into pieces.
    QCOMPARE(modDocs::PadRow({{"123", 20}, {"x", 21}}), QString("1    x\r\n2\r\n3\r\n"));
}

void tst_docs::adminCell_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<qint64>("subCents");
    QTest::addColumn<qint64>("amountCents");
    QTest::addColumn<QString>("text");
    QTest::newRow("percent") << "%-15" << 100000LL << 15000LL << "15% - $150.00";
    QTest::newRow("fixed") << "Fixed-100" << 100000LL << 10000LL << "Fixed @ $100.00";
    QTest::newRow("two percent") << "%-2" << 100000LL << 2000LL << "2% - $20.00";
    QTest::newRow("fraction") << "%-12.5" << 1000LL << 125LL << "12.5% - $1.25";
    QTest::newRow("empty is fixed 0") << "" << 100000LL << 0LL << "Fixed @ $0.00";
    QTest::newRow("negative fixed") << "Fixed--50" << 0LL << -5000LL << "Fixed @ -$50.00";
}

void tst_docs::adminCell() {
    QFETCH(QString, stored);
    QFETCH(qint64, subCents);
    QFETCH(qint64, amountCents);
    QFETCH(QString, text);
    TestContext::pinLocale();
    const modDocs::AdminCell c = modDocs::FigureAdminCell(stored, Money::fromCents(subCents));
    QCOMPARE(c.amount, Money::fromCents(amountCents));
    if (QTest::currentDataTag() != QByteArray("negative fixed"))
        QCOMPARE(c.text, text);
    QVERIFY_THROWS_EXCEPTION(ProcedureError, modDocs::FigureAdminCell("%-abc", Money()));
    QVERIFY_THROWS_EXCEPTION(ProcedureError, modDocs::FigureAdminCell("15", Money()));
}

void tst_docs::detailDocument() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    twoSections(e);
    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "detail", box);
    QCOMPARE(tc.prompt->texts(), QStringList());

    const QString item1 = left("Laminated shingles", 29) + left("Material", 13) + left("20", 5) +
                          left("Bundle", 9) + left("$32.50", 9) + right("$650.00", 10);
    const QStringList expected = {
        "ESTIMATE DETAILS for Smith * * 12 Elm St * * Est ID:" + QString::number(tc.ctx.EstID),
        QString(75, '='),
        "",
        "Item Name                     Type         Qty  Unit      Cost        Total",
        "",
        "Shingles",
        item1,
        left("Roofer labor", 29) + left("Labor", 13) + left("10", 5) + left("Hour", 9) +
            left("$25.00", 9) + right("$250.00", 10),
        right("Total for Shingles $900.00", 75),
        "",
        "Owner's tear-off",
        left("Dump fee", 29) + left("Fee", 13) + left("1", 5) + left("Each", 9) +
            left("$100.00", 9) + right("$100.00", 10),
        right("Total for Owner's tear-off $100.00", 75),
        "",
        " Material     Labor       Subs      Equip      Fees     Unit      Sub Total",
        "   650.00     250.00       0.00       0.00   100.00       0.00    1,000.00",
        "",
        "            Overhead         Profit       Contingency        Management",
        right("15% - $150.00", 22) + right("15% - $150.00", 17) + right("Fixed @ $100.00", 17) +
            right("2% - $20.00", 17),
        right("Estimate Total:  $1,420.00", 75),
        ""};
    const QStringList lines = linesOf(box);
    for (int i = 0; i < std::min(lines.size(), expected.size()); ++i)
        QCOMPARE(lines[i], expected[i]);
    QCOMPARE(lines.size(), expected.size());
    // Column starts of an item line.
    QCOMPARE(item1.indexOf("Material"), 29);
    QCOMPARE(item1.indexOf("20"), 42);
    QCOMPARE(item1.indexOf("Bundle"), 47);
    QCOMPARE(item1.indexOf("$32.50"), 56);
    QCOMPARE(item1.size(), 75);
    // Listed and stored: the working line tables are emptied.
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from tpLineItems").toInt(),
             0);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from TempSect").toInt(),
             0);
}

void tst_docs::detailKeepsWorkingTablesWhenAsked() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    twoSections(e);
    QTextDocument box;
    modDocs::PageInputs in;
    in.emptyWorkingTables = false;
    modDocs::BuildPage(tc.ctx, "detail", box, in);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from tpLineItems").toInt(),
             3);
    QVERIFY(box.toPlainText().contains("Estimate Total:  $1,420.00"));
}

void tst_docs::detailLongNameGoesOn() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    e.section("Flashing", 1);
    const QString exact29 = "Step flashing aluminium 4x4x8";
    QCOMPARE(exact29.size(), 29);
    e.line(1, "Flashing", exact29, "Material", 12, "Each", Money::fromCents(150));
    e.line(1, "Flashing", "Pre-bent galvanised drip edge 10 ft", "Material", 123456, "Piece",
           Money::fromCents(1234567));
    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "detail", box);
    QCOMPARE(tc.prompt->texts(), QStringList());
    const QStringList lines = linesOf(box);
    const int at = int(lines.indexOf("Flashing"));
    QVERIFY(at > 0);
    QCOMPARE(lines[at + 1].left(29 + 8), exact29 + "Material");
    // The long name, the six-digit quantity and the wide amounts continue below their columns.
    QCOMPARE(lines[at + 2].left(29).trimmed(), QString("Pre-bent galvanised drip"));
    QCOMPARE(lines[at + 2].mid(42, 5), QString("1234 "));
    QCOMPARE(lines[at + 2].mid(56, 9), QString("$12,345. "));
    QCOMPARE(lines[at + 3].left(10), QString("edge 10 ft"));
    QCOMPARE(lines[at + 3].mid(42, 2), QString("56"));
    // Nothing stops: the total of the estimate is made.
    QVERIFY(lines.last().isEmpty());
    QVERIFY(lines[lines.size() - 2].trimmed().startsWith("Estimate Total:"));
}

void tst_docs::roofOfAFigureWithoutEstimate() {
    // Figure mode: a measured roof, no estimate behind it.
    TestContext tc;
    frmCorvanel w(tc.ctx);
    w.mnuEstFig->trigger();
    w.roof->txtArea[0]->setText("30");
    w.roof->txtArea[1]->setText("20");
    w.roof->cmbPitch->setCurrentText("12");
    w.roof->cmdPitchFig->click();
    w.cmdPrint[4]->click();
    QCOMPARE(tc.prompt->texts(), QStringList());
    const QStringList lines = linesOf(*w.output->rtfText[3]->document());
    QCOMPARE(lines[0], QString("ROOF DETAILS for a roof figured without an estimate"));
    QCOMPARE(lines[1], QString(75, '='));
    QVERIFY(w.output->rtfText[3]->toPlainText().contains("849"));
}

void tst_docs::roofWithoutRows() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    QTextDocument box;
    modDocs::PageInputs in;
    in.roofTotals = Takeoff::RoofTotals{};
    modDocs::BuildPage(tc.ctx, "roof", box, in);
    const QStringList expected = {"ROOF DETAILS for Smith * * 12 Elm St * * Est ID:" +
                                      QString::number(tc.ctx.EstID),
                                  QString(75, '='),
                                  "",
                                  "AREAS",
                                  "",
                                  "LINEAL",
                                  "",
                                  "               Total area:     0",
                                  "               Squares:        0.00",
                                  "               Waste:          0 %",
                                  "               Squares to order: 0",
                                  "               Total other:    0",
                                  "               Total roof:     0",
                                  ""};
    QCOMPARE(linesOf(box), expected);
}

// The Roof Details document says what was measured in words: shapes by name, measurements with
// units, pitch as n/12, squares and the waste; no code a contractor would have to look up.
void tst_docs::roofInWords() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    modData::exec(tc.ctx, tc.ctx.TempDBConn,
                  "insert into TempAreas(Shape,Pitch,Width1,Width2,Height,Total,OnSlope) values"
                  "(0,8,300000,0,200000,721,0),(0,8,150000,0,200000,361,0),"
                  "(2,0,100000,200000,70000,105,0),(1,12,305000,0,100000,153,1)");
    modData::exec(tc.ctx, tc.ctx.TempDBConn,
                  "insert into TempLineal(Type,Name,Length,Total) values"
                  "(5,'Main ridge',400000,40),(6,'Hips',305000,30),(3,'Waste',100000,134)");
    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "roof", box);
    QCOMPARE(tc.prompt->texts(), QStringList());
    const QStringList lines = linesOf(box);
    const QStringList expected = {"AREAS",
                                  "1  Rectangle 30 ft × 20 ft, 8/12, 721 sq ft",
                                  "2  Rectangle 15 ft × 20 ft, 8/12, 361 sq ft",
                                  "3  Trapezoid top 10 ft, bottom 20 ft × 7 ft, none, 105 sq ft",
                                  "4  Triangle 30.5 ft × 10 ft, 12/12, 153 sq ft",
                                  "",
                                  "LINEAL",
                                  "1  Main ridge (Ridge) 40 lf, total 40",
                                  "2  Hips (Hip) 30.5 lf, total 30",
                                  "3  Waste (%) 10 %, total 134",
                                  "",
                                  "               Total area:     1340",
                                  "               Squares:        13.40",
                                  "               Waste:          10 %",
                                  "               Squares to order: 15",
                                  "               Total other:    204",
                                  "               Total roof:     1544",
                                  ""};
    QCOMPARE(lines.mid(3), expected);
}

void tst_docs::coInfo_data() {
    QTest::addColumn<QString>("letHead");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letterhead") << "1" << QString(6, '\n');
    QTest::newRow("missing") << "" << QString(6, '\n');
    QTest::newRow("printed") << "0"
                             << "ABC Construction\n5454 Builders Lane\nAnytown, MT 54321-1234";
}

void tst_docs::coInfo() {
    QFETCH(QString, letHead);
    QFETCH(QString, expected);
    TestContext tc;
    SettingsStore& s = *tc.ctx.settings;
    s.set("CoInfoInc", "LetHead", letHead);
    for (const char* k : {"PhoneInc", "FaxInc", "CellInc", "EmailInc", "WebsiteInc"})
        s.set("CoInfoInc", k, "0");
    QString coName;
    QCOMPARE(modDocs::GetCoInfo(tc.ctx, &coName), expected);
    QCOMPARE(coName, QString("ABC Construction"));
    // Phone with fax and cell share one line.
    s.set("CoInfoInc", "LetHead", "0");
    for (const char* k : {"PhoneInc", "FaxInc", "CellInc"})
        s.set("CoInfoInc", k, "1");
    QCOMPARE(modDocs::GetCoInfo(tc.ctx).split('\n').value(3),
             QString("406/123-4567 Fax:406/234-5678 Cell:406/345-6789"));
}

void tst_docs::proposalPlaceholders() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    twoSections(e);
    QDir().mkpath(tc.ctx.templatesDir());
    writeFile(tc.ctx.templatesDir() + "/proposal.rtf",
              rtfDoc("Dear <<LastName>>,\\par {\\b <<LastName>>} agrees.\\par Lines:<<LineTotals>>|"
                     "\\par Total <<EstTotal>>\\par Valid until <<ExpDate>>\\par "
                     "<<Summary>>\\par <<PayTerms>>\\par <<CustInfo>>\\par <<CoName>> "
                     "<<lastname>>\\par"));
    QTextDocument box;
    tc.ctx.EstConn.clear(); // rebuilt from the master row
    modDocs::BuildPage(tc.ctx, "proposal", box);
    QCOMPARE(tc.prompt->texts(), QStringList());
    const QStringList lines = linesOf(box);
    QCOMPARE(lines[0], QString("Dear Mary O'Brien,"));
    QCOMPARE(lines[1], QString("Mary O'Brien agrees."));
    QVERIFY(box.findBlockByNumber(1).begin().fragment().charFormat().fontWeight() == QFont::Bold);
    QCOMPARE(lines[2], QString("Lines:|"));
    QCOMPARE(lines[3], QString("Total $1,420.00"));
    QCOMPARE(lines[4], QString("Valid until 3/31/2026"));
    QCOMPARE(lines[5], QString("Tear off and re-roof the house"));
    QCOMPARE(lines[6], QString("Half down, half on completion"));
    QCOMPARE(lines.mid(7, 3), QStringList({"Mary O'Brien", "12 Elm St", "Anytown, MT 54321"}));
    // Placeholders match case: a lower-case one is left as it is.
    QCOMPARE(lines[10], QString("ABC Construction <<lastname>>"));
    QCOMPARE(tc.ctx.EstConn, tc.ctx.estimateDbPath("Smith/Smith.db"));
}

void tst_docs::shippedTemplatesLeaveNoPlaceholder() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    twoSections(e);
    QVERIFY(Templates::install(tc.ctx));
    for (const char* kind : {"proposal", "contract"}) {
        QTextDocument box;
        modDocs::BuildPage(tc.ctx, kind, box);
        QCOMPARE(tc.prompt->texts(), QStringList());
        const QString text = box.toPlainText();
        QVERIFY2(!text.contains("<<"), qPrintable(kind));
        QVERIFY(text.contains("Mary O'Brien"));
        QVERIFY(text.contains("$1,420.00"));
    }
}

void tst_docs::estimateWithoutLines() {
    TestContext tc;
    EstimateFixture e(tc.ctx, "Empty", {"%-15", "%-15", "%-5", "%-2"});
    QDir().mkpath(tc.ctx.templatesDir());
    writeFile(tc.ctx.templatesDir() + "/contract.rtf", rtfDoc("Price: <<EstTotal>>\\par"));
    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "contract", box);
    QCOMPARE(tc.prompt->texts(), QStringList());
    QCOMPARE(linesOf(box)[0], QString("Price: $0.00"));
    QTextDocument detail;
    modDocs::BuildPage(tc.ctx, "detail", detail);
    QVERIFY(detail.toPlainText().contains("Estimate Total:  $0.00"));
}

void tst_docs::missingTemplateNamesFile() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    QTextDocument box;
    modDocs::BuildPage(tc.ctx, "contract", box);
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(tc.prompt->lastText().contains("contract.rtf"));
    QVERIFY(box.toPlainText().isEmpty());
    // A file that is not rich text is named as well.
    QDir().mkpath(tc.ctx.templatesDir());
    writeFile(tc.ctx.templatesDir() + "/proposal.rtf", "just words");
    modDocs::BuildPage(tc.ctx, "proposal", box);
    QCOMPARE(tc.prompt->count(), 2);
    QVERIFY(tc.prompt->lastText().contains("proposal.rtf"));
}

void tst_docs::installKeepsUserTemplates() {
    TestContext tc;
    QDir().mkpath(tc.ctx.templatesDir());
    writeFile(tc.ctx.templatesDir() + "/proposal.rtf", rtfDoc("My own proposal"));
    QVERIFY(Templates::install(tc.ctx));
    QFile mine(tc.ctx.templatesDir() + "/proposal.rtf");
    QVERIFY(mine.open(QIODevice::ReadOnly));
    QVERIFY(mine.readAll().contains("My own proposal"));
    for (const char* f :
         {"contract.rtf", "lead.rtf", "takeoff.rtf", "estimatedetail.rtf", "estimatemain.rtf"})
        QVERIFY2(QFileInfo(tc.ctx.templatesDir() + "/" + f).size() > 0, f);
}

void tst_docs::createDocumentSet() {
    TestContext tc;
    EstimateFixture e(tc.ctx);
    twoSections(e);
    QVERIFY(Templates::install(tc.ctx));
    tc.ctx.WorkMode = Mode::Open;
    frmCorvanel w(tc.ctx);
    w.EstStatus = "Working";
    w.cmdPrint[0]->setEnabled(true);
    // The fixture's offer ran out in March: made as it is.
    tc.prompt->answerAll({Prompt::Answer::No, Prompt::Answer::No});
    QTest::mouseClick(w.cmdPrint[0], Qt::LeftButton);
    // Messages of the save (another part's) are not this test's business; none from documents.
    for (const QString& t : tc.prompt->texts())
        QVERIFY2(!t.contains("modDocs") && !t.contains("template"), qPrintable(t));
    for (QTextEdit* box : w.output->rtfText)
        QVERIFY(!box->toPlainText().trimmed().isEmpty());
    QVERIFY(w.output->rtfText[0]->toPlainText().startsWith("ESTIMATE DETAILS for Smith"));
    QVERIFY(w.output->rtfText[3]->toPlainText().startsWith("ROOF DETAILS for Smith"));
    QVERIFY(w.output->rtfText[1]->toPlainText().contains("$1,420.00"));
    for (QPushButton* b : w.cmdPrint)
        QVERIFY(!b->isEnabled());
    QCOMPARE(w.EstStatus, QString("Working"));
    // The estimate is still open: its lines stay where the grid and the totals read them.
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from tpLineItems").toInt(),
             3);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.TempDBConn, "select count(*) from TempSect").toInt(),
             2);

    // One kind alone: only its box and its button.
    w.output->rtfText[2]->clear();
    w.cmdPrint[3]->setEnabled(true);
    w.cmdPrint[3]->click();
    QVERIFY(w.output->rtfText[2]->toPlainText().contains("Mary O'Brien"));
    QVERIFY(!w.cmdPrint[3]->isEnabled());
}

void tst_docs::findOptions() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    QTextEdit* box = tab.rtfText[0];
    box->setPlainText("Grand Totals\nTotal due");
    auto search = [&](const QString& text, bool whole, bool matchCase, bool expectOffered = false,
                      const QString& offered = QString()) {
        UiTest::whenModal([=](QWidget* w) {
            auto* d = qobject_cast<frmFind*>(w);
            QVERIFY(d);
            if (expectOffered) {
                QCOMPARE(d->txtFind->text(), offered);
                QVERIFY(d->chkMatchCase->isChecked());
            }
            d->txtFind->setText(text);
            d->chkWholeWords->setChecked(whole);
            d->chkMatchCase->setChecked(matchCase);
            d->cmdFind->click();
        });
        tab.editor->tbToolBar_ButtonClick("Find");
    };
    box->moveCursor(QTextCursor::Start);
    search("total", false, true);
    QCOMPARE(tc.prompt->lastText(), QString("String not found"));
    QCOMPARE(tc.prompt->shown().last().icon, Prompt::Icon::Warning);
    QCOMPARE(tab.editor->FindOptions, 4);
    box->moveCursor(QTextCursor::Start);
    search("total", true, false, true, "total");
    QCOMPARE(tab.editor->FindOptions, 2);
    // "Totals" is not the whole word "total": the match is the one on the second line.
    QCOMPARE(box->textCursor().selectedText(), QString("Total"));
    QCOMPARE(box->textCursor().selectionStart(), 13);
    box->moveCursor(QTextCursor::Start);
    search("total", false, false);
    QCOMPARE(box->textCursor().selectionStart(), 6);
    // Cancel keeps the last search.
    const int messages = tc.prompt->count();
    UiTest::rejectNextModal();
    tab.editor->tbToolBar_ButtonClick("Find");
    QCOMPARE(tab.editor->FindText, QString("total"));
    QCOMPARE(tc.prompt->count(), messages);
}

void tst_docs::boldOnAndOff() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    tab.SSTab2->setCurrentIndex(1);
    QTextEdit* box = tab.rtfText[1];
    box->setPlainText("plain words here");
    QTextCursor c = box->textCursor();
    c.setPosition(6);
    c.setPosition(11, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    tab.button("Bold")->trigger();
    QVERIFY(tab.button("Bold")->isChecked());
    QVERIFY(DocEditor::isOn(box, DocEditor::Attr::Bold));
    tab.button("Bold")->trigger();
    QVERIFY(!tab.button("Bold")->isChecked());
    QVERIFY(!DocEditor::isOn(box, DocEditor::Attr::Bold));
    // Partly bold: left as it is, button released.
    tab.button("Bold")->trigger();
    c.setPosition(0);
    c.setPosition(11, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    tab.button("Bold")->trigger();
    QVERIFY(!tab.button("Bold")->isChecked());
    QTextCursor probe(box->document());
    probe.setPosition(8);
    QCOMPARE(probe.charFormat().fontWeight(), int(QFont::Bold));
    probe.setPosition(3);
    QVERIFY(probe.charFormat().fontWeight() != QFont::Bold);
    tab.button("Center")->trigger();
    QCOMPARE(box->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

void tst_docs::openByExtension() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    QTemporaryDir dir;
    const QByteArray markup = rtfDoc("Hello {\\b bold} world");
    writeFile(dir.path() + "/letter.Rtf", markup);
    writeFile(dir.path() + "/notes.txt", markup);
    writeFile(dir.path() + "/README", "caf\xc3\xa9 notes");
    QTextEdit* box = tab.activeBox();
    QString next;
    tab.editor->openFileName = [&] { return next; };
    next = dir.path() + "/letter.Rtf";
    tab.editor->tbToolBar_ButtonClick("Open");
    QCOMPARE(box->toPlainText(), QString("Hello bold world"));
    next = dir.path() + "/notes.txt";
    tab.editor->tbToolBar_ButtonClick("Open");
    QCOMPARE(box->toPlainText(), QString::fromLatin1(markup));
    next = dir.path() + "/README";
    tab.editor->tbToolBar_ButtonClick("Open");
    QCOMPARE(box->toPlainText(), QString("café notes"));
    // Cancelled or unreadable: the box stays as it was.
    for (const QString& n : {QString(), dir.path() + "/missing.rtf"}) {
        next = n;
        tab.editor->tbToolBar_ButtonClick("Open");
        QCOMPARE(box->toPlainText(), QString("café notes"));
    }
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_docs::saveByExtension() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    QTemporaryDir dir;
    QTextEdit* box = tab.activeBox();
    box->setHtml("<p>Hi <b>there</b> O'Brien</p>");
    QString next;
    tab.editor->saveFileName = [&] { return next; };
    next = dir.path() + "/proposal.rtf";
    tab.editor->tbToolBar_ButtonClick("Save");
    QFile rtf(next);
    QVERIFY(rtf.open(QIODevice::ReadOnly));
    QTextDocument back;
    QVERIFY(Rtf::read(rtf.readAll(), back));
    QCOMPARE(back.toPlainText(), QString("Hi there O'Brien"));
    QTextCursor c(&back);
    c.setPosition(5);
    QCOMPARE(c.charFormat().fontWeight(), int(QFont::Bold));
    next = dir.path() + "/proposal.doc";
    tab.editor->tbToolBar_ButtonClick("Save");
    QFile doc(next);
    QVERIFY(doc.open(QIODevice::ReadOnly));
    QCOMPARE(doc.readAll(), QByteArray("Hi there O'Brien"));
    // A file that cannot be written is said so.
    next = dir.path() + "/no/such/folder/x.rtf";
    tab.editor->tbToolBar_ButtonClick("Save");
    QCOMPARE(tc.prompt->count(), 1);
    QVERIFY(tc.prompt->lastText().contains("x.rtf"));
    // The PDF is a real PDF.
    tab.editor->pdfFileName = [&](const QString&) { return dir.path() + "/proposal.pdf"; };
    tab.editor->tbToolBar_ButtonClick("PDF");
    QFile pdf(dir.path() + "/proposal.pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

void tst_docs::copyPasteKeepsFormatting() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    QTextEdit* from = tab.rtfText[1];
    QTextEdit* to = tab.rtfText[2];
    from->setHtml("<p>Pay <b>now</b> please</p>");
    QTextCursor c = from->textCursor();
    c.setPosition(4);
    c.setPosition(7, QTextCursor::KeepAnchor);
    from->setTextCursor(c);
    tab.SSTab2->setCurrentIndex(1);
    tab.button("Copy")->trigger();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime->hasFormat("text/rtf"));
    QVERIFY(mime->data("text/rtf").startsWith("{\\rtf"));
    QCOMPARE(mime->text(), QString("now"));

    to->setPlainText("Say ");
    to->moveCursor(QTextCursor::End);
    tab.SSTab2->setCurrentIndex(2);
    tab.button("Paste")->trigger();
    QCOMPARE(to->toPlainText(), QString("Say now"));
    QTextCursor probe(to->document());
    probe.setPosition(6);
    QCOMPARE(probe.charFormat().fontWeight(), int(QFont::Bold));

    // Cut removes the selection and leaves it on the clipboard.
    tab.SSTab2->setCurrentIndex(1);
    from->setTextCursor(c);
    tab.button("Cut")->trigger();
    QCOMPARE(from->toPlainText(), QString("Pay  please"));
    QCOMPARE(QApplication::clipboard()->text(), QString("now"));

    // Markup that another program put there as text pastes with its formatting.
    QApplication::clipboard()->setText(QString::fromLatin1(rtfDoc("{\\i slanted}")));
    to->setPlainText("");
    tab.SSTab2->setCurrentIndex(2);
    tab.button("Paste")->trigger();
    QCOMPARE(to->toPlainText(), QString("slanted"));
    probe.setPosition(2);
    QVERIFY(probe.charFormat().fontItalic());
}

void tst_docs::sizeList() {
    QCOMPARE(FontSizes::offered({8, 10, 12}), QList<int>({8, 10, 12}));
    QCOMPARE(FontSizes::offered({12, 7, 8, 100}), QList<int>({8, 7, 12}));
    QCOMPARE(FontSizes::forFamily("No Such Font Family"), FontSizes::fallback());
    TestContext tc;
    OutputTab tab(tc.ctx);
    tab.cboFonts->setEditText("No Such Font Family");
    tab.cboSize->setEditText("11");
    tab.editor->PopSizeCombo();
    QCOMPARE(tab.cboSize->count(), FontSizes::fallback().size());
    QCOMPARE(tab.cboSize->itemText(0), QString("8"));
    QCOMPARE(tab.cboSize->currentText(), QString("11"));
}

void tst_docs::printFormsDialog() {
    TestContext tc;
    {
        frmPrintForms dlg(tc.ctx);
        QCOMPARE(dlg.cmbForms->count(), 5);
        QCOMPARE(dlg.cmbForms->currentText(), QString());
        UiTest::whenModal([&](QWidget*) {
            dlg.cmdPrint->click();
            QVERIFY(dlg.isVisible());
            dlg.cmbForms->setCurrentIndex(4);
            dlg.cmdPrint->click();
        });
        dlg.exec();
        QCOMPARE(tc.prompt->texts(), QStringList({"Please select a form"}));
        QVERIFY(!dlg.result().Cancel);
        QCOMPARE(dlg.result().FormCode, 4);
        QCOMPARE(frmPrintForms::kindOf(4), QString("main"));
        QCOMPARE(Templates::fileName("main"), QString("estimatemain.rtf"));
        QCOMPARE(Templates::fileName("roof"), QString("takeoff.rtf"));
    }
    {
        frmPrintForms dlg(tc.ctx);
        UiTest::whenModal([&](QWidget*) {
            dlg.cmbForms->setCurrentIndex(2);
            dlg.close(); // the close box
        });
        dlg.exec();
        QVERIFY(dlg.result().Cancel);
    }
}

void tst_docs::blankFormThreePages() {
    TestContext tc;
    QDir().mkpath(tc.ctx.templatesDir());
    // Two pages of lines to write on and a third after a page break.
    QByteArray body;
    for (int i = 0; i < 80; ++i)
        body += "Name ____________________________________________________________\\par ";
    body += "\\page Signature ______________________\\par";
    writeFile(tc.ctx.templatesDir() + "/lead.rtf", rtfDoc(body));
    QTemporaryDir out;
    const QString pdf = out.path() + "/lead.pdf";
    frmPrint f(tc.ctx);
    f.preview = [&](const QTextDocument& doc, const QString&) {
        QPrinter p(QPrinter::HighResolution);
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setPageSize(QPageSize(QPageSize::Letter));
        return PrintRichText(doc, p);
    };
    QCOMPARE(f.PrintBlankForm("lead"), 3);

    QProcess info;
    info.start("pdfinfo", {pdf});
    QVERIFY(info.waitForFinished());
    QVERIFY(QString::fromLatin1(info.readAllStandardOutput())
                .contains(QRegularExpression("Pages:\\s+3\\n")));

    // At 72 pixels an inch, every page is white in its outer inch and inked just inside it.
    QProcess render;
    render.start("pdftoppm", {"-png", "-r", "72", pdf, out.path() + "/p"});
    QVERIFY(render.waitForFinished());
    for (int page = 1; page <= 3; ++page) {
        QImage img(out.path() + QString("/p-%1.png").arg(page));
        QVERIFY(!img.isNull());
        QCOMPARE(img.size(), QSize(612, 792));
        int minX = img.width(), minY = img.height(), maxX = 0, maxY = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
        QVERIFY2(minX >= 72 && minX < 80, qPrintable(QString::number(minX)));
        QVERIFY2(minY >= 72 && minY < 90, qPrintable(QString::number(minY)));
        QVERIFY(maxX <= 612 - 72);
        QVERIFY(maxY <= 792 - 72);
    }

    // Missing template: named, nothing printed.
    QCOMPARE(f.PrintBlankForm("main"), 0);
    QVERIFY(tc.prompt->lastText().contains("estimatemain.rtf"));
}

QTEST_MAIN(tst_docs)
#include "tst_docs.moc"
