#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class QUndoStack;
class QTabWidget;
class QStackedWidget;
class QLabel;
class QPushButton;
class OwnerTab;
class RoofTab;
class LineItemsTab;
class TotalsTab;
class OutputTab;
class StartPage;
class CompanyNotice;
struct AppContext;
class QTimer;
namespace WorkState {
struct State;
}

// The program's only main window: menus, the five estimate tabs, the status bar, and the work
// modes ("" idle, "new", "open", "figure", "report").
class frmCorvanel : public QMainWindow {
    Q_OBJECT
public:
    explicit frmCorvanel(AppContext& ctx, QWidget* parent = nullptr);
    ~frmCorvanel() override;

    AppContext& ctx() { return ctx_; }

    // Menu bar.
    QMenu* mnuSetup;
    QMenu* mnuEst;
    QMenu* mnuEdit;
    QMenu* mnuReport;
    QMenu* mnuHelp;
    QAction* mnuSetupMaint;
    QAction* mnuSetupPrices;
    QAction* mnuEstNew;
    QAction* mnuEstOpen;
    QAction* mnuEstManage;
    QAction* mnuEstFig;
    QAction* mnuEstSave;
    QAction* mnuEstClose;
    // Edit → Undo and Redo of the estimate in work, named after the step ("Undo Delete Line").
    QAction* mnuEditUndo;
    QAction* mnuEditRedo;
    QAction* mnuReportForms;
    QAction* mnuReportSummary; // "Estimate summary"
    QAction* mnuReportManage;
    QAction* mnuHelpContents;
    QAction* mnuHelpBug;
    QAction* mnuHelpAbout;

    // Every change of the estimate in work, one step per action of the user. It is emptied when
    // the estimate is started, saved or closed; undoing back to the last save leaves nothing
    // to save.
    QUndoStack* undoStack;

    // What shows while idle.
    StartPage* startPage;
    // On the start page while the company is the sample one.
    CompanyNotice* companyNotice;

    // The estimate tabs and what they hold.
    QTabWidget* SSTab1;
    OwnerTab* owner;
    RoofTab* roof;
    LineItemsTab* lines;
    TotalsTab* totals;
    OutputTab* output;
    // cmdPrint(0) to cmdPrint(4).
    std::array<QPushButton*, 5> cmdPrint{};

    // The status bar's three panels (1 to 3).
    QLabel* panel(int i) const;
    void setPanel(int i, const QString& text);
    void clearPanels();

    // Whether SSTab1 is on screen (while idle it is replaced by the start page).
    bool tabsVisible() const;
    void showTabs(bool visible);

    // The window's estimate status ("Working", "Pending", …, or "Saving" while documents are
    // made); not stored by itself.
    QString EstStatus;

    // Menu state "idle" or anything else (busy).
    void ActiveMenu(const QString& menuState);
    // Enables or disables Estimate → Save Estimate and Save & Close together.
    void SaveStatus(bool enabled);
    // Locks or unlocks the owner fields of the Home Owner tab.
    void LockOwner(bool locked);
    // An edit of the estimate: it now has unsaved changes.
    void markChanged();
    // The undo stack moved: an opened estimate has unsaved changes exactly when the stack is not
    // back at its last save or a document was edited since; a new one has them from its start.
    void followUndo();
    // Forgets every step (the estimate was started, saved or closed).
    void clearUndo();

    // Mode handlers.
    void mnuEstFig_Click();
    void mnuReportManage_Click();
    void mnuEstClose_Click();
    void mnuHelpContents_Click();
    void mnuHelpBug_Click();
    void mnuHelpAbout_Click();

    // The estimate modes: new, open, save and close.
    void mnuEstNew_Click();
    void mnuEstOpen_Click();
    // Opens stored estimate `id` (chosen in the Open window or on the start page) while idle.
    void openEstimate(std::int32_t id);
    void cmdStartEst_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    // Saves the estimate in work; false when nothing was stored (refused, cancelled or failed).
    bool SaveEst();
    // Closing an estimate of the "new" or "open" mode.
    void closeEstimate();
    // The full screen reset after a save or close.
    void CleanForm();
    // Whether the estimate in work exists in storage (a new one after Start, or an opened one).
    bool estimateStarted() const;
    // At start: when the working copy holds unsaved changes of an estimate (the program was
    // killed or crashed), asks whether to recover them; Yes reopens the estimate in its mode as
    // it was, No discards the changes.
    void offerRecovery();
    // Estimate → Manage and the contact import of a new estimate.
    void mnuEstManage_Click();
    void cmdImport_Click();

    // The document buttons cmdPrint(0) to cmdPrint(4).
    void cmdPrint_Click(int index);
    // Before documents that print the offer's last day: when that day is past, says so and
    // offers Manage to change the date or the validity. False when the user cancelled.
    bool checkValidity(int index);

    // Back to idle from the figure and report modes (the estimate modes add their own steps).
    void leaveFigureMode();
    void leaveReportMode();
    // Empty working tables, all tabs enabled on the first, idle menus, empty owner fields.
    void resetToIdleTabs();
    // What every way back to idle ends with.
    void finishLeavingMode();

    static QString lockedOwnerText();
    static QString supportAddress() { return QStringLiteral("support@corvanel.example"); }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Connects the menu entries and buttons of the estimate's life to their handlers.
    void connectEstimateLife();

    enum class SaveResult { Saved, Refused, Cancelled, Failed };
    SaveResult saveEstimate();
    // Removes the master row and the folder of a new estimate that is thrown away.
    void discardNewEstimate();
    // Shows estimate `id` in the mode set: copied from storage into the working tables, or, for
    // a recovered one, from the working tables as they are with the recorded texts.
    void showEstimate(std::int32_t id, const WorkState::State* recovered);
    // Records in the working database what it belongs to and whether it holds unsaved changes
    // (WorkState); `soon` waits for a pause in typing.
    void recordWorkState(bool soon = false);

    void buildMenus();
    // The title tells what is open and whether it has unsaved changes (WindowTitle).
    void refreshTitle();
    void setAllTabsEnabled(QTabWidget* tabs, bool enabled);
    // Runs a step of a handler so that no error escapes it (the standard message, "of Form
    // frmCorvanel").
    void guarded(const char* procedure, const std::function<void()>& f);

    AppContext& ctx_;
    QStackedWidget* stack_;
    std::array<QLabel*, 3> panels_{};
    QTimer* recordTimer_;
    bool recordedChanged_ = false;
};
