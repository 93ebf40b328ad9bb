#pragma once

#include <QWidget>
#include <array>

class QTextEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class LineItemsTab;
struct AppContext;


// Tab 3 of the main window: summary, payment terms, the four administrative amounts and the
// estimate total.
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

    // The line items tab, whose type-total labels FigureTotals also fills.
    void setLineItemsTab(LineItemsTab* lines) { lines_ = lines; }

    // Recomputes the type totals, sub total, administrative amounts and estimate total.
    void FigureTotals();
    // Shows administrative amount `index` (0 to 3): kind "Fixed" or a percentage.
    void FigureAdmin(int index, const QString& kind, const QString& amount);
    // The four administrative defaults from the settings (a new estimate).
    void PopAdmin();
    // The four stored administrative texts, terms and summary of the open estimate (ctx.EstConn).
    void PopEstAdmin();
    // The four administrative amounts in their stored form ("Fixed-…" or "%-…"), 0 to 3.
    QStringList adminStoredTexts() const;
    // Back to the look of a closed estimate: totals ".00", amounts "...".
    void resetLabels();

    // The type label of administrative frame i (0 overhead, 1 profit, 2 contingency, 3
    // management).
    QLabel* typeLabel(int i) const;

Q_SIGNALS:
    // The user clicked administrative frame `index`.
    void frAdminClicked(int index);

    // The estimate was changed on this tab (summary, terms, an administrative amount).
    void changed();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    AppContext& ctx_;
    LineItemsTab* lines_ = nullptr;
};
