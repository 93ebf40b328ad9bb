#pragma once

#include <QWidget>
#include <array>

class QTextEdit;
class QGroupBox;
class QLabel;
class QPushButton;
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

    // The type label of administrative frame i (0 overhead, 1 profit, 2 contingency, 3
    // management).
    QLabel* typeLabel(int i) const;

Q_SIGNALS:
    // The user clicked administrative frame `index`.
    void frAdminClicked(int index);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    AppContext& ctx_;
};
