#include "app/HelpWindow.h"

#include "app/HelpIndex.h"
#include "common/Prompt.h"
#include "common/forms/Widgets.h"

#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

using Widgets::named;

namespace {

const QString Scheme = QStringLiteral("qrc");
const QString Folder = QStringLiteral("/help/");

// The pages are styled from the user's palette, so that they read as well on a dark desktop as
// on a light one. The stylesheet they link is for a web browser and is not loaded here.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser() { applyStyle(); }

    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::StyleSheetResource)
            return QString();
        return QTextBrowser::loadResource(type, name);
    }

    // The stylesheet drawn from the palette.
    QString styleSheet() const {
        const QPalette& p = palette();
        const QString text = p.color(QPalette::Text).name();
        const QString link = p.color(QPalette::Link).name();
        const QString alt = p.color(QPalette::AlternateBase).name();
        const QString mid = p.color(QPalette::Mid).name();
        return QStringLiteral("body { color: %1; }"
                              "h1, h2, h3 { color: %1; }"
                              "a { color: %2; }"
                              "th { background-color: %3; }"
                              "th, td { border: 1px solid %4; padding: 3px; }"
                              "table { border-collapse: collapse; }"
                              "code, kbd, pre { font-family: monospace; background-color: %3; }"
                              ".ui { font-weight: bold; }"
                              ".msg { font-style: italic; }"
                              ".tip, .note, .warn { background-color: %3; }"
                              "p.nav { margin-bottom: 8px; }"
                              "p.footer { margin-top: 16px; }")
            .arg(text, link, alt, mid);
    }

protected:
    void changeEvent(QEvent* e) override {
        QTextBrowser::changeEvent(e);
        if (e->type() == QEvent::PaletteChange) {
            applyStyle();
            if (!source().isEmpty())
                reload();
        }
    }

private:
    void applyStyle() { document()->setDefaultStyleSheet(styleSheet()); }
};

QString fileOf(const QUrl& url) {
    const QString path = url.path();
    return path.startsWith(Folder) ? path.mid(Folder.size()) : path.section(QLatin1Char('/'), -1);
}

} // namespace

HelpWindow::HelpWindow(Prompt& prompt, QWidget* parent)
    : QMainWindow(parent, Qt::Window), prompt_(prompt) {
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Corvanel Help"));
    resize(960, 680);

    openExternal = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    printDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    auto* bar = named(new QToolBar(QStringLiteral("Help")), "tbHelp");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(bar);
    auto action = [this, bar](const char* name, const QString& caption, const QKeySequence& key,
                              const QString& tip) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        a->setToolTip(tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                      QLatin1Char(')'));
        addAction(a);
        bar->addAction(a);
        return a;
    };
    actHelpBack = action("actHelpBack", QStringLiteral("Back"),
                         QKeySequence(Qt::ALT | Qt::Key_Left), QStringLiteral("The page before"));
    actHelpForward = action("actHelpForward", QStringLiteral("Forward"),
                            QKeySequence(Qt::ALT | Qt::Key_Right), QStringLiteral("The next page"));
    actHelpHome = action("actHelpHome", QStringLiteral("Contents"),
                         QKeySequence(Qt::ALT | Qt::Key_Home), QStringLiteral("The contents page"));
    bar->addSeparator();
    actHelpPrint = action("actHelpPrint", QStringLiteral("Print..."),
                          QKeySequence(Qt::CTRL | Qt::Key_P), QStringLiteral("Print this page"));
    actHelpFind =
        action("actHelpFind", QStringLiteral("Search"), QKeySequence(Qt::CTRL | Qt::Key_F),
               QStringLiteral("Search the help pages"));
    actHelpFindNext =
        action("actHelpFindNext", QStringLiteral("Find Next"), QKeySequence(Qt::Key_F3),
               QStringLiteral("The next place of the search words on this page"));
    actHelpClose = action("actHelpClose", QStringLiteral("Close"),
                          QKeySequence(Qt::CTRL | Qt::Key_W), QStringLiteral("Close the help"));
    actHelpClose->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)});
    // Search and Close are reached by their keys and the search box; the bar keeps to moving
    // and printing.
    bar->removeAction(actHelpFind);
    bar->removeAction(actHelpFindNext);
    bar->removeAction(actHelpClose);

    auto* side = new QWidget;
    auto* v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);
    auto* searchLabel = new QLabel(QStringLiteral("&Search the help:"));
    txtHelpSearch = named(new QLineEdit, "txtHelpSearch");
    txtHelpSearch->setPlaceholderText(QStringLiteral("Words to look for"));
    txtHelpSearch->setClearButtonEnabled(true);
    searchLabel->setBuddy(txtHelpSearch);
    auto* resultsLabel = named(new QLabel(QStringLiteral("&Found on")), "lblHelpResults");
    lstHelpResults = named(new QListWidget, "lstHelpResults");
    resultsLabel->setBuddy(lstHelpResults);
    auto* contentsLabel = new QLabel(QStringLiteral("C&ontents"));
    lstHelpContents = named(new QListWidget, "lstHelpContents");
    contentsLabel->setBuddy(lstHelpContents);
    for (const HelpIndex::Page& p : HelpIndex::pages()) {
        auto* item = new QListWidgetItem(p.title, lstHelpContents);
        item->setData(Qt::UserRole, p.file);
    }
    v->addWidget(searchLabel);
    v->addWidget(txtHelpSearch);
    v->addWidget(resultsLabel);
    v->addWidget(lstHelpResults, 1);
    v->addWidget(contentsLabel);
    v->addWidget(lstHelpContents, 2);
    resultsLabel->setVisible(false);
    lstHelpResults->setVisible(false);

    txtHelpPage = named(new HelpBrowser, "txtHelpPage");
    txtHelpPage->setOpenLinks(false);
    txtHelpPage->setOpenExternalLinks(false);

    auto* split = new QSplitter;
    split->addWidget(side);
    split->addWidget(txtHelpPage);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 700});
    setCentralWidget(split);
    setTabOrder(txtHelpSearch, lstHelpResults);
    setTabOrder(lstHelpResults, lstHelpContents);
    setTabOrder(lstHelpContents, txtHelpPage);

    connect(txtHelpPage, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(txtHelpPage, &QTextBrowser::sourceChanged, this, &HelpWindow::pageShown);
    connect(txtHelpPage, &QTextBrowser::backwardAvailable, actHelpBack, &QAction::setEnabled);
    connect(txtHelpPage, &QTextBrowser::forwardAvailable, actHelpForward, &QAction::setEnabled);
    actHelpBack->setEnabled(false);
    actHelpForward->setEnabled(false);
    connect(actHelpBack, &QAction::triggered, txtHelpPage, &QTextBrowser::backward);
    connect(actHelpForward, &QAction::triggered, txtHelpPage, &QTextBrowser::forward);
    connect(actHelpHome, &QAction::triggered, this, [this] { open(QStringLiteral("index.html")); });
    connect(actHelpPrint, &QAction::triggered, this, &HelpWindow::printClicked);
    connect(actHelpFind, &QAction::triggered, this, [this] {
        txtHelpSearch->setFocus(Qt::ShortcutFocusReason);
        txtHelpSearch->selectAll();
    });
    connect(actHelpFindNext, &QAction::triggered, this, [this] { findInPage(); });
    connect(actHelpClose, &QAction::triggered, this, &QWidget::close);
    connect(txtHelpSearch, &QLineEdit::returnPressed, this, &HelpWindow::searchPages);
    connect(lstHelpContents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { open(item->data(Qt::UserRole).toString()); });
    connect(lstHelpContents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { open(item->data(Qt::UserRole).toString()); });
    auto showHit = [this](QListWidgetItem* item) {
        open(item->data(Qt::UserRole).toString());
        findInPage();
    };
    connect(lstHelpResults, &QListWidget::itemActivated, this, showHit);
    connect(lstHelpResults, &QListWidget::itemClicked, this, showHit);
}

HelpWindow* HelpWindow::showPage(Prompt& prompt, QWidget* owner, const QString& page) {
    QWidget* top = owner ? owner->window() : nullptr;
    HelpWindow* w =
        top ? top->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!w)
        w = new HelpWindow(prompt, top);
    w->open(page);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void HelpWindow::open(const QString& page) {
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    QUrl url;
    url.setScheme(Scheme);
    if (HelpIndex::title(file).isEmpty()) {
        url.setPath(Folder + QStringLiteral("index.html"));
    } else {
        url.setPath(Folder + file);
        const QString anchor = page.section(QLatin1Char('#'), 1);
        if (!anchor.isEmpty())
            url.setFragment(anchor);
    }
    if (txtHelpPage->source() != url)
        txtHelpPage->setSource(url);
}

QString HelpWindow::currentPage() const {
    const QUrl url = txtHelpPage->source();
    const QString file = fileOf(url);
    return url.hasFragment() ? file + QLatin1Char('#') + url.fragment() : file;
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl url = txtHelpPage->source().resolved(link);
    if (url.scheme() == Scheme) {
        open(fileOf(url) + (url.hasFragment() ? QLatin1Char('#') + url.fragment() : QString()));
        return;
    }
    if (!openExternal(url))
        prompt_.message(
            QStringLiteral("There is no program on this computer to open %1.\nCopy the address "
                           "into a web browser or e-mail program where you have one.")
                .arg(url.toDisplayString()),
            QStringLiteral("Corvanel Help"), Prompt::Icon::Information);
}

void HelpWindow::pageShown(const QUrl& url) {
    const QString file = fileOf(url);
    const QString title = HelpIndex::title(file);
    setWindowTitle(QStringLiteral("Corvanel Help \u2013 ") + title);
    const QSignalBlocker block(lstHelpContents);
    for (int i = 0; i < lstHelpContents->count(); ++i) {
        if (lstHelpContents->item(i)->data(Qt::UserRole).toString() == file) {
            lstHelpContents->setCurrentRow(i);
            break;
        }
    }
}

void HelpWindow::searchPages() {
    lstHelpResults->clear();
    const QString query = txtHelpSearch->text().trimmed();
    const QList<HelpIndex::Hit> hits = HelpIndex::search(query);
    if (auto* label = findChild<QLabel*>(QStringLiteral("lblHelpResults"))) {
        label->setText(hits.isEmpty() && !query.isEmpty()
                           ? QStringLiteral("&Found on no page")
                           : QStringLiteral("&Found on %1 pages").arg(hits.size()));
        label->setVisible(!query.isEmpty());
    }
    lstHelpResults->setVisible(!query.isEmpty());
    for (const HelpIndex::Hit& h : hits) {
        auto* item = new QListWidgetItem(h.title, lstHelpResults);
        item->setData(Qt::UserRole, h.file);
        item->setToolTip(h.excerpt);
    }
    if (hits.isEmpty())
        return;
    lstHelpResults->setCurrentRow(0);
    open(hits.first().file);
    findInPage();
}

bool HelpWindow::findInPage() {
    const QStringList words =
        txtHelpSearch->text().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    // The whole phrase first; pages that hold the words apart are marked at the first word.
    for (const QString& what : {words.join(QLatin1Char(' ')), words.first()}) {
        if (txtHelpPage->find(what))
            return true;
        QTextCursor top = txtHelpPage->textCursor();
        top.movePosition(QTextCursor::Start);
        txtHelpPage->setTextCursor(top);
        if (txtHelpPage->find(what))
            return true;
    }
    return false;
}

void HelpWindow::printPage(QPrinter& printer) {
    txtHelpPage->document()->print(&printer);
}

void HelpWindow::printClicked() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (printDialog(printer))
        printPage(printer);
}
