#include "documents/forms/DocEditor.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "documents/DocumentFiles.h"
#include "documents/FontSizes.h"
#include "documents/MailCommand.h"
#include "documents/PrintRichText.h"
#include "documents/Rtf.h"
#include "documents/forms/OutputTab.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPageSize>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <memory>

namespace {

const char* RtfMime = "text/rtf";
constexpr int OneInch = 1440;

bool hasAttr(const QTextCharFormat& f, DocEditor::Attr a) {
    switch (a) {
    case DocEditor::Attr::Bold:
        return f.fontWeight() > QFont::Medium;
    case DocEditor::Attr::Italic:
        return f.fontItalic();
    case DocEditor::Attr::Underline:
        return f.fontUnderline();
    }
    return false;
}

enum class State { Off, On, Mixed };

State attrState(QTextEdit* box, DocEditor::Attr a) {
    const QTextCursor c = box->textCursor();
    if (!c.hasSelection())
        return hasAttr(c.charFormat(), a) ? State::On : State::Off;
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    bool any = false, all = true, seen = false;
    for (QTextBlock b = box->document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            const bool on = hasAttr(f.charFormat(), a);
            seen = true;
            any = any || on;
            all = all && on;
        }
    }
    if (!seen)
        return State::Off;
    return all ? State::On : any ? State::Mixed : State::Off;
}

bool hasRtfSuffix(const QString& path) {
    return path.right(3).toUpper() == QLatin1String("RTF");
}

QString decodeText(const QByteArray& data) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLatin1(data);
    return text;
}

bool writeFile(const QString& path, const QByteArray& data) {
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
}

} // namespace

DocEditor::DocEditor(AppContext& ctx, OutputTab* tab) : QObject(tab), ctx_(ctx), tab_(tab) {
    setObjectName(QStringLiteral("DocEditor"));
    openFileName = [this] {
        QString selected = rtfFilter();
        return QFileDialog::getOpenFileName(tab_, QStringLiteral("Open"), QString(), fileFilter(),
                                            &selected);
    };
    saveFileName = [this] {
        QString selected = rtfFilter();
        return QFileDialog::getSaveFileName(tab_, QStringLiteral("Save As"), ctx_.estimatesDir(),
                                            fileFilter(), &selected);
    };
    pdfFileName = [this](const QString& proposed) {
        QString name = QFileDialog::getSaveFileName(tab_, QStringLiteral("Save as PDF"), proposed,
                                                    QStringLiteral("PDF Files (*.pdf)"));
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".pdf");
        return name;
    };
    preview = PrintPreview::dialog(tab_);
    mailer = [this](const QStringList& args, std::function<void(int)> done) {
        auto* p = new QProcess(this);
        // Reported once, whichever comes: it ended, or it could not be started at all.
        auto report = std::make_shared<std::function<void(int)>>(std::move(done));
        connect(p, &QProcess::finished, this, [p, report](int code, QProcess::ExitStatus st) {
            if (*report)
                (*report)(st == QProcess::NormalExit ? code : 4);
            *report = nullptr;
            p->deleteLater();
        });
        connect(p, &QProcess::errorOccurred, this, [p, report](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart)
                return;
            if (*report)
                (*report)(-1);
            *report = nullptr;
            p->deleteLater();
        });
        p->start(MailCommand::program(), args);
    };

    connect(tab_, &OutputTab::buttonClicked, this, &DocEditor::tbToolBar_ButtonClick);
    connect(tab_->cboFonts, &QComboBox::activated, this, [this] {
        cboFonts_Click();
        PopSizeCombo();
    });
    connect(tab_->cboSize, &QComboBox::activated, this, &DocEditor::cboSize_Click);
    if (QLineEdit* e = tab_->cboFonts->lineEdit())
        connect(e, &QLineEdit::returnPressed, this, &DocEditor::cboFonts_Click);
    if (QLineEdit* e = tab_->cboSize->lineEdit())
        connect(e, &QLineEdit::returnPressed, this, &DocEditor::cboSize_Click);
    // The size list follows the font before it drops down.
    sizeBox_ = tab_->cboSize;
    sizeBox_->installEventFilter(this);
    for (QTextEdit* box : tab_->rtfText) {
        connect(box, &QTextEdit::cursorPositionChanged, this, &DocEditor::updateButtons);
        connect(box, &QTextEdit::selectionChanged, this, &DocEditor::updateButtons);
    }
    connect(tab_->SSTab2, &QTabWidget::currentChanged, this, &DocEditor::updateButtons);
    PopSizeCombo();
}

QString DocEditor::rtfFilter() {
    return QStringLiteral("RTF Files (*.rtf)");
}

QString DocEditor::fileFilter() {
    return QStringLiteral("All Files (*);;RTF Files (*.rtf);;Text Files (*.txt)");
}

void DocEditor::tbToolBar_ButtonClick(const QString& key) {
    QTextEdit* box = tab_->activeBox();
    try {
        if (key == QLatin1String("Open")) {
            const QString name = openFileName ? openFileName() : QString();
            if (!name.isEmpty())
                openFile(box, name);
        } else if (key == QLatin1String("Save")) {
            const QString name = saveFileName ? saveFileName() : QString();
            if (!name.isEmpty() && !saveFile(box, name))
                reportWriteFailure(name);
        } else if (key == QLatin1String("PDF")) {
            const QString proposed = DocumentFiles::pdfPath(ctx_, documentTitle());
            const QString name = pdfFileName ? pdfFileName(proposed) : QString();
            if (!name.isEmpty() && !savePdf(box, name))
                reportWriteFailure(name);
        } else if (key == QLatin1String("Email")) {
            email(box);
        } else if (key == QLatin1String("Print")) {
            print(box);
        } else if (key == QLatin1String("Copy")) {
            copy(box);
        } else if (key == QLatin1String("Cut")) {
            cut(box);
        } else if (key == QLatin1String("Paste")) {
            paste(box);
        } else if (key == QLatin1String("Find")) {
            find(box);
        } else if (key == QLatin1String("Bold")) {
            toggle(box, Attr::Bold);
        } else if (key == QLatin1String("Italic")) {
            toggle(box, Attr::Italic);
        } else if (key == QLatin1String("Underline")) {
            toggle(box, Attr::Underline);
        } else if (key == QLatin1String("Left")) {
            align(box, Qt::AlignLeft);
        } else if (key == QLatin1String("Center")) {
            align(box, Qt::AlignHCenter);
        } else if (key == QLatin1String("Right")) {
            align(box, Qt::AlignRight);
        }
    } catch (...) {
        // Toolbar commands never stop the editor.
    }
    updateButtons();
}

bool DocEditor::openFile(QTextEdit* box, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return false;
    if (hasRtfSuffix(path))
        return Rtf::read(data, *box->document());
    box->setPlainText(decodeText(data));
    return true;
}

bool DocEditor::saveFile(QTextEdit* box, const QString& path) {
    return writeFile(path, hasRtfSuffix(path) ? Rtf::write(*box->document())
                                              : box->toPlainText().toUtf8());
}

bool DocEditor::savePdf(QTextEdit* box, const QString& path) {
    {
        QPdfWriter pdf(path);
        pdf.setResolution(300);
        // The paper of a document that gives none; a template's own page wins (PrintRichText).
        pdf.setPageSize(QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                                      ? QPageSize::Letter
                                      : QPageSize::A4));
        pdf.setTitle(documentTitle());
        pdf.setCreator(QStringLiteral("Corvanel"));
        if (PrintRichText(*box->document(), pdf, OneInch, OneInch, OneInch, OneInch) == 0)
            return false;
    }
    return QFileInfo(path).size() > 0;
}

QString DocEditor::documentTitle() const {
    const QString title = tab_->SSTab2->tabText(tab_->SSTab2->currentIndex()).trimmed();
    return title.isEmpty() ? QStringLiteral("Document") : title;
}

void DocEditor::email(QTextEdit* box) {
    if (box->document()->isEmpty()) {
        ctx_.prompt->message(QStringLiteral("The %1 is empty: make it first, then send it.")
                                 .arg(documentTitle().toLower()),
                             QString(), Prompt::Icon::Warning);
        return;
    }
    const QString path = DocumentFiles::pdfPath(ctx_, documentTitle());
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!savePdf(box, path)) {
        reportWriteFailure(path);
        return;
    }
    const QString company =
        ctx_.settings ? ctx_.settings->get(QStringLiteral("CoInfo"), QStringLiteral("Name"))
                      : QString();
    const QString subject = company.trimmed().isEmpty()
                                ? documentTitle()
                                : documentTitle() + QStringLiteral(" \u2013 ") + company.trimmed();
    // The owner's record keeps no e-mail address: the user addresses the message.
    const QStringList args = MailCommand::arguments(path, subject);
    if (!mailer)
        return;
    QPointer<DocEditor> self(this);
    mailer(args, [self, path](int code) {
        const QString problem = MailCommand::problem(code, path);
        if (self && !problem.isEmpty())
            self->ctx_.prompt->message(problem, QString(), Prompt::Icon::Warning);
    });
}

void DocEditor::reportWriteFailure(const QString& path) {
    ctx_.prompt->message(
        QStringLiteral("The file %1 could not be written.").arg(QDir::toNativeSeparators(path)),
        QString(), Prompt::Icon::Warning);
}

void DocEditor::copy(QTextEdit* box) {
    const QTextCursor c = box->textCursor();
    if (!c.hasSelection())
        return;
    const QTextDocumentFragment sel = c.selection();
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(RtfMime), Rtf::write(sel));
    mime->setText(sel.toPlainText());
    QApplication::clipboard()->setMimeData(mime);
}

void DocEditor::cut(QTextEdit* box) {
    if (!box->textCursor().hasSelection())
        return;
    copy(box);
    QTextCursor c = box->textCursor();
    c.removeSelectedText();
    box->setTextCursor(c);
}

void DocEditor::paste(QTextEdit* box) {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime)
        return;
    QTextCursor c = box->textCursor();
    c.beginEditBlock();
    c.removeSelectedText();
    const QString rtf = QString::fromLatin1(RtfMime);
    if (mime->hasFormat(rtf)) {
        Rtf::insert(mime->data(rtf), c);
    } else {
        // Markup put there as text by another program still pastes with its formatting.
        const QString text = mime->text();
        const QByteArray bytes = text.toUtf8();
        if (Rtf::looksLikeRtf(bytes))
            Rtf::insert(bytes, c);
        else
            c.insertText(text);
    }
    c.endEditBlock();
    box->setTextCursor(c);
}

void DocEditor::find(QTextEdit* box) {
    frmFind::Result last;
    last.Text = FindText;
    last.WholeWords = FindOptions & 2;
    last.MatchCase = FindOptions & 4;
    frmFind dlg(last, tab_);
    dlg.exec();
    const frmFind::Result r = dlg.result();
    if (r.Cancelled)
        return;
    FindText = r.Text;
    FindOptions = (r.WholeWords ? 2 : 0) + (r.MatchCase ? 4 : 0);
    QTextDocument::FindFlags flags;
    if (r.WholeWords)
        flags |= QTextDocument::FindWholeWords;
    if (r.MatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    const QTextCursor match = FindText.isEmpty()
                                  ? QTextCursor()
                                  : box->document()->find(FindText, box->textCursor(), flags);
    if (match.isNull()) {
        ctx_.prompt->message(QStringLiteral("String not found"), QString(), Prompt::Icon::Warning);
        return;
    }
    box->setTextCursor(match);
}

bool DocEditor::isOn(QTextEdit* box, Attr attr) {
    return attrState(box, attr) == State::On;
}

bool DocEditor::toggle(QTextEdit* box, Attr attr) {
    const State s = attrState(box, attr);
    if (s == State::Mixed)
        return false;
    const bool on = s == State::Off;
    QTextCharFormat f;
    switch (attr) {
    case Attr::Bold:
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case Attr::Italic:
        f.setFontItalic(on);
        break;
    case Attr::Underline:
        f.setFontUnderline(on);
        break;
    }
    box->mergeCurrentCharFormat(f);
    return on;
}

void DocEditor::align(QTextEdit* box, Qt::Alignment a) {
    QTextCursor c = box->textCursor();
    QTextBlockFormat f;
    f.setAlignment(a);
    c.mergeBlockFormat(f);
}

void DocEditor::print(QTextEdit* box) {
    if (!preview)
        return;
    if (!box->textCursor().hasSelection()) {
        preview(*box->document(), documentTitle());
        return;
    }
    const auto a = ctx_.prompt->ask(
        QStringLiteral("Print only the selected text?\nClick 'No' to print the whole document."),
        QStringLiteral("Print"), Prompt::Buttons::YesNoCancel, Prompt::Icon::Question,
        Prompt::Answer::No);
    if (a == Prompt::Answer::Cancel)
        return;
    if (a == Prompt::Answer::No) {
        preview(*box->document(), documentTitle());
        return;
    }
    // The selection on the document's own paper, with its headers and footers.
    QTextDocument part;
    part.setDefaultFont(box->document()->defaultFont());
    QTextCursor(&part).insertFragment(box->textCursor().selection());
    Rtf::setPageSetup(part, Rtf::pageSetup(*box->document()));
    for (int k = 0; k < Rtf::RunningHeadCount; ++k)
        Rtf::setRunningHead(part, Rtf::RunningHead(k),
                            Rtf::runningHead(*box->document(), Rtf::RunningHead(k)));
    preview(part, documentTitle());
}

void DocEditor::cboFonts_Click() {
    const QString family = tab_->cboFonts->currentText().trimmed();
    if (family.isEmpty())
        return;
    QTextCharFormat f;
    f.setFontFamilies({family});
    tab_->activeBox()->mergeCurrentCharFormat(f);
}

void DocEditor::cboSize_Click() {
    bool ok = false;
    const double size = QLocale().toDouble(tab_->cboSize->currentText().trimmed(), &ok);
    if (!ok || size <= 0 || size > 1638)
        return;
    QTextCharFormat f;
    f.setFontPointSize(size);
    tab_->activeBox()->mergeCurrentCharFormat(f);
}

void DocEditor::PopSizeCombo() {
    QComboBox* combo = tab_->cboSize;
    const QString kept = combo->currentText();
    combo->blockSignals(true);
    combo->clear();
    for (int size : FontSizes::forFamily(tab_->cboFonts->currentText()))
        combo->addItem(QString::number(size));
    combo->setEditText(kept);
    combo->blockSignals(false);
}

void DocEditor::updateButtons() {
    QTextEdit* box = tab_->activeBox();
    const std::pair<const char*, Attr> buttons[] = {
        {"Bold", Attr::Bold}, {"Italic", Attr::Italic}, {"Underline", Attr::Underline}};
    for (const auto& [key, attr] : buttons)
        if (QAction* a = tab_->button(QString::fromLatin1(key)))
            a->setChecked(isOn(box, attr));
}

bool DocEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sizeBox_ && event->type() == QEvent::MouseButtonPress)
        cboSize_DropDown();
    return QObject::eventFilter(watched, event);
}
