#include "documents/forms/OutputTab.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
#include "documents/DocumentFiles.h"
#include "documents/forms/DocEditor.h"
#include "documents/modDocs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

using Widgets::indexed;
using Widgets::named;

QStringList OutputTab::keys() {
    return {"New",  "Open", "Save",   "Print",     "Copy", "Cut",    "Paste",
            "Find", "Bold", "Italic", "Underline", "Left", "Center", "Right"};
}

OutputTab::OutputTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    tbToolBar = named(new QToolBar, "tbToolBar");
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QStringList captions = {"New",  "Open", "Save",   "Print",     "Copy", "Cut",    "Paste",
                                  "Find", "Bold", "Italic", "Underline", "Left", "Center", "Right"};
    const QList<QKeySequence> shortcuts = {QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence(Qt::CTRL | Qt::Key_B),
                                           QKeySequence(Qt::CTRL | Qt::Key_I),
                                           QKeySequence(Qt::CTRL | Qt::Key_U),
                                           QKeySequence(),
                                           QKeySequence(),
                                           QKeySequence()};
    const QStringList k = keys();
    for (int i = 0; i < k.size(); ++i) {
        QAction* a = tbToolBar->addAction(captions[i]);
        a->setObjectName(k[i]);
        a->setData(k[i]);
        // The alignment buttons carry short captions so that the bar fits the window.
        a->setToolTip(i >= 11 ? QStringLiteral("Align ") + captions[i] : captions[i]);
        if (!shortcuts[i].isEmpty()) {
            a->setShortcut(shortcuts[i]);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
        if (k[i] == "Bold" || k[i] == "Italic" || k[i] == "Underline")
            a->setCheckable(true);
        if (k[i] == "Print") {
            // Contractors send their proposals by e-mail.
            QAction* pdf = tbToolBar->addAction(QStringLiteral("Save as PDF"));
            pdf->setObjectName(QStringLiteral("PDF"));
            pdf->setData(QStringLiteral("PDF"));
            pdf->setToolTip(QStringLiteral("Save as PDF"));
            connect(pdf, &QAction::triggered, this, [this] { Q_EMIT buttonClicked("PDF"); });
            QAction* mail = tbToolBar->addAction(QStringLiteral("Send by e-mail\u2026"));
            mail->setObjectName(QStringLiteral("cmdEmail"));
            mail->setData(QStringLiteral("Email"));
            mail->setToolTip(QStringLiteral("Save as PDF and attach it to a new message"));
            connect(mail, &QAction::triggered, this, [this] { Q_EMIT buttonClicked("Email"); });
        }
        if (k[i] == "Print" || k[i] == "Paste" || k[i] == "Find" || k[i] == "Underline")
            tbToolBar->addSeparator();
        connect(a, &QAction::triggered, this, [this, key = k[i]] { Q_EMIT buttonClicked(key); });
    }
    // Bold, italic and underline look like what they do.
    for (const char* key : {"Bold", "Italic", "Underline"}) {
        QAction* a = button(QString::fromLatin1(key));
        QFont f = a->font();
        f.setBold(qstrcmp(key, "Bold") == 0);
        f.setItalic(qstrcmp(key, "Italic") == 0);
        f.setUnderline(qstrcmp(key, "Underline") == 0);
        a->setFont(f);
    }
    top->addWidget(tbToolBar, 1);
    // The font and size lists sit beside the document tabs, leaving the bar its full width.
    auto* fontBox = new QWidget;
    auto* fontRow = new QHBoxLayout(fontBox);
    fontRow->setContentsMargins(0, 0, 0, 2);
    fontRow->addWidget(new QLabel(QStringLiteral("Font:")));
    cboFonts = named(new QComboBox, "cboFonts");
    cboFonts->setEditable(true);
    cboFonts->setInsertPolicy(QComboBox::NoInsert);
    cboFonts->setMinimumContentsLength(18);
    cboFonts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fontRow->addWidget(cboFonts);
    fontRow->addWidget(new QLabel(QStringLiteral("Size:")));
    cboSize = named(new QComboBox, "cboSize");
    cboSize->setEditable(true);
    cboSize->setInsertPolicy(QComboBox::NoInsert);
    cboSize->setMinimumWidth(60);
    fontRow->addWidget(cboSize);
    outer->addLayout(top);

    SSTab2 = named(new QTabWidget, "SSTab2");
    SSTab2->setCornerWidget(fontBox, Qt::TopRightCorner);
    const char* tabs[] = {"Detail", "Proposal", "Contract", "Roof Details"};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget;
        auto* v = new QVBoxLayout(page);
        rtfText[i] = named(new QTextEdit, indexed("rtfText", i));
        if (i == 0 || i == 3) {
            // The detail and roof documents are columns of blanks: a fixed-pitch font.
            QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            mono.setFamilies({QStringLiteral("Courier New"), mono.family()});
            rtfText[i]->document()->setDefaultFont(mono);
            rtfText[i]->setLineWrapMode(QTextEdit::NoWrap);
        }
        v->addWidget(rtfText[i], 1);
        auto* h = new QHBoxLayout;
        cmdPrint[i] = named(new QPushButton(i == 3 ? QStringLiteral("Create from roof areas")
                                                   : QStringLiteral("Create from estimate")),
                            indexed("cmdPrint", i + 1));
        h->addStretch();
        h->addWidget(cmdPrint[i]);
        v->addLayout(h);
        SSTab2->addTab(page, QString::fromLatin1(tabs[i]));
    }
    outer->addWidget(SSTab2, 1);
    editor = new DocEditor(ctx_, this);
    for (int i = 0; i < 4; ++i)
        connect(rtfText[i]->document(), &QTextDocument::contentsChanged, this, [this, i] {
            if (filling_ || rtfText[i]->document()->isEmpty())
                return;
            edited_[i] = true;
            unsaved_[i] = true;
            Q_EMIT changed();
        });
}

void OutputTab::fill(const std::function<void()>& change) {
    const bool was = filling_;
    filling_ = true;
    change();
    filling_ = was;
}

QAction* OutputTab::button(const QString& key) const {
    for (QAction* a : tbToolBar->actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

QTextEdit* OutputTab::activeBox() const {
    const int i = SSTab2->currentIndex();
    return i >= 0 && i < 4 ? rtfText[i] : rtfText[0];
}

void OutputTab::popFonts() {
    cboFonts->clear();
    cboFonts->addItems(QFontDatabase::families());
}

std::array<QPushButton*, 5> OutputTab::documentButtons() const {
    return {createSet_, cmdPrint[0], cmdPrint[1], cmdPrint[2], cmdPrint[3]};
}

void OutputTab::clearDocuments() {
    for (int i = 0; i < 4; ++i)
        fill([&] { rtfText[i]->clear(); });
    edited_ = {};
    unsaved_ = {};
}

void OutputTab::loadDocuments() {
    for (int i = 0; i < 4; ++i) {
        bool edited = false;
        // Into the box's own document, which keeps its default font (the fixed-pitch one of
        // the detail and roof listings); a missing or unreadable file leaves the box empty.
        fill([&] {
            rtfText[i]->clear();
            DocumentFiles::load(ctx_, i, *rtfText[i]->document(), &edited);
        });
        edited_[i] = edited;
        unsaved_[i] = false;
    }
}

bool OutputTab::hasUnsavedDocuments() const {
    return std::any_of(unsaved_.begin(), unsaved_.end(), [](bool b) { return b; });
}

bool OutputTab::saveDocuments() {
    for (int i = 0; i < 4; ++i) {
        if (!unsaved_[i])
            continue;
        QString file;
        if (!DocumentFiles::save(ctx_, i, *rtfText[i]->document(), edited_[i], &file)) {
            if (DocumentFiles::folder(ctx_).isEmpty())
                continue; // no estimate to keep it with
            ctx_.prompt->message(
                QStringLiteral("The %1 could not be kept with the estimate: %2 could not be "
                               "written. Save it with the Save button to keep your changes.")
                    .arg(DocumentFiles::titleOf(i).toLower(), file),
                QString(), Prompt::Icon::Warning);
            return false;
        }
        unsaved_[i] = false;
    }
    return true;
}

bool OutputTab::mayReplace(int box) {
    if (!edited_[box] || rtfText[box]->document()->isEmpty())
        return true;
    const auto a = ctx_.prompt->ask(
        QStringLiteral("The %1 was changed after it was made.\nClick 'Yes' to replace it with a "
                       "new one made from the estimate, or 'No' to keep your changes.")
            .arg(DocumentFiles::titleOf(box).toLower()),
        QStringLiteral("Replace the %1?").arg(DocumentFiles::titleOf(box).toLower()),
        Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::No);
    return a == Prompt::Answer::Yes;
}

void OutputTab::storeMade(int box) {
    edited_[box] = false;
    unsaved_[box] = true;
    QString file;
    if (DocumentFiles::folder(ctx_).isEmpty())
        return;
    if (!DocumentFiles::save(ctx_, box, *rtfText[box]->document(), false, &file)) {
        ctx_.prompt->message(QStringLiteral("The %1 could not be kept with the estimate: %2 "
                                            "could not be written.")
                                 .arg(DocumentFiles::titleOf(box).toLower(), file),
                             QString(), Prompt::Icon::Warning);
        return;
    }
    unsaved_[box] = false;
}

void OutputTab::createDocuments(int index, const Takeoff::RoofTotals& roof) {
    if (index < 0 || index > 4)
        return;
    modDocs::PageInputs in;
    in.roofTotals = roof;
    // The estimate stays open after its documents are made, so its lines stay in the working
    // tables: emptying them would leave the grid and the totals showing nothing of what is
    // stored, and a line added afterwards would be all the screen knew of the estimate.
    in.emptyWorkingTables = false;

    auto build = [&](int box) {
        if (!mayReplace(box))
            return;
        fill([&] {
            rtfText[box]->clear();
            modDocs::BuildPage(ctx_, DocumentFiles::kindOf(box), *rtfText[box]->document(), in);
        });
        storeMade(box);
    };
    const std::array<QPushButton*, 5> buttons = documentButtons();
    if (index == 0) {
        for (int box : {0, 3, 1, 2})
            build(box);
        for (QPushButton* b : buttons)
            if (b)
                b->setEnabled(false);
    } else {
        build(index - 1);
        buttons[index]->setEnabled(false);
    }
}

void OutputTab::showFigureMode() {
    SSTab2->setTabEnabled(3, true);
    SSTab2->setCurrentIndex(3);
    for (int i : {0, 1, 2})
        SSTab2->setTabEnabled(i, false);
}

void OutputTab::showReportMode() {
    SSTab2->setTabEnabled(0, true);
    SSTab2->setCurrentIndex(0);
    SSTab2->setTabText(0, QString());
    for (int i : {1, 2, 3})
        SSTab2->setTabEnabled(i, false);
    for (QPushButton* b : cmdPrint)
        b->setEnabled(false);
}

void OutputTab::showAllDocuments() {
    for (int i = 0; i < SSTab2->count(); ++i)
        SSTab2->setTabEnabled(i, true);
    SSTab2->setTabText(0, QStringLiteral("Detail"));
}
