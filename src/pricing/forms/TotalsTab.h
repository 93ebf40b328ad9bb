#pragma once

#include "pricing/Totals.h"

#include <QWidget>
#include <array>

class QTextEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QUndoStack;
class UndoableText;
struct AppContext;

// Tab 3 of the main window: summary, payment terms, the four administrative amounts and the
// estimate total. It shows the estimate's totals as Totals figures them and owns the handlers of
// its controls.
class TotalsTab : public QWidget {
    Q_OBJECT
public:
    explicit TotalsTab(AppContext& ctx, QWidget* parent = nullptr);

    QTextEdit* txtSumm;
    QTextEdit* txtTerms;
    std::array<QGroupBox*, 4> frAdmin{};
    QLabel* lblOver;
    QLabel* lblPro;
    QLabel* lblCont;
    QLabel* lblManage;
    std::array<QLabel*, 4> lblAdmin{};
    QLabel* lblSubTotal;
    QLabel* lblAdminTotal;
    QLabel* lblEstTotal;
    QPushButton* cmdPrint0;
    QPushButton* cmdSave;

    // The undo stack of the estimate in work: edits of the administrative amounts, the summary
    // and the terms go there (the tab keeps a stack of its own until it is given one).
    void setUndoStack(QUndoStack* stack) { undo_ = stack; }
    QUndoStack* undoStack() const { return undo_; }

    // The totals as the tab shows them. Once an estimate is closed they keep the last figured
    // sub total, which a new estimate's percentages are figured against until its first totals.
    const Totals::EstimateTotals& totals() const { return totals_; }

    // Figures the totals again from the working lines and shows them (also announced by
    // totalsFigured).
    void FigureTotals();
    // Figures administrative amount `index` (0 to 3) of kind "Fixed" (else a percentage) from
    // `amount` against the sub total and shows it; the admin and estimate totals follow with the
    // next FigureTotals.
    void FigureAdmin(int index, const QString& kind, const QString& amount);
    // The four administrative defaults from the settings (a new estimate).
    void PopAdmin();
    // The four stored administrative texts, terms and summary of the open estimate (ctx.EstConn).
    void PopEstAdmin();
    // Shows administrative texts, terms and summary as given (stored, or recovered after a crash).
    void showTerms(const Totals::StoredTerms& terms);
    // The four administrative amounts in their stored form ("Fixed-…" or "%-…"), 0 to 3.
    QStringList adminStoredTexts() const;
    // The estimate summary and payment terms as typed.
    QString summary() const;
    QString terms() const;
    // Empties the summary and the payment terms.
    void clearTexts();
    // Back to the look of a closed estimate: totals ".00", amounts "..." (also announced by
    // totalsCleared).
    void resetLabels();

    // The type label of administrative frame i (0 overhead, 1 profit, 2 contingency, 3
    // management).
    QLabel* typeLabel(int i) const;

    // A click on administrative frame `index`: its amount is edited, then everything is figured
    // again.
    void frAdmin_Click(int index);
    // Administrative amount `index` becomes `a` (an undo step sets it back), then everything is
    // figured again.
    void setAdmin(int index, const Totals::AdminAmount& a);

Q_SIGNALS:
    // The user clicked administrative frame `index`.
    void frAdminClicked(int index);

    // The totals were figured again, or are back to the look of a closed estimate.
    void totalsFigured(const Totals::EstimateTotals& totals);
    void totalsCleared();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void showAdmin(int index);
    void showSums();

    AppContext& ctx_;
    Totals::EstimateTotals totals_;
    QUndoStack* undo_;
    UndoableText* summaryUndo_;
    UndoableText* termsUndo_;
};
