#include "app/frmCorvanel.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "documents/forms/OutputTab.h"
#include "estimates/forms/OwnerTab.h"
#include "estimates/forms/frmContactGrid.h"
#include "estimates/forms/frmManageStatus.h"
#include "estimates/forms/frmOpenEst.h"
#include "estimates/modEst.h"
#include "estimates/modOpenEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/TotalsTab.h"
#include "settings/SettingsStore.h"
#include "storage/modTempDB.h"
#include "takeoff/forms/RoofTab.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>

namespace {

const QString kForm = Guard::form("frmCorvanel");

} // namespace

// Connects starting, opening, saving and closing estimates to their handlers.
void frmCorvanel::wireEstimates() {
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

    guarded("PopAdmin", [&] { totals->PopAdmin(); });
    roof->popGrids();
    guarded("PopEstiGrid", [&] { lines->PopEstiGrid(); });
    ActiveMenu(QStringLiteral("nonidle"));
    LockOwner(false);
    owner->cmdStartEst->setEnabled(true);
    owner->cmdCancel->setEnabled(true);
    owner->txtName[0]->setFocus();
    owner->Label3->setText(OwnerTab::enterOwnerText());
    ctx_.EstChanged = true;
    owner->enableImport();
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
    for (int i = 1; i <= 4; ++i)
        SSTab1->setTabEnabled(i, true);
    SSTab1->setCurrentIndex(1);
    setPanel(1, QStringLiteral("ID: %1").arg(ctx_.EstID));
    setPanel(2, ctx_.EstName);
    setPanel(3, QStringLiteral("Status: Working"));
    owner->cmdStartEst->setEnabled(false);
    owner->cmdCancel->setEnabled(false);
    owner->cmdImport->setEnabled(false);
    LockOwner(true);
    SaveStatus(true);
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
    GridBinding::detach(lines->grdDataGrid);
    ctx_.EstID = 0;
    ctx_.EstChanged = false;
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
    SaveStatus(false);
    ctx_.EstChanged = false;
    // The estimate is stored now: from here on it is an opened one (deleting a saved line
    // removes its stored copy; closing it never throws it away).
    if (ctx_.WorkMode == Mode::New)
        ctx_.WorkMode = Mode::Open;
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
        owner->cmdStartEst->setEnabled(true);
        owner->cmdCancel->setEnabled(true);
        ActiveMenu(QStringLiteral("idle"));
        SaveStatus(false);
        roof->reset();
        totals->txtSumm->clear();
        totals->txtTerms->clear();
        output->clearDocuments();
        setAllTabsEnabled(SSTab1, true);
        showTabs(false);
        SSTab1->setCurrentIndex(1);
        output->SSTab2->setCurrentIndex(1);
        roof->detachGrids();
        GridBinding::detach(lines->grdDataGrid);
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
    if (id < 1)
        return;
    if (!Guard::run(*ctx_.prompt, QStringLiteral("mnuEstOpen_Click"), kForm,
                    [this] { modTempDB::CreateTempDB(ctx_); }))
        return;
    ctx_.EstID = id;
    ctx_.Loading = true;
    showTabs(true);
    setAllTabsEnabled(SSTab1, true);
    SSTab1->setCurrentIndex(0);
    ctx_.WorkMode = Mode::Open;
    ActiveMenu(QStringLiteral("nonidle"));
    owner->cmdStartEst->setEnabled(false);
    owner->cmdCancel->setEnabled(false);
    owner->cmdImport->setEnabled(false);

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
        Guard::run(*ctx_.prompt, QStringLiteral("OpenRoof"), module,
                   [this] { modOpenEst::OpenRoof(ctx_); });
        roof->PopRoofArea();
        Guard::run(*ctx_.prompt, QStringLiteral("OpenLineItems"), module,
                   [this] { modOpenEst::OpenLineItems(ctx_); });
        guarded("PopEstiGrid", [&] { lines->PopEstiGrid(); });
        guarded("PopEstAdmin", [&] { totals->PopEstAdmin(); });
        guarded("FigureTotals", [&] { totals->FigureTotals(); });
    }
    LockOwner(true);
    ctx_.EstChanged = false;
    SaveStatus(false);
    ctx_.Loading = false;
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
