#include "app/frmCorvanel.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
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
#include "storage/modData.h"
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

const QString kForm = QStringLiteral("Form frmCorvanel");

void report(AppContext& ctx, const ProcedureError& e, const QString& procedure,
            const QString& owner = kForm) {
    ErrorMessage::show(*ctx.prompt, e.number, e.description, procedure, owner);
}

// Refills the estimate type list: an empty entry, then every type already used.
void PopEstTypeCbo(AppContext& ctx, QComboBox* box) {
    try {
        const QStringList types = modEst::estimateTypes(ctx);
        box->clear();
        box->addItem(QString());
        box->addItems(types);
        box->setCurrentIndex(0);
    } catch (const ProcedureError& e) {
        report(ctx, e, QStringLiteral("PopEstTypeCbo"), QStringLiteral("Module Module1"));
    }
}

// Puts the focus in a field after its message, with its text selected for retyping.
void focusField(QWidget* w) {
    w->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}

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
    PopEstTypeCbo(ctx_, owner->cmbEstType);
}

bool frmCorvanel::estimateStarted() const {
    return ctx_.estimateStarted();
}

void frmCorvanel::mnuEstNew_Click() {
    if (ctx_.WorkMode != Mode::Idle)
        return;
    PopEstTypeCbo(ctx_, owner->cmbEstType);
    owner->clearFields();
    roof->reset();
    ctx_.EstName.clear();
    ctx_.EstPath.clear();
    ctx_.EstConn.clear();
    try {
        modTempDB::CreateTempDB(ctx_);
        ctx_.EstID = modEst::CreateEstID(ctx_);
    } catch (const ProcedureError& e) {
        // Without a working database or a reserved id there is nothing to enter data into.
        report(ctx_, e,
               ctx_.EstID == 0 ? QStringLiteral("CreateEstID") : QStringLiteral("mnuEstNew_Click"));
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
    owner->cmdImport->setEnabled(
        !ctx_.settings
             ->value(QStringLiteral("Brenwick"), QStringLiteral("Common"), QStringLiteral("Path"))
             .isEmpty());
}

void frmCorvanel::cmdStartEst_Click() {
    if (ctx_.WorkMode != Mode::New || estimateStarted())
        return;
    Prompt& prompt = *ctx_.prompt;
    for (int i = 0; i <= 4; ++i) {
        if (owner->txtName[i]->text().trimmed().isEmpty()) {
            prompt.message(QStringLiteral("This field may not be blank."));
            focusField(owner->txtName[i]);
            return;
        }
    }
    QComboBox* typeBox = owner->cmbEstType;
    const QString type = typeBox->currentText().trimmed();
    if (type.isEmpty()) {
        prompt.message(QStringLiteral("You must pick an estimate type.\nIf the one you want is not "
                                      "on the list\nyou may type it in."));
        typeBox->setFocus();
        return;
    }
    if (modEst::firstNonAlpha(type) >= 0) {
        prompt.message(
            QStringLiteral("Estimate types can have alpha characters\nonly. Please "
                           "re-enter the type or\nselect an existing type from the list."));
        typeBox->setEditText(QString());
        typeBox->setFocus();
        return;
    }
    const QString typed = owner->txtEstName->text();
    if (!typed.isEmpty() && modEst::firstNonAlpha(typed) >= 0) {
        prompt.message(QStringLiteral("Estimate names can have alpha characters only.\nPlease "
                                      "re-enter the name oror leave create the\nblank and let the "
                                      "system name for you."));
        owner->txtEstName->clear();
        owner->txtEstName->setFocus();
        return;
    }
    setPanel(1, QStringLiteral("ID: %1").arg(ctx_.EstID));
    setPanel(3, QStringLiteral("Status: Working"));
    EstStatus = QStringLiteral("Working");

    // A name the user typed only loses its blanks; a name built here is also made safe for a
    // folder name, since a last name may hold any character.
    QString name = modEst::estNameFromTyped(typed);
    const bool built = name.isEmpty();
    if (built) {
        owner->txtEstName->setText(owner->txtName[1]->text() + QLatin1Char(' ') + type);
        name = modEst::estNameFromBuilt(owner->txtName[1]->text() + QLatin1Char(' ') + type,
                                        ctx_.EstID);
    }

    try {
        if (modEst::nameInUse(ctx_, name, ctx_.EstID)) {
            prompt.message(QStringLiteral("There is already an estimate named %1.\nPlease type "
                                          "another name for this estimate.")
                               .arg(name));
            if (built)
                owner->txtEstName->clear();
            focusField(owner->txtEstName);
            return;
        }
        modEst::OwnerFields fields;
        for (int i = 0; i < 7; ++i)
            fields.name[i] = owner->txtName[i]->text();
        fields.estType = type;
        modEst::startEstimate(ctx_, name, fields);
    } catch (const ProcedureError& e) {
        report(ctx_, e, QStringLiteral("cmdStartEst_Click"));
        if (built)
            owner->txtEstName->clear();
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
        modData::ActionQuery(ctx_, QStringLiteral("DELETE from master where id=?"), {ctx_.EstID},
                             ctx_.MastEstConn);
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
    try {
        modSaveEst::saveEstimate(ctx_, in);
    } catch (const ProcedureError& e) {
        report(ctx_, e, QStringLiteral("SaveEst"));
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
    modData::ActionQuery(ctx_, QStringLiteral("DELETE from master where id=?"), {ctx_.EstID},
                         ctx_.MastEstConn);
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
        PopEstTypeCbo(ctx_, owner->cmbEstType);
        owner->clearFields();
        owner->cmdStartEst->setEnabled(true);
        owner->cmdCancel->setEnabled(true);
        ActiveMenu(QStringLiteral("idle"));
        SaveStatus(false);
        roof->reset();
        totals->txtSumm->clear();
        totals->txtTerms->clear();
        for (QTextEdit* box : output->rtfText)
            box->clear();
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
    try {
        modTempDB::CreateTempDB(ctx_);
    } catch (const ProcedureError& e) {
        report(ctx_, e, QStringLiteral("mnuEstOpen_Click"));
        return;
    }
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

    const QString module = QStringLiteral("Module modOpenEst");
    bool ownerOpened = false;
    try {
        const modOpenEst::OwnerRecord r = modOpenEst::OpenOwner(ctx_, id);
        owner->txtEstName->setText(r.estName);
        owner->cmbEstType->setEditText(r.estType);
        EstStatus = r.status;
        for (int k = 0; k < 7; ++k)
            owner->txtName[k]->setText(r.name[k]);
        ownerOpened = true;
    } catch (const ProcedureError& e) {
        report(ctx_, e, QStringLiteral("OpenOwner"), module);
    }
    setPanel(1, QStringLiteral("ID: %1").arg(id));
    setPanel(2, owner->txtEstName->text());
    setPanel(3, QStringLiteral("Status: ") + EstStatus);

    if (ownerOpened) {
        try {
            modOpenEst::OpenRoof(ctx_);
        } catch (const ProcedureError& e) {
            report(ctx_, e, QStringLiteral("OpenRoof"), module);
        }
        roof->PopRoofArea();
        try {
            modOpenEst::OpenLineItems(ctx_);
        } catch (const ProcedureError& e) {
            report(ctx_, e, QStringLiteral("OpenLineItems"), module);
        }
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
    frmContactGrid dialog(ctx_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.selected())
        return;
    const auto& fields = *dialog.selected();
    for (int i = 0; i < 7; ++i)
        owner->txtName[i]->setText(fields[i]);
    owner->txtName[0]->setFocus();
}
