#include "documents/forms/OutputTab.h"

#include "common/AppContext.h"
#include "common/forms/InputHelpers.h"
#include "common/forms/Widgets.h"
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
    for (QTextEdit* box : rtfText)
        box->clear();
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

    static const char* const kinds[] = {"detail", "proposal", "contract", "roof"};
    auto build = [&](int box) {
        modDocs::BuildPage(ctx_, QString::fromLatin1(kinds[box]), *rtfText[box]->document(), in);
    };
    const std::array<QPushButton*, 5> buttons = documentButtons();
    if (index == 0) {
        clearDocuments();
        for (int box : {0, 3, 1, 2})
            build(box);
        for (QPushButton* b : buttons)
            if (b)
                b->setEnabled(false);
    } else {
        rtfText[index - 1]->clear();
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
