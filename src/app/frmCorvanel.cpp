#include "app/frmCorvanel.h"

#include "app/frmAbout.h"
#include "catalogue/forms/frmUnitItem.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/Widgets.h"
#include "documents/forms/OutputTab.h"
#include "documents/forms/frmPrintForms.h"
#include "estimates/forms/OwnerTab.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "settings/SettingsStore.h"
#include "settings/forms/frmSetup.h"
#include "storage/Connections.h"
#include "storage/modTempDB.h"
#include "takeoff/forms/RoofTab.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

void frmCorvanel::guarded(const char* procedure, const std::function<void()>& f) {
    Guard::run(*ctx_.prompt, QString::fromLatin1(procedure), Guard::form("frmCorvanel"), f);
}

QString frmCorvanel::lockedOwnerText() {
    return OwnerTab::lockedOwnerText();
}

frmCorvanel::frmCorvanel(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmCorvanel"));
    setWindowTitle(QStringLiteral("Corvanel"));
    resize(1100, 720);

    SSTab1 = named(new QTabWidget, "SSTab1");
    owner = new OwnerTab(ctx, SSTab1);
    roof = new RoofTab(ctx, SSTab1);
    lines = new LineItemsTab(ctx, SSTab1);
    totals = new TotalsTab(ctx, SSTab1);
    output = new OutputTab(ctx, SSTab1);
    SSTab1->addTab(owner, QStringLiteral("Home Owner"));
    SSTab1->addTab(roof, QStringLiteral("Roof Area"));
    SSTab1->addTab(lines, QStringLiteral("Line Items"));
    SSTab1->addTab(totals, QStringLiteral("Terms/Totals"));
    SSTab1->addTab(output, QStringLiteral("Output"));
    output->setCreateSetButton(totals->cmdPrint0);
    cmdPrint = output->documentButtons();

    stack_ = new QStackedWidget;
    stack_->addWidget(buildStartPage());
    stack_->addWidget(SSTab1);
    setCentralWidget(stack_);

    auto* bar = named(new QStatusBar, "StatusBar1");
    for (int i = 0; i < 3; ++i) {
        panels_[i] = named(new QLabel, QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setMinimumWidth(i == 1 ? 260 : 140);
        bar->addWidget(panels_[i], i == 1 ? 1 : 0);
    }
    setStatusBar(bar);

    buildMenus();
    const std::pair<const char*, QAction*> starts[] = {{"cmdStartNew", mnuEstNew},
                                                       {"cmdStartOpen", mnuEstOpen},
                                                       {"cmdStartFigure", mnuEstFig},
                                                       {"cmdStartManage", mnuEstManage}};
    for (const auto& [name, act] : starts)
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name)))
            connect(b, &QPushButton::clicked, act, &QAction::trigger);

    // Loading the window: idle, individual areas view, pitch list and fonts filled.
    showTabs(false);
    SSTab1->setCurrentIndex(0);
    roof->showTotalView(false);
    ActiveMenu(QStringLiteral("idle"));
    output->popFonts();
    owner->enableImport();
    LockOwner(true);

    // A change of the take-off is a change of an estimate in work; a roof figured without an
    // estimate has nothing to save.
    connect(roof, &RoofTab::changed, this, [this] {
        if (estimateStarted())
            markChanged();
    });
    // Changed lines are totalled again, and the line tab shows the type totals that the totals
    // tab figures. Work on the lines or an administrative amount is a change whatever the mode;
    // the summary and the terms only count for an estimate in work.
    connect(lines, &LineItemsTab::linesChanged, totals, &TotalsTab::FigureTotals);
    connect(totals, &TotalsTab::totalsFigured, lines, &LineItemsTab::showTypeTotals);
    connect(totals, &TotalsTab::totalsCleared, lines, &LineItemsTab::clearTypeTotals);
    connect(lines, &LineItemsTab::changed, this, &frmCorvanel::markChanged);
    connect(totals, &TotalsTab::changed, this, &frmCorvanel::markChanged);
    connect(totals, &TotalsTab::textsChanged, this, [this] {
        if (estimateStarted())
            markChanged();
    });
    wireEstimates();
    for (int i = 0; i < 5; ++i)
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
    connect(mnuReportForms, &QAction::triggered, this,
            [this] { frmPrintForms::mnuReportForms_Click(ctx_, this); });
    connect(mnuSetupMaint, &QAction::triggered, this, [this] {
        frmSetup f(ctx_, this);
        f.exec();
    });
    connect(mnuSetupPrices, &QAction::triggered, this, [this] {
        frmUnitItem f(ctx_, this);
        f.exec();
    });
}

frmCorvanel::~frmCorvanel() = default;

void frmCorvanel::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& key = QKeySequence()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    mnuSetup = named(menuBar()->addMenu(QStringLiteral("&Setup")), "mnuSetup");
    mnuSetupMaint = action(mnuSetup, "mnuSetupMaint", QStringLiteral("Setup"));
    mnuSetupPrices = action(mnuSetup, "mnuSetupPrices", QStringLiteral("Prices"), Qt::Key_F4);

    mnuEst = named(menuBar()->addMenu(QStringLiteral("&Estimate")), "mnuEst");
    mnuEstNew = action(mnuEst, "mnuEstNew", QStringLiteral("New"), Qt::Key_F6);
    mnuEstOpen = action(mnuEst, "mnuEstOpen", QStringLiteral("Open"), Qt::Key_F7);
    mnuEstManage = action(mnuEst, "mnuEstManage", QStringLiteral("Manage"), Qt::Key_F3);
    mnuEstFig = action(mnuEst, "mnuEstFig", QStringLiteral("Figure"), Qt::Key_F8);
    mnuEst->addSeparator();
    mnuEstSave = action(mnuEst, "mnuEstSave", QStringLiteral("Save Estimate"),
                        QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuEstSave->setEnabled(false);
    mnuEstClose = action(mnuEst, "mnuEstClose", QStringLiteral("Close open estimate"), Qt::Key_F9);

    mnuReport = named(menuBar()->addMenu(QStringLiteral("&Reports")), "mnuReport");
    mnuReportForms = action(mnuReport, "mnuReportForms", QStringLiteral("Print Forms"));
    mnuReportManage =
        action(mnuReport, "mnuReportManage", QStringLiteral("Manage Details/Proposal"), Qt::Key_F2);

    mnuHelp = named(menuBar()->addMenu(QStringLiteral("&Help")), "mnuHelp");
    mnuHelpContents = action(mnuHelp, "mnuHelpContents", QStringLiteral("Contents"), Qt::Key_F1);
    mnuHelp->addSeparator();
    mnuHelpBug = action(mnuHelp, "mnuHelpBug", QStringLiteral("Report a bug"));
    mnuHelp->addSeparator();
    mnuHelpAbout = action(mnuHelp, "mnuHelpAbout", QStringLiteral("About"));

    // A disabled menu would also disable its shortcuts; keep every shortcut on the window so
    // F1 works in every mode while each action's own state still decides.
    for (QAction* a :
         {mnuSetupMaint, mnuSetupPrices, mnuEstNew, mnuEstOpen, mnuEstManage, mnuEstFig, mnuEstSave,
          mnuEstClose, mnuReportForms, mnuReportManage, mnuHelpContents, mnuHelpBug, mnuHelpAbout})
        addAction(a);

    connect(mnuEstFig, &QAction::triggered, this, &frmCorvanel::mnuEstFig_Click);
    connect(mnuReportManage, &QAction::triggered, this, &frmCorvanel::mnuReportManage_Click);
    connect(mnuEstClose, &QAction::triggered, this, &frmCorvanel::mnuEstClose_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmCorvanel::mnuHelpContents_Click);
    connect(mnuHelpBug, &QAction::triggered, this, &frmCorvanel::mnuHelpBug_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmCorvanel::mnuHelpAbout_Click);
}

QWidget* frmCorvanel::buildStartPage() {
    auto* page = named(new QWidget, "StartPage");
    auto* v = new QVBoxLayout(page);
    v->addStretch(1);
    auto* title = new QLabel(QStringLiteral("Corvanel"));
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 2.4);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    v->addWidget(title);
    auto* sub = new QLabel(QStringLiteral("Roofing estimates, from the measured roof to the signed "
                                          "contract. What would you like to do?"));
    sub->setAlignment(Qt::AlignCenter);
    v->addWidget(sub);
    v->addSpacing(24);
    auto* grid = new QGridLayout;
    struct Item {
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Item items[] = {
        {"cmdStartNew", "New estimate (F6)", "Enter a home owner and price a roof"},
        {"cmdStartOpen", "Open estimate (F7)", "Continue or print a saved estimate"},
        {"cmdStartFigure", "Figure a roof (F8)", "Measure a roof without an estimate"},
        {"cmdStartManage", "Manage estimates (F3)", "Accept, reject or delete estimates"}};
    for (int i = 0; i < 4; ++i) {
        auto* b = named(new QPushButton(QString::fromLatin1(items[i].caption)), items[i].name);
        b->setMinimumSize(240, 56);
        b->setToolTip(QString::fromLatin1(items[i].hint));
        QFont bf = b->font();
        bf.setPointSizeF(bf.pointSizeF() * 1.15);
        b->setFont(bf);
        grid->addWidget(b, i / 2, i % 2);
    }
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addLayout(grid);
    h->addStretch();
    v->addLayout(h);
    v->addStretch(2);
    return page;
}

QLabel* frmCorvanel::panel(int i) const {
    return i >= 1 && i <= 3 ? panels_[i - 1] : nullptr;
}

void frmCorvanel::setPanel(int i, const QString& text) {
    if (QLabel* p = panel(i))
        p->setText(text);
}

void frmCorvanel::clearPanels() {
    for (QLabel* p : panels_)
        p->clear();
}

bool frmCorvanel::tabsVisible() const {
    return stack_->currentWidget() == SSTab1;
}

void frmCorvanel::showTabs(bool visible) {
    stack_->setCurrentIndex(visible ? 1 : 0);
}

void frmCorvanel::setAllTabsEnabled(QTabWidget* tabs, bool enabled) {
    for (int i = 0; i < tabs->count(); ++i)
        tabs->setTabEnabled(i, enabled);
}

void frmCorvanel::ActiveMenu(const QString& menuState) {
    guarded("ActiveMenu", [&] {
        const bool idle = menuState == QLatin1String("idle");
        mnuSetup->menuAction()->setEnabled(idle);
        mnuReport->menuAction()->setEnabled(idle);
        for (QAction* a : {mnuSetupMaint, mnuSetupPrices, mnuReportForms, mnuReportManage})
            a->setEnabled(idle);
        for (QAction* a : {mnuEstNew, mnuEstOpen, mnuEstManage, mnuEstFig})
            a->setEnabled(idle);
        mnuEstClose->setEnabled(!idle);
        mnuHelpContents->setEnabled(true);
        mnuHelpAbout->setEnabled(idle);
        mnuHelpBug->setEnabled(idle);
        // The start page offers the same four actions as the menu.
        const char* starts[] = {"cmdStartNew", "cmdStartOpen", "cmdStartFigure", "cmdStartManage"};
        for (const char* s : starts)
            if (auto* b = findChild<QPushButton*>(QString::fromLatin1(s)))
                b->setEnabled(idle);
    });
}

void frmCorvanel::SaveStatus(bool enabled) {
    mnuEstSave->setEnabled(enabled);
    totals->cmdSave->setEnabled(enabled);
}

void frmCorvanel::markChanged() {
    ctx_.EstChanged = true;
    SaveStatus(true);
}

void frmCorvanel::LockOwner(bool locked) {
    guarded("LockOwner", [&] { owner->LockOwner(locked); });
}

void frmCorvanel::mnuEstFig_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("mnuEstFig_Click"), Guard::form("frmCorvanel"),
                    [this] { modTempDB::CreateTempDB(ctx_); }))
        return;
    ctx_.WorkMode = Mode::Figure;
    showTabs(true);
    SSTab1->setTabEnabled(1, true);
    SSTab1->setCurrentIndex(1);
    for (int i : {0, 2, 3})
        SSTab1->setTabEnabled(i, false);
    output->SSTab2->setTabEnabled(3, true);
    output->SSTab2->setCurrentIndex(3);
    for (int i : {0, 1, 2})
        output->SSTab2->setTabEnabled(i, false);
    roof->popGrids();
    ActiveMenu(QStringLiteral("nonidle"));
}

void frmCorvanel::mnuReportManage_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    ctx_.WorkMode = Mode::Report;
    showTabs(true);
    SSTab1->setTabEnabled(4, true);
    SSTab1->setCurrentIndex(4);
    for (int i : {0, 1, 2, 3})
        SSTab1->setTabEnabled(i, false);
    output->SSTab2->setTabEnabled(0, true);
    output->SSTab2->setCurrentIndex(0);
    output->SSTab2->setTabText(0, QString());
    for (int i : {1, 2, 3})
        output->SSTab2->setTabEnabled(i, false);
    ActiveMenu(QStringLiteral("nonidle"));
    for (int i = 1; i <= 4; ++i)
        cmdPrint[i]->setEnabled(false);
}

void frmCorvanel::leaveReportMode() {
    setAllTabsEnabled(SSTab1, true);
    output->clearDocuments();
    ActiveMenu(QStringLiteral("idle"));
    showTabs(false);
    for (int i = 1; i <= 4; ++i)
        cmdPrint[i]->setEnabled(true);
    for (int i : {1, 2, 3})
        output->SSTab2->setTabEnabled(i, true);
    output->SSTab2->setTabText(0, QStringLiteral("Detail"));
}

void frmCorvanel::resetToIdleTabs() {
    modTempDB::ClearTempTables(ctx_);
    setAllTabsEnabled(SSTab1, true);
    SSTab1->setCurrentIndex(0);
    ActiveMenu(QStringLiteral("idle"));
    owner->clearFields();
    owner->cmdStartEst->setEnabled(true);
    owner->cmdCancel->setEnabled(true);
}

void frmCorvanel::leaveFigureMode() {
    resetToIdleTabs();
    showTabs(false);
    roof->detachGrids();
    // The figure is not kept: the next figure starts from an empty roof.
    roof->reset();
    setAllTabsEnabled(output->SSTab2, true);
    output->clearDocuments();
}

void frmCorvanel::finishLeavingMode() {
    ctx_.WorkMode = Mode::Idle;
    LockOwner(true);
    for (QPushButton* b : cmdPrint)
        b->setEnabled(true);
}

void frmCorvanel::mnuEstClose_Click() {
    if (ctx_.WorkMode == Mode::Report) {
        leaveReportMode();
        finishLeavingMode();
    } else if (ctx_.WorkMode == Mode::Figure) {
        leaveFigureMode();
        finishLeavingMode();
    } else if (ctx_.WorkMode != Mode::Idle) {
        closeEstimate();
    }
}

QString frmCorvanel::helpFolder(const AppContext& ctx) {
    return ctx.AppPath + QStringLiteral("/help");
}

void frmCorvanel::mnuHelpContents_Click() {
    // The help pages ship inside the program; they are written out so a browser can show them.
    const QString dir = helpFolder(ctx_);
    QDir().mkpath(dir);
    const QDir source(QStringLiteral(":/help"));
    for (const QString& name : source.entryList(QDir::Files)) {
        QFile in(source.filePath(name));
        const QString target = dir + QLatin1Char('/') + name;
        QFile existing(target);
        if (in.open(QIODevice::ReadOnly)) {
            const QByteArray data = in.readAll();
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == data)
                continue;
            existing.close();
            QFile out(target);
            if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                out.write(data);
        }
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(dir + QStringLiteral("/index.html")));
}

void frmCorvanel::mnuHelpBug_Click() {
    QUrl url(QStringLiteral("mailto:") + supportAddress());
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("subject"), QStringLiteral("Corvanel_Bug"));
    url.setQuery(q);
    QDesktopServices::openUrl(url);
}

void frmCorvanel::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmCorvanel::closeEvent(QCloseEvent* e) {
    const QString caption = windowTitle();
    if (ctx_.WorkMode == Mode::New) {
        const auto a = ctx_.prompt->ask(QStringLiteral("There is a new estimate in progress,\ndo "
                                                       "you really want to quit?"),
                                        caption, Prompt::Buttons::YesNo, Prompt::Icon::Question,
                                        Prompt::Answer::Yes);
        if (a != Prompt::Answer::Yes) {
            e->ignore();
            return;
        }
        discardNewEstimate();
    } else if (ctx_.WorkMode == Mode::Open) {
        const auto a = ctx_.prompt->ask(
            QStringLiteral("There is an open estimate in progress,\ndo you really want to "
                           "quit?\nDoing so loses any unsaved work."),
            caption, Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::Yes);
        if (a != Prompt::Answer::Yes) {
            e->ignore();
            return;
        }
    }
    e->accept();
}

void frmCorvanel::cmdPrint_Click(int index) {
    if (index < 0 || index > 4)
        return;
    // The documents are made from the stored estimate, so it is saved first; "Saving" keeps the
    // save from asking whether the estimate is complete.
    if (EstStatus == QLatin1String("Working"))
        EstStatus = QStringLiteral("Saving");
    SaveEst();
    output->createDocuments(index, roof->roofTotals());
    if (EstStatus == QLatin1String("Saving"))
        EstStatus = QStringLiteral("Working");
}
