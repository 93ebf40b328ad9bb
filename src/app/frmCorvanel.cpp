#include "app/frmCorvanel.h"

#include "app/CompanyNotice.h"
#include "app/DesktopKeys.h"
#include "app/HelpWindow.h"
#include "app/StartPage.h"
#include "app/WindowTitle.h"
#include "app/frmAbout.h"
#include "catalogue/forms/frmUnitItem.h"
#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "common/forms/Widgets.h"
#include "documents/DocDates.h"
#include "documents/forms/OutputTab.h"
#include "documents/forms/frmPrintForms.h"
#include "documents/modDocs.h"
#include "estimates/WorkState.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmContactGrid.h"
#include "estimates/forms/frmEstSummary.h"
#include "estimates/forms/frmManageStatus.h"
#include "estimates/forms/frmOpenEst.h"
#include "estimates/modEst.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
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
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

using Widgets::indexed;
using Widgets::named;

namespace {
const QString kForm = Guard::form("frmCorvanel");
} // namespace

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

    undoStack = named(new QUndoStack(this), "undoStack");
    owner->setUndoStack(undoStack);
    roof->setUndoStack(undoStack);
    lines->setUndoStack(undoStack);
    totals->setUndoStack(undoStack);
    connect(undoStack, &QUndoStack::indexChanged, this, &frmCorvanel::followUndo);
    // The texts of the estimate in work are recorded for recovery once typing pauses.
    recordTimer_ = new QTimer(this);
    recordTimer_->setSingleShot(true);
    recordTimer_->setInterval(300);
    connect(recordTimer_, &QTimer::timeout, this, [this] { recordWorkState(); });

    buildMenus();
    startPage = new StartPage(ctx, {mnuEstNew, mnuEstOpen, mnuEstFig, mnuEstManage});
    connect(startPage, &StartPage::openRequested, this, &frmCorvanel::openEstimate);
    companyNotice = new CompanyNotice(mnuSetupMaint);
    startPage->addNotice(companyNotice);
    companyNotice->refresh(*ctx_.settings);
    stack_ = new QStackedWidget;
    stack_->addWidget(startPage);
    stack_->addWidget(SSTab1);
    setCentralWidget(stack_);

    auto* bar = named(new QStatusBar, "StatusBar1");
    for (int i = 0; i < 3; ++i) {
        panels_[i] = named(new QLabel, QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setMinimumWidth(i == 1 ? 260 : 140);
        bar->addWidget(panels_[i], i == 1 ? 1 : 0);
    }
    setStatusBar(bar);

    // Loading the window: idle, individual areas view, pitch list and fonts filled.
    showTabs(false);
    SSTab1->setCurrentIndex(0);
    roof->showTotalView(false);
    ActiveMenu(QStringLiteral("idle"));
    output->popFonts();
    owner->enableImport();
    LockOwner(true);

    // Changed lines are totalled again, and the line tab shows the type totals that the totals
    // tab figures. Whether the estimate changed follows the undo stack (followUndo).
    connect(lines, &LineItemsTab::linesChanged, totals, &TotalsTab::FigureTotals);
    connect(totals, &TotalsTab::totalsFigured, lines, &LineItemsTab::showTypeTotals);
    connect(totals, &TotalsTab::totalsCleared, lines, &LineItemsTab::clearTypeTotals);
    // An edited document is kept with the estimate when it is saved.
    connect(output, &OutputTab::changed, this, [this] {
        if (estimateStarted())
            markChanged();
    });
    connectEstimateLife();
    for (int i = 0; i < 5; ++i)
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
    connect(mnuReportForms, &QAction::triggered, this,
            [this] { frmPrintForms::mnuReportForms_Click(ctx_, this); });
    connect(mnuReportSummary, &QAction::triggered, this, [this] {
        frmEstSummary f(ctx_, QDate::currentDate(), this);
        f.exec();
    });
    connect(mnuSetupMaint, &QAction::triggered, this, [this] {
        frmSetup f(ctx_, this);
        f.exec();
        companyNotice->refresh(*ctx_.settings);
        if (f.result().Restored)
            startPage->refresh();
    });
    connect(mnuSetupPrices, &QAction::triggered, this, [this] {
        frmUnitItem f(ctx_, this);
        f.exec();
    });
    DesktopKeys::install(*this);
    refreshTitle();
}

frmCorvanel::~frmCorvanel() {
    // The stack is a child: QWidget's destructor clears it after this part of the window is gone,
    // and its indexChanged must not reach followUndo then.
    undoStack->disconnect(this);
}

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

    mnuEdit = named(menuBar()->addMenu(QStringLiteral("E&dit")), "mnuEdit");
    mnuEditUndo = named(undoStack->createUndoAction(this, QStringLiteral("Undo")), "mnuEditUndo");
    mnuEditUndo->setShortcut(QKeySequence::Undo);
    mnuEditRedo = named(undoStack->createRedoAction(this, QStringLiteral("Redo")), "mnuEditRedo");
    mnuEditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mnuEdit->addAction(mnuEditUndo);
    mnuEdit->addAction(mnuEditRedo);

    mnuReport = named(menuBar()->addMenu(QStringLiteral("&Reports")), "mnuReport");
    mnuReportForms = action(mnuReport, "mnuReportForms", QStringLiteral("Print Forms"));
    mnuReportSummary = action(mnuReport, "mnuReportSummary", QStringLiteral("Estimate summary"));
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
          mnuEstClose, mnuEditUndo, mnuEditRedo, mnuReportForms, mnuReportSummary, mnuReportManage,
          mnuHelpContents, mnuHelpBug, mnuHelpAbout})
        addAction(a);

    connect(mnuEstFig, &QAction::triggered, this, &frmCorvanel::mnuEstFig_Click);
    connect(mnuReportManage, &QAction::triggered, this, &frmCorvanel::mnuReportManage_Click);
    connect(mnuEstClose, &QAction::triggered, this, &frmCorvanel::mnuEstClose_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmCorvanel::mnuHelpContents_Click);
    connect(mnuHelpBug, &QAction::triggered, this, &frmCorvanel::mnuHelpBug_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmCorvanel::mnuHelpAbout_Click);
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
        for (QAction* a :
             {mnuSetupMaint, mnuSetupPrices, mnuReportForms, mnuReportSummary, mnuReportManage})
            a->setEnabled(idle);
        for (QAction* a : {mnuEstNew, mnuEstOpen, mnuEstManage, mnuEstFig})
            a->setEnabled(idle);
        mnuEstClose->setEnabled(!idle);
        mnuHelpContents->setEnabled(true);
        mnuHelpAbout->setEnabled(idle);
        mnuHelpBug->setEnabled(idle);
        // The start page offers the same four actions as the menu.
        startPage->setIdle(idle);
    });
    refreshTitle();
}

void frmCorvanel::SaveStatus(bool enabled) {
    mnuEstSave->setEnabled(enabled);
    totals->cmdSave->setEnabled(enabled);
    refreshTitle();
}

void frmCorvanel::refreshTitle() {
    WindowTitle::apply(this, {ctx_.WorkMode, ctx_.EstName, EstStatus, ctx_.EstChanged});
}

void frmCorvanel::markChanged() {
    ctx_.EstChanged = true;
    SaveStatus(true);
}

void frmCorvanel::followUndo() {
    // A roof figured alone, or a new estimate before Start, has nothing stored to change.
    if (!estimateStarted())
        return;
    if (ctx_.WorkMode == Mode::New) {
        if (!undoStack->isClean())
            markChanged();
    } else {
        // Undoing back to the last save leaves nothing to save, unless a document was edited
        // since.
        ctx_.EstChanged = !undoStack->isClean() || output->hasUnsavedDocuments();
        SaveStatus(ctx_.EstChanged);
    }
    // That there are changes to recover is recorded at once, the texts after a pause.
    recordWorkState(ctx_.EstChanged == recordedChanged_);
}

void frmCorvanel::recordWorkState(bool soon) {
    if (soon) {
        recordTimer_->start();
        return;
    }
    recordTimer_->stop();
    if (!estimateStarted())
        return;
    WorkState::State s;
    s.estId = ctx_.EstID;
    s.mode = ctx_.WorkMode;
    s.changed = ctx_.EstChanged;
    s.admin = totals->adminStoredTexts();
    s.summary = totals->summary();
    s.terms = totals->terms();
    if (Guard::run(*ctx_.prompt, QStringLiteral("RecordWorkState"), kForm,
                   [&] { WorkState::record(ctx_, s); }))
        recordedChanged_ = s.changed;
}

void frmCorvanel::clearUndo() {
    undoStack->clear();
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
    clearUndo();
    showTabs(true);
    SSTab1->setTabEnabled(1, true);
    SSTab1->setCurrentIndex(1);
    for (int i : {0, 2, 3})
        SSTab1->setTabEnabled(i, false);
    output->showFigureMode();
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
    output->showReportMode();
    ActiveMenu(QStringLiteral("nonidle"));
}

void frmCorvanel::leaveReportMode() {
    setAllTabsEnabled(SSTab1, true);
    output->clearDocuments();
    ActiveMenu(QStringLiteral("idle"));
    showTabs(false);
    for (int i = 1; i <= 4; ++i)
        cmdPrint[i]->setEnabled(true);
    output->showAllDocuments();
}

void frmCorvanel::resetToIdleTabs() {
    modTempDB::ClearTempTables(ctx_);
    setAllTabsEnabled(SSTab1, true);
    SSTab1->setCurrentIndex(0);
    ActiveMenu(QStringLiteral("idle"));
    owner->clearFields();
    owner->enableStartButtons(true);
}

void frmCorvanel::leaveFigureMode() {
    resetToIdleTabs();
    showTabs(false);
    roof->detachGrids();
    // The figure is not kept: the next figure starts from an empty roof.
    roof->reset();
    output->showAllDocuments();
    output->clearDocuments();
}

void frmCorvanel::finishLeavingMode() {
    ctx_.WorkMode = Mode::Idle;
    clearUndo();
    LockOwner(true);
    for (QPushButton* b : cmdPrint)
        b->setEnabled(true);
    refreshTitle();
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

void frmCorvanel::mnuHelpContents_Click() {
    // The program's own help window: it needs no web browser.
    HelpWindow::showPage(*ctx_.prompt, this, QStringLiteral("index.html"));
}

void frmCorvanel::mnuHelpBug_Click() {
    QUrl url(QStringLiteral("mailto:") + supportAddress());
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("subject"), QStringLiteral("Corvanel_Bug"));
    url.setQuery(q);
    if (!QDesktopServices::openUrl(url))
        ctx_.prompt->message(QStringLiteral("There is no e-mail program on this computer to "
                                            "start the report.\nPlease write to %1 with the "
                                            "subject Corvanel_Bug.")
                                 .arg(supportAddress()));
}

void frmCorvanel::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void frmCorvanel::closeEvent(QCloseEvent* e) {
    const QString caption = Prompt::appTitle();
    // No is the default of both questions: one press of Return never throws work away.
    if (ctx_.WorkMode == Mode::New) {
        const auto a = ctx_.prompt->ask(QStringLiteral("There is a new estimate in progress,\ndo "
                                                       "you really want to quit?"),
                                        caption, Prompt::Buttons::YesNo, Prompt::Icon::Question,
                                        Prompt::Answer::No);
        if (a != Prompt::Answer::Yes) {
            e->ignore();
            return;
        }
        discardNewEstimate();
    } else if (ctx_.WorkMode == Mode::Open) {
        const auto a = ctx_.prompt->ask(
            QStringLiteral("There is an open estimate in progress,\ndo you really want to "
                           "quit?\nDoing so loses any unsaved work."),
            caption, Prompt::Buttons::YesNo, Prompt::Icon::Question, Prompt::Answer::No);
        if (a != Prompt::Answer::Yes) {
            e->ignore();
            return;
        }
    }
    // Work given up on purpose is not offered back on the next start.
    if (ctx_.WorkMode == Mode::New || ctx_.WorkMode == Mode::Open) {
        recordTimer_->stop();
        modTempDB::ClearTempTables(ctx_);
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
    if (EstStatus == QLatin1String("Saving"))
        EstStatus = QStringLiteral("Working");
    if (!checkValidity(index))
        return;
    output->createDocuments(index, roof->roofTotals());
}

bool frmCorvanel::checkValidity(int index) {
    // The set, the proposal and the contract print "<<ExpDate>>"; the listings do not.
    if ((index != 0 && index != 2 && index != 3) || !estimateStarted())
        return true;
    QDate expiry;
    guarded("checkValidity", [&] { expiry = modDocs::storedExpiryDate(ctx_, ctx_.EstID); });
    if (!expiry.isValid() || expiry >= QDate::currentDate())
        return true;
    const auto a = ctx_.prompt->ask(
        QStringLiteral("This estimate was valid until %1, a date already past: the proposal "
                       "and the contract would print it.\nClick 'Yes' to open Manage and "
                       "change the date or the validity first, 'No' to make the documents as "
                       "they are, or 'Cancel' to make nothing.")
            .arg(DocDates::shortDate(expiry)),
        QStringLiteral("Validity date past"), Prompt::Buttons::YesNoCancel, Prompt::Icon::Warning,
        Prompt::Answer::Yes);
    if (a == Prompt::Answer::Cancel)
        return false;
    if (a == Prompt::Answer::Yes) {
        // Manage works on the estimate it shows and lets go of it when closed; the estimate
        // in work stays the one open here.
        const std::int32_t id = ctx_.EstID;
        const QString conn = ctx_.EstConn;
        {
            frmManageStatus dialog(ctx_, this);
            dialog.editEstimate(id);
            dialog.exec();
        }
        ctx_.EstID = id;
        ctx_.EstConn = conn;
    }
    return true;
}

// The life of an estimate: new, start, open, save, close and manage.
void frmCorvanel::connectEstimateLife() {
    connect(mnuEstNew, &QAction::triggered, this, &frmCorvanel::mnuEstNew_Click);
    connect(mnuEstOpen, &QAction::triggered, this, &frmCorvanel::mnuEstOpen_Click);
    connect(mnuEstSave, &QAction::triggered, this, &frmCorvanel::cmdSave_Click);
    connect(totals->cmdSave, &QPushButton::clicked, this, &frmCorvanel::cmdSave_Click);
    connect(owner->cmdStartEst, &QPushButton::clicked, this, &frmCorvanel::cmdStartEst_Click);
    connect(owner->cmdCancel, &QPushButton::clicked, this, &frmCorvanel::cmdCancel_Click);
    connect(mnuEstManage, &QAction::triggered, this, &frmCorvanel::mnuEstManage_Click);
    connect(owner->cmdImport, &QPushButton::clicked, this, &frmCorvanel::cmdImport_Click);
    owner->PopEstTypeCbo();
}

bool frmCorvanel::estimateStarted() const {
    return ctx_.estimateStarted();
}

void frmCorvanel::mnuEstNew_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    owner->PopEstTypeCbo();
    owner->clearFields();
    roof->reset();
    ctx_.EstName.clear();
    ctx_.EstPath.clear();
    ctx_.EstConn.clear();
    // Without a working database or a reserved id there is nothing to enter data into. While
    // idle no estimate id is held, so a failure of either step is reported as CreateEstID's.
    ctx_.EstID = 0;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("CreateEstID"), kForm, [this] {
            modTempDB::CreateTempDB(ctx_);
            ctx_.EstID = modEst::CreateEstID(ctx_);
        })) {
        ctx_.EstID = 0;
        return;
    }
    showTabs(true);
    SSTab1->setCurrentIndex(0);
    for (int i = 1; i <= 4; ++i)
        SSTab1->setTabEnabled(i, false);
    ctx_.WorkMode = Mode::New;
    ctx_.EstStarted = false;
    EstStatus = QStringLiteral("Working");
    clearUndo();

    guarded("PopAdmin", [&] { totals->PopAdmin(); });
    roof->popGrids();
    guarded("PopEstiGrid", [&] { lines->PopEstiGrid(); });
    ActiveMenu(QStringLiteral("nonidle"));
    owner->beginNewEstimate();
    ctx_.EstChanged = true;
    owner->enableImport();
    refreshTitle();
}

void frmCorvanel::cmdStartEst_Click() {
    if (ctx_.WorkMode != Mode::New || estimateStarted())
        return;
    const std::optional<OwnerTab::StartRequest> request = owner->checkStart();
    if (!request)
        return;
    setPanel(1, QStringLiteral("ID: %1").arg(ctx_.EstID));
    setPanel(3, QStringLiteral("Status: Working"));
    EstStatus = QStringLiteral("Working");

    // A name the user typed only loses its blanks; a name built here is also made safe for a
    // folder name, since a last name may hold any character.
    QString name = modEst::estNameFromTyped(request->typedName);
    const bool built = name.isEmpty();
    if (built) {
        const QString text = request->fields.name[1] + QLatin1Char(' ') + request->fields.estType;
        owner->showBuiltName(text, true);
        name = modEst::estNameFromBuilt(text, ctx_.EstID);
    }

    bool started = false;
    Guard::run(*ctx_.prompt, QStringLiteral("cmdStartEst_Click"), kForm, [&] {
        if (modEst::nameInUse(ctx_, name, ctx_.EstID)) {
            ctx_.prompt->message(QStringLiteral("There is already an estimate named %1.\nPlease "
                                                "type another name for this estimate.")
                                     .arg(name));
            if (built)
                owner->showBuiltName(QString(), false);
            owner->txtEstName->setFocus();
            owner->txtEstName->selectAll();
            return;
        }
        modEst::startEstimate(ctx_, name, request->fields);
        started = true;
    });
    if (!started) {
        if (built)
            owner->showBuiltName(QString(), false);
        return;
    }

    ctx_.EstStarted = true;
    // The owner is stored now and its fields are locked: their typing is no longer undone.
    clearUndo();
    for (int i = 1; i <= 4; ++i)
        SSTab1->setTabEnabled(i, true);
    SSTab1->setCurrentIndex(1);
    setPanel(1, QStringLiteral("ID: %1").arg(ctx_.EstID));
    setPanel(2, ctx_.EstName);
    setPanel(3, QStringLiteral("Status: Working"));
    owner->enableStartButtons(false);
    LockOwner(true);
    SaveStatus(true);
    recordWorkState();
}

void frmCorvanel::cmdCancel_Click() {
    if (ctx_.WorkMode == Mode::New)
        modEst::releaseEstID(ctx_, ctx_.EstID);
    ctx_.WorkMode = Mode::Idle;
    modTempDB::ClearTempTables(ctx_);
    setAllTabsEnabled(SSTab1, true);
    ActiveMenu(QStringLiteral("idle"));
    showTabs(false);
    owner->clearFields();
    LockOwner(true);
    roof->detachGrids();
    lines->detachGrid();
    ctx_.EstID = 0;
    ctx_.EstChanged = false;
    clearUndo();
    SaveStatus(false);
    clearPanels();
}

frmCorvanel::SaveResult frmCorvanel::saveEstimate() {
    // Figuring a roof or reading reports: there is no estimate to store.
    if (!estimateStarted())
        return SaveResult::Refused;
    if (lines->gridRowCount() < 2) {
        ctx_.prompt->message(
            QStringLiteral("There are no items listed for this estimate so it cannot be saved."));
        return SaveResult::Refused;
    }
    // Asked before anything is written, so that Cancel stores nothing.
    bool complete = false;
    if (EstStatus == QLatin1String("Working")) {
        const auto a = ctx_.prompt->ask(
            QStringLiteral("Click 'Yes' if estimate is complete.\nClick 'No' if not.\nClick "
                           "'Cancel' if neither and return to estimate.\n"),
            QStringLiteral("Is this estimate complete?"), Prompt::Buttons::YesNoCancel,
            Prompt::Icon::Information, Prompt::Answer::No);
        if (a == Prompt::Answer::Cancel)
            return SaveResult::Cancelled;
        complete = a == Prompt::Answer::Yes;
    }
    modSaveEst::SaveInput in;
    in.admin = totals->adminStoredTexts();
    in.summary = totals->summary();
    in.terms = totals->terms();
    in.complete = complete;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("SaveEst"), kForm,
                    [&] { modSaveEst::saveEstimate(ctx_, in); })) {
        ctx_.prompt->message(QStringLiteral("The estimate was not saved. It stays open with your "
                                            "changes; the stored estimate is as it was last "
                                            "saved."));
        return SaveResult::Failed;
    }
    if (complete) {
        EstStatus = QStringLiteral("Pending");
        setPanel(3, QStringLiteral("Status: Pending"));
    }
    // The documents edited in the Output tab are kept with the estimate (a failure is told).
    output->saveDocuments();
    SaveStatus(false);
    ctx_.EstChanged = false;
    // The estimate is stored now: from here on it is an opened one (closing it never throws it
    // away), and what is stored is where undo stops.
    if (ctx_.WorkMode == Mode::New)
        ctx_.WorkMode = Mode::Open;
    clearUndo();
    recordWorkState();
    return SaveResult::Saved;
}

bool frmCorvanel::SaveEst() {
    return saveEstimate() == SaveResult::Saved;
}

void frmCorvanel::cmdSave_Click() {
    if (!estimateStarted())
        return;
    // A save that was refused, cancelled or failed keeps the estimate open: nothing is lost.
    if (!SaveEst())
        return;
    ctx_.WorkMode = Mode::Idle;
    modTempDB::ClearTempTables(ctx_);
    CleanForm();
    finishLeavingMode();
}

void frmCorvanel::discardNewEstimate() {
    modEst::releaseEstID(ctx_, ctx_.EstID);
    if (!modEst::removeEstimateFolder(ctx_, ctx_.EstName))
        ctx_.prompt->message(QStringLiteral("The folder %1 could not be deleted.")
                                 .arg(QDir::toNativeSeparators(ctx_.estimatesDir() +
                                                               QLatin1Char('/') + ctx_.EstName)));
}

void frmCorvanel::closeEstimate() {
    const bool isNew = ctx_.WorkMode == Mode::New;
    if (isNew && !estimateStarted()) {
        cmdCancel_Click();
        return;
    }
    if (isNew || (ctx_.WorkMode == Mode::Open && ctx_.EstChanged)) {
        const auto a = ctx_.prompt->ask(
            QStringLiteral("Click 'Yes' to save any unsaved work,\n'No' to leave without saving, "
                           "and\n'Cancel' to do niether."),
            QStringLiteral("Would you like to save first?"), Prompt::Buttons::YesNoCancel,
            Prompt::Icon::Question, Prompt::Answer::Yes);
        if (a == Prompt::Answer::Cancel)
            return;
        if (a == Prompt::Answer::Yes) {
            cmdSave_Click();
            return;
        }
        ctx_.EstChanged = false;
        SaveStatus(false);
    }
    if (isNew)
        discardNewEstimate();
    resetToIdleTabs();
    CleanForm();
    finishLeavingMode();
}

void frmCorvanel::CleanForm() {
    const bool wasLoading = ctx_.Loading;
    ctx_.Loading = true;
    guarded("CleanForm", [&] {
        modTempDB::ClearTempTables(ctx_);
        ctx_.WorkMode = Mode::Idle;
        ctx_.EstID = 0;
        ctx_.EstName.clear();
        ctx_.EstPath.clear();
        ctx_.EstConn.clear();
        ctx_.EstChanged = false;
        EstStatus.clear();
        owner->PopEstTypeCbo();
        owner->clearFields();
        owner->enableStartButtons(true);
        ActiveMenu(QStringLiteral("idle"));
        SaveStatus(false);
        roof->reset();
        totals->clearTexts();
        output->clearDocuments();
        setAllTabsEnabled(SSTab1, true);
        showTabs(false);
        SSTab1->setCurrentIndex(1);
        output->SSTab2->setCurrentIndex(1);
        roof->detachGrids();
        lines->detachGrid();
        totals->resetLabels();
        clearPanels();
    });
    ctx_.Loading = wasLoading;
}

void frmCorvanel::mnuEstOpen_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    std::int32_t id = 0;
    {
        frmOpenEst dialog(ctx_, this);
        dialog.exec();
        id = dialog.chosenID();
    }
    openEstimate(id);
}

void frmCorvanel::openEstimate(std::int32_t id) {
    if (ctx_.WorkMode != Mode::Idle || id < 1)
        return;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("mnuEstOpen_Click"), kForm,
                    [this] { modTempDB::CreateTempDB(ctx_); }))
        return;
    ctx_.WorkMode = Mode::Open;
    showEstimate(id, nullptr);
}

void frmCorvanel::showEstimate(std::int32_t id, const WorkState::State* recovered) {
    ctx_.EstID = id;
    ctx_.EstStarted = true;
    ctx_.Loading = true;
    showTabs(true);
    setAllTabsEnabled(SSTab1, true);
    SSTab1->setCurrentIndex(0);
    ActiveMenu(QStringLiteral("nonidle"));
    owner->enableStartButtons(false);

    const QString module = Guard::module("modOpenEst");
    const bool ownerOpened = Guard::run(*ctx_.prompt, QStringLiteral("OpenOwner"), module, [&] {
        const modOpenEst::OwnerRecord r = modOpenEst::OpenOwner(ctx_, id);
        owner->showOwner(r);
        EstStatus = r.status;
    });
    setPanel(1, QStringLiteral("ID: %1").arg(id));
    setPanel(2, owner->txtEstName->text());
    setPanel(3, QStringLiteral("Status: ") + EstStatus);

    if (ownerOpened) {
        // A recovered estimate keeps its working copy as the crash left it.
        if (!recovered)
            Guard::run(*ctx_.prompt, QStringLiteral("OpenRoof"), module,
                       [this] { modOpenEst::OpenRoof(ctx_); });
        roof->PopRoofArea();
        if (!recovered)
            Guard::run(*ctx_.prompt, QStringLiteral("OpenLineItems"), module,
                       [this] { modOpenEst::OpenLineItems(ctx_); });
        guarded("PopEstiGrid", [&] { lines->PopEstiGrid(); });
        if (recovered)
            totals->showTerms({{recovered->admin.value(0), recovered->admin.value(1),
                                recovered->admin.value(2), recovered->admin.value(3)},
                               recovered->terms,
                               recovered->summary});
        else
            guarded("PopEstAdmin", [&] { totals->PopEstAdmin(); });
        guarded("FigureTotals", [&] { totals->FigureTotals(); });
        output->loadDocuments();
    }
    LockOwner(true);
    clearUndo();
    if (recovered) {
        // What was recovered differs from what is stored until it is saved, whatever is undone.
        undoStack->resetClean();
        markChanged();
    } else {
        ctx_.EstChanged = false;
        SaveStatus(false);
    }
    ctx_.Loading = false;
    recordWorkState();
}

void frmCorvanel::offerRecovery() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    const std::optional<WorkState::Unsaved> u = WorkState::unsaved(ctx_);
    if (!u)
        return;
    const auto a = ctx_.prompt->ask(QStringLiteral("Corvanel was closed while the estimate %1 had "
                                                   "unsaved changes. Recover them?")
                                        .arg(u->estName),
                                    Prompt::appTitle(), Prompt::Buttons::YesNo,
                                    Prompt::Icon::Question, Prompt::Answer::Yes);
    if (a != Prompt::Answer::Yes) {
        guarded("CreateTempDB", [this] { modTempDB::CreateTempDB(ctx_); });
        return;
    }
    ctx_.WorkMode = u->state.mode;
    showEstimate(u->state.estId, &u->state);
}

void frmCorvanel::mnuEstManage_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    frmManageStatus dialog(ctx_, this);
    dialog.exec();
    ctx_.EstID = 0;
    ctx_.EstConn.clear();
}

void frmCorvanel::cmdImport_Click() {
    if (ctx_.WorkMode != Mode::New || estimateStarted())
        return;
    owner->cmdImport_Click();
}
