// The Output tab's documents as the user sends them: printed through a preview, saved as a
// PDF beside the estimate, sent by e-mail, kept with the estimate, and not made with a
// validity date already past without a word.
#include "EstimateFixture.h"
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "documents/DocumentFiles.h"
#include "documents/MailCommand.h"
#include "documents/PrintRichText.h"
#include "documents/Rtf.h"
#include "documents/Templates.h"
#include "documents/forms/DocEditor.h"
#include "documents/forms/OutputTab.h"
#include "estimates/forms/frmManageStatus.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/modGrid.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QUndoStack>

using Answer = Prompt::Answer;

namespace {

void oneSection(EstimateFixture& e) {
    e.section("Shingles", 1);
    e.line(1, "Shingles", "Laminated shingles", "Material", 20, "Bundle", Money::fromCents(3250));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The window with the fixture's estimate open and its documents made.
struct OpenWindow {
    TestContext tc;
    EstimateFixture e{tc.ctx};
    std::unique_ptr<frmCorvanel> w;
    OpenWindow() {
        oneSection(e);
        Templates::install(tc.ctx);
        tc.ctx.WorkMode = Mode::Open;
        w = std::make_unique<frmCorvanel>(tc.ctx);
        w->EstStatus = "Working";
        // The grid as opening the estimate shows it, so that making documents saves it.
        modGrid::RePopGrid(tc.ctx);
        w->lines->PopEstiGrid();
        w->totals->PopEstAdmin();
        w->totals->FigureTotals();
    }
    void makeSet() {
        w->cmdPrint[0]->setEnabled(true);
        tc.prompt->answer(Answer::No); // the fixture's offer ran out in March: made as it is
        w->cmdPrint[0]->click();
    }
};

} // namespace

class tst_output : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pdfProposedBesideTheEstimate();
    void printGoesThroughThePreview();
    void printSelectionAsked_data();
    void printSelectionAsked();
    void mailArguments_data();
    void mailArguments();
    void mailProblems_data();
    void mailProblems();
    void emailAttachesThePdf();
    void documentSetKeptWithTheEstimate();
    void editedDocumentAskedBeforeReplacing();
    void editKeptWhenTheEstimateIsSaved();
    void editedDocumentOutlivesAnUndo();
    void pastValidity_data();
    void pastValidity();
};

void tst_output::pdfProposedBesideTheEstimate() {
    TestContext tc;
    // Without an estimate: in the estimates folder.
    QCOMPARE(DocumentFiles::pdfPath(tc.ctx, "Roof Details"),
             tc.ctx.estimatesDir() + "/Roof Details.pdf");
    EstimateFixture e(tc.ctx, "O'Brien Re-roof");
    QCOMPARE(DocumentFiles::pdfPath(tc.ctx, "Proposal"),
             tc.ctx.estimatesDir() + "/O'Brien Re-roof/O'Brien Re-roof \u2013 Proposal.pdf");
    QCOMPARE(DocumentFiles::pdfPath(tc.ctx, " "),
             tc.ctx.estimatesDir() + "/O'Brien Re-roof/O'Brien Re-roof \u2013 Document.pdf");

    OutputTab tab(tc.ctx);
    tab.SSTab2->setCurrentIndex(2);
    tab.rtfText[2]->setPlainText("Contract text");
    QString offered;
    tab.editor->pdfFileName = [&](const QString& proposed) {
        offered = proposed;
        return proposed;
    };
    tab.button("PDF")->trigger();
    QCOMPARE(offered,
             tc.ctx.estimatesDir() + "/O'Brien Re-roof/O'Brien Re-roof \u2013 Contract.pdf");
    QVERIFY(readAll(offered).startsWith("%PDF-"));
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_output::printGoesThroughThePreview() {
    TestContext tc;
    OutputTab tab(tc.ctx);
    tab.SSTab2->setCurrentIndex(1);
    tab.rtfText[1]->setPlainText("Dear owner");
    QStringList seen;
    tab.editor->preview = [&](const QTextDocument& doc, const QString& title) {
        seen << title << doc.toPlainText();
        return 1;
    };
    tab.button("Print")->trigger();
    QCOMPARE(seen, QStringList({"Proposal", "Dear owner"}));
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_output::printSelectionAsked_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("printed");
    QTest::newRow("only the selection") << int(Answer::Yes) << "owner";
    QTest::newRow("the whole document") << int(Answer::No) << "Dear owner, hello";
    QTest::newRow("nothing") << int(Answer::Cancel) << QString();
}

void tst_output::printSelectionAsked() {
    QFETCH(int, answer);
    QFETCH(QString, printed);
    TestContext tc;
    OutputTab tab(tc.ctx);
    tab.SSTab2->setCurrentIndex(1);
    QTextDocument& doc = *tab.rtfText[1]->document();
    Rtf::read("{\\rtf1\\ansi\\paperw11906\\paperh16838\\margl1000 {\\header Head\\par}Dear owner, "
              "hello\\par}",
              doc);
    QTextCursor c(&doc);
    c.setPosition(5);
    c.setPosition(10, QTextCursor::KeepAnchor);
    tab.rtfText[1]->setTextCursor(c);
    QString text;
    std::optional<Rtf::PageSetup> page;
    QByteArray head;
    tab.editor->preview = [&](const QTextDocument& d, const QString&) {
        text = d.toPlainText().trimmed();
        page = Rtf::pageSetup(d);
        head = Rtf::runningHead(d, Rtf::RunningHead::Header);
        return 1;
    };
    tc.prompt->answer(Answer(answer));
    tab.button("Print")->trigger();
    QCOMPARE(tc.prompt->count(), 1);
    QCOMPARE(text, printed);
    if (!printed.isEmpty()) {
        // The selection prints on the document's own paper, with its header.
        QVERIFY(page);
        QCOMPARE(page->paperWidth, 11906);
        QVERIFY(!head.isEmpty());
    }
}

void tst_output::mailArguments_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("passed");
    QTest::newRow("none") << "" << false;
    QTest::newRow("plain") << "mary.obrien@example.com" << true;
    QTest::newRow("option-like") << "--cc=x@y.example" << false;
    QTest::newRow("mailto with fields") << "mailto:x@y.example?bcc=z@y.example" << false;
    QTest::newRow("no at sign") << "Mary O'Brien" << false;
}

void tst_output::mailArguments() {
    QFETCH(QString, address);
    QFETCH(bool, passed);
    const QString pdf = "/home/u/estimates/Smith/Smith \u2013 Proposal.pdf";
    QStringList expected = {"--utf8", "--subject", "Proposal \u2013 Høyer", "--attach", pdf};
    if (passed)
        expected << address;
    QCOMPARE(MailCommand::arguments(pdf, "Proposal \u2013 Høyer", address), expected);
}

void tst_output::mailProblems_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words");
    QTest::newRow("opened") << 0 << QString();
    QTest::newRow("not installed") << -1 << "No e-mail program is set up";
    QTest::newRow("no mail program") << 3 << "No e-mail program is set up";
    QTest::newRow("file missing") << 2 << "could not be attached";
    QTest::newRow("failed") << 4 << "ended with code 4";
}

void tst_output::mailProblems() {
    QFETCH(int, code);
    QFETCH(QString, words);
    const QString text = MailCommand::problem(code, "/tmp/a.pdf");
    QCOMPARE(text.isEmpty(), words.isEmpty());
    QVERIFY2(text.contains(words), qPrintable(text));
    if (code != 0)
        QVERIFY(text.contains("/tmp/a.pdf"));
}

void tst_output::emailAttachesThePdf() {
    TestContext tc;
    EstimateFixture e(tc.ctx, "Smith Re-roof");
    tc.ctx.settings->set("CoInfo", "Name", "Høyer Roofing");
    OutputTab tab(tc.ctx);
    QAction* send = tab.button("Email");
    QVERIFY(send);
    QCOMPARE(send->objectName(), QString("cmdEmail"));
    QCOMPARE(send->text(), QString("Send by e-mail\u2026"));
    tab.SSTab2->setCurrentIndex(1);
    QStringList args;
    int exitCode = 3;
    tab.editor->mailer = [&](const QStringList& a, std::function<void(int)> done) {
        args = a;
        done(exitCode);
    };
    // An empty document is not sent.
    send->trigger();
    QVERIFY(args.isEmpty());
    QVERIFY(tc.prompt->lastText().contains("empty"));

    tab.rtfText[1]->setPlainText("Proposal text");
    send->trigger();
    const QString pdf = tc.ctx.estimatesDir() + "/Smith Re-roof/Smith Re-roof \u2013 Proposal.pdf";
    QCOMPARE(args, MailCommand::arguments(pdf, "Proposal \u2013 Høyer Roofing"));
    QVERIFY(readAll(pdf).startsWith("%PDF-"));
    // No mail program: said so, naming the PDF to attach by hand.
    QVERIFY(tc.prompt->lastText().contains("No e-mail program is set up"));
    QVERIFY(tc.prompt->lastText().contains("Smith Re-roof \u2013 Proposal.pdf"));
    const int before = tc.prompt->count();
    exitCode = 0;
    send->trigger();
    QCOMPARE(tc.prompt->count(), before);
}

void tst_output::documentSetKeptWithTheEstimate() {
    OpenWindow o;
    o.makeSet();
    const QString dir = DocumentFiles::folder(o.tc.ctx);
    QCOMPARE(dir, o.tc.ctx.estimatesDir() + "/Smith/documents");
    for (const char* kind : {"detail", "proposal", "contract", "roof"})
        QVERIFY2(Rtf::looksLikeRtf(readAll(dir + "/" + kind + ".rtf")), kind);
    // Making documents is not a change of the estimate.
    QVERIFY(!o.tc.ctx.EstChanged);
    // Saved before the documents were made, each line once: the proposal's total is the
    // detail's.
    QCOMPARE(o.tc.prompt->texts().size(), 1); // the validity question only
    QCOMPARE(modData::scalar(o.tc.ctx, o.tc.ctx.EstConn, "select count(*) from LineItems").toInt(),
             1);
    QVERIFY(o.w->output->rtfText[0]->toPlainText().contains("Estimate Total:  $958.00"));
    QVERIFY(o.w->output->rtfText[1]->toPlainText().contains("$958.00"));

    // Opened again: the documents are back, the listings in their fixed-pitch font.
    OutputTab again(o.tc.ctx);
    again.loadDocuments();
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(again.rtfText[i]->toPlainText().trimmed(),
                 o.w->output->rtfText[i]->toPlainText().trimmed());
        QVERIFY(!again.isEdited(i));
    }
    QTextCursor c(again.rtfText[0]->document());
    c.setPosition(3);
    QVERIFY(QFontInfo(c.charFormat().font()).fixedPitch());
}

void tst_output::editedDocumentAskedBeforeReplacing() {
    OpenWindow o;
    o.makeSet();
    QTextEdit* proposal = o.w->output->rtfText[1];
    QTextCursor c(proposal->document());
    c.movePosition(QTextCursor::End);
    c.insertText("Our own closing words.");
    QVERIFY(o.w->output->isEdited(1));
    QVERIFY(o.tc.ctx.EstChanged);

    // Made again: asked; "No" keeps the edit.
    o.w->cmdPrint[2]->setEnabled(true);
    o.tc.prompt->answerAll({Answer::No, Answer::No});
    const int before = o.tc.prompt->count();
    o.w->cmdPrint[2]->click();
    QVERIFY(o.tc.prompt->count() >= before + 2);
    QVERIFY(o.tc.prompt->lastText().contains("proposal was changed"));
    QVERIFY(proposal->toPlainText().contains("Our own closing words."));
    // "Yes" replaces it with a new one.
    o.w->cmdPrint[2]->setEnabled(true);
    o.tc.prompt->answerAll({Answer::No, Answer::Yes});
    o.w->cmdPrint[2]->click();
    QVERIFY(!proposal->toPlainText().contains("Our own closing words."));
    QVERIFY(!o.w->output->isEdited(1));
    // A document nobody edited is made again without a question.
    o.w->cmdPrint[1]->setEnabled(true);
    const int asked = o.tc.prompt->count();
    o.w->cmdPrint[1]->click();
    QCOMPARE(o.tc.prompt->count(), asked);
}

void tst_output::editKeptWhenTheEstimateIsSaved() {
    OpenWindow o;
    o.makeSet();
    QTextCursor c(o.w->output->rtfText[2]->document());
    c.movePosition(QTextCursor::End);
    c.insertText("Gutters cleaned as well.");
    const QString file = DocumentFiles::folder(o.tc.ctx) + "/contract.rtf";
    QVERIFY(!readAll(file).contains("Gutters cleaned"));
    QVERIFY(o.w->output->saveDocuments());
    QVERIFY(readAll(file).contains("Gutters cleaned"));
    // Reopened, it is known as edited: making it again would ask.
    OutputTab again(o.tc.ctx);
    again.loadDocuments();
    QVERIFY(again.isEdited(2));
    QVERIFY(!again.isEdited(1));
    QVERIFY(again.rtfText[2]->toPlainText().contains("Gutters cleaned as well."));
    // A folder that cannot be written: told, and the edit stays unsaved in the box.
    QFile::remove(DocumentFiles::folder(o.tc.ctx) + "/contract.rtf");
    QDir(DocumentFiles::folder(o.tc.ctx)).removeRecursively();
    QFile blocker(DocumentFiles::folder(o.tc.ctx));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    c.insertText(" And downspouts.");
    QVERIFY(!o.w->output->saveDocuments());
    QVERIFY(o.tc.prompt->lastText().contains("contract.rtf"));
}

// Undoing every other change back to the last save still leaves an edited document to save.
void tst_output::editedDocumentOutlivesAnUndo() {
    OpenWindow o;
    o.makeSet();
    o.w->clearUndo();
    o.w->SaveStatus(false);
    o.tc.ctx.EstChanged = false;
    QTextCursor c(o.w->output->rtfText[1]->document());
    c.movePosition(QTextCursor::End);
    c.insertText("Valid for thirty days.");
    QVERIFY(o.tc.ctx.EstChanged);
    o.w->undoStack->push(new QUndoCommand(QStringLiteral("Edit Line")));
    o.w->undoStack->undo();
    QVERIFY(o.w->undoStack->isClean());
    QVERIFY(o.tc.ctx.EstChanged);
    QVERIFY(o.w->mnuEstSave->isEnabled());
    // Once stored, the same undo leaves nothing to save.
    QVERIFY(o.w->output->saveDocuments());
    o.w->undoStack->redo();
    o.w->undoStack->undo();
    QVERIFY(!o.tc.ctx.EstChanged);
}

void tst_output::pastValidity_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("made");
    QTest::addColumn<bool>("manage");
    QTest::newRow("make as it is") << int(Answer::No) << true << false;
    QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
    QTest::newRow("open manage first") << int(Answer::Yes) << true << true;
}

void tst_output::pastValidity() {
    QFETCH(int, answer);
    QFETCH(bool, made);
    QFETCH(bool, manage);
    OpenWindow o;
    const std::int32_t id = o.tc.ctx.EstID;
    o.w->cmdPrint[0]->setEnabled(true);
    o.tc.prompt->answer(Answer(answer));
    bool managed = false;
    if (manage)
        UiTest::whenModal([&](QWidget* m) {
            auto* d = qobject_cast<frmManageStatus*>(m);
            managed = d && d->editing() && d->txtLength->text() == "30";
            if (d)
                d->txtLength->setText("400");
            m->close();
        });
    o.w->cmdPrint[0]->click();
    QCOMPARE(o.tc.prompt->count(), 1);
    QVERIFY(o.tc.prompt->lastText().contains("valid until 3/31/2026"));
    QVERIFY(o.tc.prompt->shown().first().question);
    QCOMPARE(!o.w->output->rtfText[1]->document()->isEmpty(), made);
    QCOMPARE(managed, manage);
    // The estimate in work is still the one open.
    QCOMPARE(o.tc.ctx.EstID, id);
    QCOMPARE(o.tc.ctx.EstConn, o.tc.ctx.estimateDbPath("Smith/Smith.db"));
    // The detail listing prints no validity: no question.
    o.tc.prompt->clear();
    o.w->cmdPrint[1]->setEnabled(true);
    o.w->cmdPrint[1]->click();
    for (const auto& s : o.tc.prompt->shown())
        QVERIFY(!s.question);
}

QTEST_MAIN(tst_output)
#include "tst_output.moc"
