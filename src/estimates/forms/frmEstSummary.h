#pragma once

#include "documents/forms/PrintPreview.h"
#include "estimates/EstSummary.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class QTextDocument;
struct AppContext;

// Reports → "Estimate summary": counts and totals by status for a period, the win rate, the
// value of pending work and a bar chart by month; printed through the print preview and
// exported as CSV.
class frmEstSummary : public QDialog {
    Q_OBJECT
public:
    // `today` decides which pending estimates have expired and what the periods offered are.
    explicit frmEstSummary(AppContext& ctx, const QDate& today = QDate::currentDate(),
                           QWidget* parent = nullptr);
    ~frmEstSummary() override;

    QComboBox* cmbPeriod = nullptr; // the periods offered, then "Custom"
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QTableWidget* tblSummary = nullptr; // one row per status, then "All"
    QLabel* lblWinRate = nullptr;
    QLabel* lblPending = nullptr;
    QLabel* lblNote =
        nullptr; // estimates left out or without a total; a period that ends before it begins
    QChartView* chtMonths = nullptr;
    QPushButton* cmdPrintSummary = nullptr;
    QPushButton* cmdExportSummary = nullptr;
    QPushButton* cmdClose = nullptr;

    // Shows the summary of the period from `from` to `to`.
    void setPeriod(const QDate& from, const QDate& to);
    const EstSummary::Figures& figures() const { return figures_; }
    // The page as printed: the figures, then the chart.
    std::unique_ptr<QTextDocument> document() const;

    void cmdPrintSummary_Click();
    void cmdExportSummary_Click();

    // The print preview (tests print without it) and the file the CSV is written to (empty:
    // cancelled).
    PrintPreview::Run preview;
    std::function<QString()> saveFileName;

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void showFigures();
    void showChart();
    void fitTable();
    void followDates();

    AppContext& ctx_;
    QDate today_;
    QList<EstSummary::Period> presets_;
    EstSummary::Figures figures_;
};
