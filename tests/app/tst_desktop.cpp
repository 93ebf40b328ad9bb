// The program as a desktop program: its title, the places its windows keep, its own help
// window and context help, the usual keys, access keys that do not clash, and a dark palette.
#include "TestContext.h"
#include "UiTest.h"

#include "app/ContextHelp.h"
#include "app/GeometryKeeper.h"
#include "app/HelpIndex.h"
#include "app/HelpWindow.h"
#include "app/WindowTitle.h"
#include "app/frmAbout.h"
#include "app/frmCorvanel.h"
#include "app/frmGreet.h"
#include "catalogue/forms/frmUnitItem.h"
#include "documents/forms/DocEditor.h"
#include "documents/forms/OutputTab.h"
#include "documents/forms/frmFind.h"
#include "documents/forms/frmPrintForms.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmManageStatus.h"
#include "estimates/forms/frmOpenEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/forms/frmAddSection.h"
#include "pricing/forms/frmEditID.h"
#include "pricing/forms/frmPickItem.h"
#include "pricing/modGrid.h"
#include "settings/forms/frmSetup.h"
#include "storage/modData.h"
#include "takeoff/forms/frmAreas.h"
#include "takeoff/forms/frmLineal.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cmath>
#include <functional>
#include <memory>

using Answer = Prompt::Answer;

namespace {

const QString Dash = QStringLiteral(" \u2013 ");

// Catches the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

void startNewEstimate(frmCorvanel& w, const QString& last, const QString& name = QString()) {
    w.mnuEstNew->trigger();
    const QStringList v = {"Zoë", last, "12 Elm St", "Anytown, MT 54321", "555-123-4567", "", ""};
    for (int i = 0; i < 7; ++i)
        w.owner->txtName[i]->setText(v[i]);
    w.owner->cmbEstType->setEditText(QStringLiteral("Reroof"));
    w.owner->txtEstName->setText(name);
    w.owner->cmdStartEst->click();
}

void addLine(AppContext& ctx) {
    CurItemRecord c;
    c.ItemID = 4;
    c.ItemTable = QStringLiteral("Material");
    c.Name = QStringLiteral("O'Brien's shingles");
    c.Unit = QStringLiteral("sq");
    c.Qty = Quantity::whole(3);
    c.Cost = Money::parse(QStringLiteral("45.50")).value();
    c.LineTotal = Money::fromRaw(c.Cost.raw() * 3);
    c.Sect = QStringLiteral("Shingles");
    c.SecOrder = 0;
    c.Picked = true;
    modData::exec(ctx, ctx.TempDBConn, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                  {c.Sect, 0});
    modGrid::AddLineItem(ctx, QStringLiteral("add"), 0, c);
}

// The help window that belongs to `w`'s window, if one is open.
HelpWindow* helpOf(QWidget* w) {
    return w->window()->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

QString readHelp(const QString& file) {
    QFile f(HelpIndex::source(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Whether the help page `page` ("file.html#anchor") exists with that anchor.
bool helpTargetExists(const QString& page) {
    const QString file = page.section('#', 0, 0);
    const QString anchor = page.section('#', 1);
    const QString html = readHelp(file);
    if (html.isEmpty())
        return false;
    return anchor.isEmpty() || html.contains(QStringLiteral("id=\"%1\"").arg(anchor));
}

// The access key of a caption ("&Save" → 'S'), or a null character.
QChar mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return QChar();
}

// The captions with access keys that are reachable at the same time: the window's own and, for
// each page of a tab widget, that page's with its parents'. Returns "key: a / b" for every
// clash.
void collectClashes(QWidget* w, QMap<QChar, QString> seen, QStringList& clashes) {
    auto note = [&](const QString& text) {
        const QChar k = mnemonic(text);
        if (k.isNull())
            return;
        if (seen.contains(k))
            clashes << QStringLiteral("%1: %2 / %3").arg(k, seen.value(k), text);
        else
            seen.insert(k, text);
    };
    QList<QWidget*> pages;
    // Everything at this level first, then each page of a tab widget on its own.
    std::function<void(QWidget*)> walk = [&](QWidget* parent) {
        for (QObject* o : parent->children()) {
            auto* c = qobject_cast<QWidget*>(o);
            if (!c || c->isWindow() || c->isHidden())
                continue;
            if (auto* b = qobject_cast<QAbstractButton*>(c))
                note(b->text());
            else if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy())
                note(l->text());
            else if (auto* g = qobject_cast<QGroupBox*>(c); g && g->isCheckable())
                note(g->title());
            if (auto* tabs = qobject_cast<QTabWidget*>(c)) {
                for (int i = 0; i < tabs->count(); ++i) {
                    note(tabs->tabText(i));
                    pages << tabs->widget(i);
                }
                continue;
            }
            if (auto* m = qobject_cast<QMenuBar*>(c)) {
                for (QAction* a : m->actions())
                    note(a->text());
                continue;
            }
            walk(c);
        }
    };
    walk(w);
    for (QWidget* page : pages)
        collectClashes(page, seen, clashes);
}

QStringList clashesOf(QWidget* w) {
    QStringList clashes;
    collectClashes(w, {}, clashes);
    return clashes;
}

// A dark palette as a dark desktop theme gives it.
QPalette darkPalette() {
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(50, 50, 55));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::Mid, QColor(90, 90, 90));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
    return p;
}

// WCAG contrast ratio of two colours (1 to 21).
double contrast(const QColor& a, const QColor& b) {
    auto lum = [](const QColor& c) {
        auto ch = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every enabled box and label of a window whose text and background are too alike to read.
QStringList unreadable(QWidget* window) {
    QStringList bad;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isEnabled())
            continue;
        const QPalette& p = c->palette();
        QPalette::ColorRole bg = QPalette::NoRole, fg = QPalette::NoRole;
        if (qobject_cast<QLineEdit*>(c) || qobject_cast<QTextEdit*>(c) ||
            qobject_cast<QAbstractItemView*>(c)) {
            bg = QPalette::Base;
            fg = QPalette::Text;
        } else if (qobject_cast<QLabel*>(c)) {
            bg = c->autoFillBackground() ? c->backgroundRole() : QPalette::Window;
            fg = c->foregroundRole();
        } else {
            continue;
        }
        const double r = contrast(p.color(bg), p.color(fg));
        if (r < 4.5)
            bad << QStringLiteral("%1 (%2): %3")
                       .arg(c->objectName(), c->metaObject()->className())
                       .arg(r, 0, 'f', 1);
        if (!c->styleSheet().isEmpty())
            bad << QStringLiteral("%1 has a style sheet: %2").arg(c->objectName(), c->styleSheet());
    }
    return bad;
}

} // namespace

class tst_desktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        TestContext::pinLocale();
        // Quitting the main window in a test must not end the test program.
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void titleText_data();
    void titleText();
    void titleFollowsTheEstimate();
    void geometryIsKept();
    void dialogsOpenCentred();
    void firstShowFitsTheScreen();
    void stateFileLocation_data();
    void stateFileLocation();
    void helpOpensWithoutBrowser();
    void helpLinksLeadSomewhere();
    void helpMovesAndSearches_data();
    void helpMovesAndSearches();
    void outsideLinks_data();
    void outsideLinks();
    void helpPrints();
    void contextHelpForDialogs();
    void quitAndCloseKeys();
    void printAndFindFollowTheDocumentInView();
    void accessKeysDoNotClash();
    void everyWindowHasItsHelp();
    void tabFollowsReadingOrder();
    void darkPaletteReads();
};

void tst_desktop::titleText_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("modified");
    QTest::newRow("idle") << int(Mode::Idle) << ""
                          << "" << false << "Corvanel" << false;
    QTest::newRow("idle after a change was thrown away")
        << int(Mode::Idle) << "Old"
        << "Working" << true << "Corvanel" << false;
    QTest::newRow("figure") << int(Mode::Figure) << ""
                            << "" << true << "Corvanel" + Dash + "Figure a roof" << false;
    QTest::newRow("report") << int(Mode::Report) << ""
                            << "" << false << "Corvanel" + Dash + "Manage Details/Proposal"
                            << false;
    QTest::newRow("new, not started")
        << int(Mode::New) << ""
        << "Working" << true << "Corvanel" + Dash + "New estimate (Working)[*]" << true;
    QTest::newRow("open, unchanged")
        << int(Mode::Open) << "OBrienHouse"
        << "Pending" << false << "Corvanel" + Dash + "OBrienHouse (Pending)[*]" << false;
    QTest::newRow("open, changed")
        << int(Mode::Open) << "ZoëDuvalReroof"
        << "Accepted" << true << "Corvanel" + Dash + "ZoëDuvalReroof (Accepted)[*]" << true;
    QTest::newRow("documents being made")
        << int(Mode::Open) << "Smith"
        << "Saving" << false << "Corvanel" + Dash + "Smith (Working)[*]" << false;
}

void tst_desktop::titleText() {
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(QString, status);
    QFETCH(bool, changed);
    QFETCH(QString, title);
    QFETCH(bool, modified);
    const WindowTitle::State s{Mode(mode), name, status, changed};
    QCOMPARE(WindowTitle::text(s), title);
    QCOMPARE(WindowTitle::modified(s), modified);
    QWidget w;
    WindowTitle::apply(&w, s);
    QCOMPARE(w.isWindowModified(), modified);
}

void tst_desktop::titleFollowsTheEstimate() {
    TestContext tc;
    AppContext& ctx = tc.ctx;
    frmCorvanel w(ctx);
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvanel"));

    w.mnuEstFig->trigger();
    QCOMPARE(w.windowTitle(), "Corvanel" + Dash + "Figure a roof");
    w.mnuEstClose->trigger();
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvanel"));

    startNewEstimate(w, "O'Brien", "O Brien House");
    QCOMPARE(w.windowTitle(), "Corvanel" + Dash + "OBrienHouse (Working)[*]");
    QVERIFY(w.isWindowModified());
    addLine(ctx);
    w.lines->PopEstiGrid();
    tc.prompt->answer(Answer::Yes); // complete: it becomes Pending
    w.mnuEstSave->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvanel"));
    QVERIFY(!w.isWindowModified());

    const int id = modData::scalar(ctx, ctx.MastEstConn, "select max(id) from master").toInt();
    UiTest::whenModal([id](QWidget* dlg) {
        auto* d = qobject_cast<frmOpenEst*>(dlg);
        QVERIFY(d);
        QListWidget* pending = d->lstEstList[1];
        for (int r = 0; r < pending->count(); ++r)
            if (pending->item(r)->data(Qt::UserRole).toInt() == id)
                pending->setCurrentRow(r);
        d->lstEstList_DblClick(1);
    });
    w.mnuEstOpen->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Open);
    QCOMPARE(w.windowTitle(), "Corvanel" + Dash + "OBrienHouse (Pending)[*]");
    QVERIFY(!w.isWindowModified());
    // An edit marks the title; closing without saving clears it.
    w.markChanged();
    QVERIFY(w.isWindowModified());
    tc.prompt->answer(Answer::No);
    w.mnuEstClose->trigger();
    QCOMPARE(ctx.WorkMode, Mode::Idle);
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvanel"));
    QVERIFY(!w.isWindowModified());
}

void tst_desktop::geometryIsKept() {
    TestContext tc;
    const QString file = tc.root() + "/state/Corvanel/windows.ini";
    QRect placed;
    {
        GeometryKeeper keeper(file);
        qApp->installEventFilter(&keeper);
        frmAbout about;
        about.show();
        about.setGeometry(QRect(140, 120, 520, 410));
        placed = about.geometry();
        about.hide();
        QVERIFY(!keeper.stored("frmAbout").isEmpty());
        // Qt's own message boxes size themselves and are not kept.
        QMessageBox box(QMessageBox::Information, "Corvanel", "Saved.");
        box.show();
        box.hide();
        QVERIFY(keeper.stored(box.objectName()).isEmpty());
        qApp->removeEventFilter(&keeper);
    }
    // The next start reads the place back from the file, and the settings file holds none of
    // it.
    QVERIFY(QFile::exists(file));
    GeometryKeeper keeper(file);
    qApp->installEventFilter(&keeper);
    frmAbout again;
    again.show();
    QCOMPARE(again.geometry(), placed);
    again.hide();
    qApp->removeEventFilter(&keeper);
    QFile settings(tc.ctx.ConfigPath + "/Corvanel/settings.ini");
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(!settings.readAll().contains("frmAbout"));
}

void tst_desktop::dialogsOpenCentred() {
    TestContext tc;
    GeometryKeeper keeper(tc.root() + "/state/windows.ini");
    qApp->installEventFilter(&keeper);
    frmCorvanel w(tc.ctx);
    keeper.setMainWindow(&w);
    w.show();
    w.setGeometry(QRect(60, 40, 700, 500));
    const QPoint centre = w.frameGeometry().center();
    {
        frmAbout about; // no parent: Qt alone would not place it over the main window
        about.show();
        QVERIFY2((about.frameGeometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2")
                                .arg(about.frameGeometry().center().x())
                                .arg(about.frameGeometry().center().y())));
        // Moved by the user, it opens where it was left.
        about.move(30, 30);
        const QPoint left = about.pos();
        about.hide();
        about.show();
        QCOMPARE(about.pos(), left);
        about.hide();
    }
    // A place that no longer lies on the main window's screen is not used.
    QSettings raw(keeper.fileName(), QSettings::IniFormat);
    frmAbout far;
    far.setGeometry(QRect(50000, 50000, 300, 200));
    raw.setValue("Geometry/frmAbout", far.saveGeometry());
    raw.sync();
    GeometryKeeper fresh(keeper.fileName());
    qApp->removeEventFilter(&keeper);
    qApp->installEventFilter(&fresh);
    fresh.setMainWindow(&w);
    frmAbout about;
    about.show();
    QVERIFY(w.screen()->availableGeometry().intersects(about.frameGeometry()));
    about.hide();
    qApp->removeEventFilter(&fresh);
}

void tst_desktop::firstShowFitsTheScreen() {
    TestContext tc;
    GeometryKeeper keeper(tc.root() + "/state/windows.ini");
    qApp->installEventFilter(&keeper);
    frmCorvanel w(tc.ctx);
    keeper.setMainWindow(&w);
    const QRect screen = w.screen()->availableGeometry();
    // The window's first size, meant for an ordinary screen, is more than this one holds (as
    // at 200 % on a laptop).
    w.resize(screen.width() + 300, screen.height() + 200);
    w.show();
    QVERIFY2(screen.contains(w.frameGeometry()),
             qPrintable(QStringLiteral("%1x%2").arg(w.width()).arg(w.height())));
    // A remembered size is the user's own and is kept as it was.
    w.resize(screen.width() / 2, screen.height() / 2);
    const QSize chosen = w.size();
    w.hide();
    w.show();
    QCOMPARE(w.size(), chosen);
    w.hide();
    qApp->removeEventFilter(&keeper);
}

void tst_desktop::stateFileLocation_data() {
    QTest::addColumn<QByteArray>("xdg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("set") << QByteArray("/srv/state") << "/srv/state/Corvanel/windows.ini";
    QTest::newRow("relative is ignored")
        << QByteArray("state") << QDir::homePath() + "/.local/state/Corvanel/windows.ini";
    QTest::newRow("unset") << QByteArray()
                           << QDir::homePath() + "/.local/state/Corvanel/windows.ini";
}

void tst_desktop::stateFileLocation() {
    QFETCH(QByteArray, xdg);
    QFETCH(QString, expected);
    const QByteArray before = qgetenv("XDG_STATE_HOME");
    if (xdg.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", xdg);
    const QString file = GeometryKeeper::defaultStateFile();
    if (before.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", before);
    QCOMPARE(file, expected);
}

void tst_desktop::helpOpensWithoutBrowser() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    UrlCatcher catcher;
    for (const char* scheme : {"file", "http", "https"})
        QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    w.mnuHelpContents->trigger();
    for (const char* scheme : {"file", "http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
    QVERIFY(catcher.urls.isEmpty());
    HelpWindow* help = helpOf(&w);
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->currentPage(), QStringLiteral("index.html"));
    QVERIFY(help->txtHelpPage->toPlainText().contains("Corvanel Help"));
    // The pages are styled: words as they appear on screen (class "ui") are bold.
    const QTextCursor ui = help->txtHelpPage->document()->find("Search the help");
    QVERIFY(!ui.isNull());
    QVERIFY(ui.charFormat().fontWeight() >= QFont::Bold);
    // A second F1 shows the same window again.
    help->open("roof.html");
    w.mnuHelpContents->trigger();
    QCOMPARE(w.findChildren<HelpWindow*>().size(), 1);
    QCOMPARE(help->currentPage(), QStringLiteral("index.html"));
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_desktop::helpLinksLeadSomewhere() {
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    const QList<HelpIndex::Page> pages = HelpIndex::pages();
    QVERIFY(pages.size() >= 10);
    QCOMPARE(pages.first().file, QStringLiteral("index.html"));
    QStringList broken;
    for (const HelpIndex::Page& p : pages) {
        QVERIFY2(!p.title.isEmpty() && p.title != p.file, qPrintable(p.file));
        const QString html = readHelp(p.file);
        // The contents name every page.
        if (p.file != QLatin1String("index.html"))
            QVERIFY2(readHelp("index.html").contains("href=\"" + p.file), qPrintable(p.file));
        for (const auto& m : href.globalMatch(html)) {
            const QString target = m.captured(1);
            if (target.contains(':') || target.endsWith(".css"))
                continue;
            const QString page = target.startsWith('#') ? p.file + target : target;
            if (!helpTargetExists(page))
                broken << p.file + " → " + target;
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
}

void tst_desktop::helpMovesAndSearches_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("firstOrAmong");
    QTest::newRow("a word of one window") << "Trap"
                                          << "roof.html";
    QTest::newRow("two words apart") << "pitch factor"
                                     << "roof.html";
    QTest::newRow("case and accents ignored") << "FIGURE   A ROOF"
                                              << "mainwindow.html";
    QTest::newRow("apostrophe") << "owner's"
                                << "";
    QTest::newRow("nothing") << "zzyzx"
                             << "";
}

void tst_desktop::helpMovesAndSearches() {
    QFETCH(QString, query);
    QFETCH(QString, firstOrAmong);
    TestContext tc;
    HelpWindow help(*tc.prompt);
    help.open("index.html");
    help.open("roof.html#areas");
    QCOMPARE(help.currentPage(), QStringLiteral("roof.html#areas"));
    QVERIFY(help.actHelpBack->isEnabled());
    help.actHelpBack->trigger();
    QCOMPARE(help.currentPage(), QStringLiteral("index.html"));
    QVERIFY(help.actHelpForward->isEnabled());
    help.actHelpForward->trigger();
    QCOMPARE(help.currentPage(), QStringLiteral("roof.html#areas"));
    QCOMPARE(help.lstHelpContents->currentItem()->data(Qt::UserRole).toString(),
             QStringLiteral("roof.html"));
    // An unknown page shows the contents rather than an empty window.
    help.open("nosuchpage.html#x");
    QCOMPARE(help.currentPage(), QStringLiteral("index.html"));

    help.txtHelpSearch->setText(query);
    help.searchPages();
    const QList<HelpIndex::Hit> hits = HelpIndex::search(query);
    QCOMPARE(help.lstHelpResults->count(), hits.size());
    if (query == "zzyzx") {
        QVERIFY(hits.isEmpty());
        QCOMPARE(help.currentPage(), QStringLiteral("index.html"));
        QVERIFY(!help.findInPage());
        return;
    }
    QVERIFY(!hits.isEmpty());
    QStringList files;
    for (const auto& h : hits)
        files << h.file;
    if (!firstOrAmong.isEmpty())
        QVERIFY2(files.contains(firstOrAmong), qPrintable(files.join(' ')));
    for (int i = 1; i < hits.size(); ++i)
        QVERIFY(hits[i - 1].matches >= hits[i].matches);
    // The first page found is shown with the words marked.
    QCOMPARE(help.currentPage(), hits.first().file);
    QVERIFY(help.txtHelpPage->textCursor().hasSelection());
    QVERIFY(help.findInPage());
}

void tst_desktop::outsideLinks_data() {
    QTest::addColumn<bool>("opened");
    QTest::newRow("a browser took it") << true;
    QTest::newRow("no browser") << false;
}

void tst_desktop::outsideLinks() {
    QFETCH(bool, opened);
    TestContext tc;
    HelpWindow help(*tc.prompt);
    help.open("index.html");
    QList<QUrl> asked;
    help.openExternal = [&](const QUrl& url) {
        asked << url;
        return opened;
    };
    const QUrl outside("https://www.example.com/roofing?a=1&b=O'Neil");
    Q_EMIT help.txtHelpPage->anchorClicked(outside);
    QCOMPARE(asked, QList<QUrl>{outside});
    QCOMPARE(help.currentPage(), QStringLiteral("index.html"));
    QCOMPARE(tc.prompt->count(), opened ? 0 : 1);
    if (!opened)
        QVERIFY(tc.prompt->lastText().contains("www.example.com/roofing"));
    // A link between the pages never leaves the window.
    Q_EMIT help.txtHelpPage->anchorClicked(QUrl("quickstart.html#company"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(help.currentPage(), QStringLiteral("quickstart.html#company"));
}

void tst_desktop::helpPrints() {
    TestContext tc;
    HelpWindow help(*tc.prompt);
    help.open("roof.html");
    const QString pdf = tc.root() + "/help page.pdf";
    int dialogs = 0;
    help.printDialog = [&](QPrinter& printer) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    help.actHelpPrint->trigger();
    QCOMPARE(dialogs, 1);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(f.size() > 2000);
    // Cancelled: nothing is printed.
    QVERIFY(QFile::remove(pdf));
    help.printDialog = [&](QPrinter& printer) {
        printer.setOutputFileName(pdf);
        return false;
    };
    help.actHelpPrint->trigger();
    QVERIFY(!QFile::exists(pdf));
}

void tst_desktop::contextHelpForDialogs() {
    // Every window with a page of its own leads to a page and section that exist.
    for (const QString& name : ContextHelp::knownWindows())
        QVERIFY2(helpTargetExists(ContextHelp::pageFor(name)), qPrintable(name));
    QCOMPARE(ContextHelp::pageFor("frmNoSuchWindow"), QStringLiteral("index.html"));

    TestContext tc;
    ContextHelp::Filter filter(tc.ctx);
    qApp->installEventFilter(&filter);
    struct Case {
        std::function<QDialog*()> make;
        QString page;
    };
    const Case cases[] = {
        {[&] { return new frmAreas(tc.ctx, 0); }, "roof.html#areas"},
        {[&] { return new frmSetup(tc.ctx); }, "setup.html"},
        {[&] { return new frmAbout; }, "mainwindow.html#about"},
    };
    tc.createTempDB();
    for (const Case& c : cases) {
        std::unique_ptr<QDialog> d(c.make());
        d->show();
        QWidget* focus = d->focusWidget() ? d->focusWidget() : d.get();
        QTest::keyClick(focus, Qt::Key_F1);
        HelpWindow* help = helpOf(d.get());
        QVERIFY2(help, qPrintable(d->objectName()));
        QCOMPARE(help->currentPage(), c.page);
        // The help belongs to the dialog, so it can be used beside it and closes with it.
        QCOMPARE(help->parentWidget(), d.get());
        QVERIFY(help->isWindow());
    }
    // F1 with a modifier is left to the window.
    frmAbout about;
    about.show();
    QTest::keyClick(&about, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(!helpOf(&about));
    qApp->removeEventFilter(&filter);
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_desktop::quitAndCloseKeys() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    auto* quit = w.findChild<QAction*>("mnuEstQuit");
    QVERIFY(quit);
    QCOMPARE(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(w.mnuEst->actions().contains(quit));
    QVERIFY(w.mnuEstClose->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)));
    QCOMPARE(w.mnuEstClose->shortcut(), QKeySequence(Qt::Key_F9));

    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    startNewEstimate(w, "O'Hara");
    // Ctrl+Q asks what the close box asks; No keeps everything.
    tc.prompt->answer(Answer::No);
    quit->trigger();
    QCOMPARE(tc.prompt->count(), 1);
    QCOMPARE(tc.prompt->lastText(),
             QStringLiteral("There is a new estimate in progress,\ndo you really want to quit?"));
    QCOMPARE(tc.prompt->shown().last().title, QStringLiteral("Corvanel"));
    QVERIFY(w.isVisible());
    QCOMPARE(tc.ctx.WorkMode, Mode::New);
    // Ctrl+W closes the estimate (asking whether to save).
    tc.prompt->answer(Answer::No);
    QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(tc.ctx.WorkMode, Mode::Idle);
    tc.prompt->clear();
    quit->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_desktop::printAndFindFollowTheDocumentInView() {
    TestContext tc;
    frmCorvanel w(tc.ctx);
    auto* print = w.findChild<QAction*>("actPrintDocument");
    auto* find = w.findChild<QAction*>("actFindDocument");
    QVERIFY(print && find);
    QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    int printed = 0;
    w.output->editor->preview = [&](const QTextDocument&, const QString&) {
        ++printed;
        return 0;
    };
    // Idle: no document in view.
    QVERIFY(!print->isEnabled());
    QVERIFY(!find->isEnabled());
    // Figure mode starts on the roof tab; the Roof Details document is one tab away.
    w.mnuEstFig->trigger();
    QVERIFY(!print->isEnabled());
    w.SSTab1->setCurrentWidget(w.output);
    QVERIFY(print->isEnabled());
    QVERIFY(find->isEnabled());
    w.output->activeBox()->setPlainText("Roof: 849 sq ft for Mrs. O'Neil");
    print->trigger();
    QCOMPARE(printed, 1);
    UiTest::rejectNextModal();
    find->trigger();
    w.mnuEstClose->trigger();
    QVERIFY(!print->isEnabled());
    print->trigger();
    QCOMPARE(printed, 1);
}

namespace {

// The program's windows that open without a stored estimate or catalogue item.
std::vector<std::unique_ptr<QWidget>> programWindows(TestContext& tc) {
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new frmCorvanel(tc.ctx));
    windows.emplace_back(new HelpWindow(*tc.prompt));
    windows.emplace_back(new frmSetup(tc.ctx));
    windows.emplace_back(new frmUnitItem(tc.ctx));
    windows.emplace_back(new frmOpenEst(tc.ctx));
    windows.emplace_back(new frmManageStatus(tc.ctx));
    windows.emplace_back(new frmAreas(tc.ctx, 0));
    windows.emplace_back(new frmLineal(tc.ctx, 0, 0.0));
    windows.emplace_back(new frmPickItem(tc.ctx, false, 0));
    windows.emplace_back(new frmAddSection(tc.ctx));
    windows.emplace_back(new frmEditID(3));
    windows.emplace_back(new frmFind(frmFind::Result{}));
    windows.emplace_back(new frmPrintForms(tc.ctx));
    windows.emplace_back(new frmAbout);
    windows.emplace_back(new frmGreet(*tc.ctx.settings));
    return windows;
}

// Where the Tab key goes back to an earlier line on the left of the box it leaves, in the
// widgets of `window` that are on screen.
// `stops` counts the widgets the Tab key stops at.
QStringList focusJumpsBack(QWidget* window, int* stops = nullptr) {
    // The layouts place the widgets once the events of showing them are handled.
    QApplication::processEvents();
    QStringList jumps;
    int n = 0;
    QList<QWidget*> seen;
    QWidget* prev = nullptr;
    QPoint at;
    for (QWidget* w = window->nextInFocusChain(); w && w != window && !seen.contains(w);
         w = w->nextInFocusChain()) {
        seen << w;
        if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy())
            continue;
        ++n;
        const QPoint p = w->mapTo(window, QPoint(0, 0));
        if (prev && p.y() < at.y() - 10 && p.x() <= at.x())
            jumps << prev->objectName() + " → " + w->objectName();
        prev = w;
        at = p;
    }
    if (stops)
        *stops = n;
    return jumps;
}

} // namespace

void tst_desktop::accessKeysDoNotClash() {
    TestContext tc;
    tc.createTempDB();
    for (auto& w : programWindows(tc)) {
        const QStringList clashes = clashesOf(w.get());
        QVERIFY2(clashes.isEmpty(), qPrintable(w->objectName() + ": " + clashes.join("; ")));
    }
    // The walk finds a clash where there is one.
    QWidget probe;
    auto* a = new QPushButton("&Save", &probe);
    auto* b = new QPushButton("&Send", &probe);
    auto* c = new QPushButton("Save && &Close", &probe);
    Q_UNUSED(a);
    Q_UNUSED(c);
    QCOMPARE(clashesOf(&probe).size(), 1);
    b->setText("S&end");
    QVERIFY(clashesOf(&probe).isEmpty());
}

void tst_desktop::everyWindowHasItsHelp() {
    TestContext tc;
    tc.createTempDB();
    const QStringList known = ContextHelp::knownWindows();
    for (auto& w : programWindows(tc)) {
        if (w->objectName() == QLatin1String("frmCorvanel") || qobject_cast<HelpWindow*>(w.get()))
            continue;
        QVERIFY2(known.contains(w->objectName()), qPrintable(w->objectName()));
    }
}

void tst_desktop::tabFollowsReadingOrder() {
    TestContext tc;
    tc.createTempDB();
    for (auto& w : programWindows(tc)) {
        w->show();
        if (auto* main = qobject_cast<frmCorvanel*>(w.get())) {
            // Each tab of the main window in turn.
            main->showTabs(true);
            for (int i = 0; i < main->SSTab1->count(); ++i) {
                main->SSTab1->setCurrentIndex(i);
                int stops = 0;
                const QStringList jumps = focusJumpsBack(main, &stops);
                QVERIFY(stops >= 3);
                QVERIFY2(jumps.isEmpty(),
                         qPrintable(main->SSTab1->tabText(i) + ": " + jumps.join("; ")));
            }
            continue;
        }
        int stops = 0;
        const QStringList jumps = focusJumpsBack(w.get(), &stops);
        QVERIFY2(jumps.isEmpty(), qPrintable(w->objectName() + ": " + jumps.join("; ")));
        QVERIFY2(stops >= 1, qPrintable(w->objectName()));
    }
    // The walk sees a jump back where there is one.
    QWidget probe;
    auto* v = new QVBoxLayout(&probe);
    QList<QLineEdit*> boxes;
    for (const char* name : {"top", "middle", "bottom"}) {
        boxes << new QLineEdit(&probe);
        boxes.last()->setObjectName(name);
        v->addWidget(boxes.last());
    }
    probe.show();
    QVERIFY(focusJumpsBack(&probe).isEmpty());
    QVERIFY(boxes[2]->y() > boxes[1]->y() + 10);
    QWidget::setTabOrder(boxes[0], boxes[2]); // top, bottom, middle
    QCOMPARE(focusJumpsBack(&probe), QStringList{"bottom → middle"});
}

void tst_desktop::darkPaletteReads() {
    const QPalette before = QApplication::palette();
    QStyle* fusion = QStyleFactory::create("Fusion");
    QVERIFY(fusion);
    QApplication::setStyle(fusion);
    QApplication::setPalette(darkPalette());
    {
        TestContext tc;
        tc.createTempDB();
        frmCorvanel w(tc.ctx);
        w.show();
        QApplication::setActiveWindow(&w);
        w.mnuEstNew->trigger();
        QStringList bad = unreadable(&w);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        // A box with the focus is light yellow with dark text, and back to the dark palette's
        // own colours when it loses the focus.
        QLineEdit* first = w.owner->txtName[0];
        QLineEdit* second = w.owner->txtName[1];
        first->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(first->hasFocus());
        QCOMPARE(first->palette().color(QPalette::Base), QColor(255, 255, 192));
        QVERIFY(contrast(first->palette().color(QPalette::Base),
                         first->palette().color(QPalette::Text)) > 10);
        second->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(second->hasFocus());
        QCOMPARE(first->palette().color(QPalette::Base), darkPalette().color(QPalette::Base));
        QCOMPARE(first->palette().color(QPalette::Text), darkPalette().color(QPalette::Text));

        for (QWidget* d : std::initializer_list<QWidget*>{
                 new frmSetup(tc.ctx), new frmAreas(tc.ctx, 0), new HelpWindow(*tc.prompt)}) {
            std::unique_ptr<QWidget> owned(d);
            d->show();
            bad = unreadable(d);
            QVERIFY2(bad.isEmpty(), qPrintable(d->objectName() + ": " + bad.join('\n')));
        }
        // The help pages take their colours from the palette too.
        HelpWindow help(*tc.prompt);
        help.open("index.html");
        const QString css = help.txtHelpPage->document()->defaultStyleSheet();
        QVERIFY(css.contains(darkPalette().color(QPalette::Text).name()));
        QVERIFY(!css.contains("#ffffff") && !css.contains("white"));
        w.mnuEstClose->trigger();
    }
    QApplication::setPalette(before);
}

QTEST_MAIN(tst_desktop)
#include "tst_desktop.moc"
