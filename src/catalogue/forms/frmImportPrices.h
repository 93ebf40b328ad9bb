#pragma once

#include "catalogue/PriceList.h"

#include <QDialog>
#include <array>
#include <optional>

struct AppContext;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class RowsModel;

// Importing a supplier's price list in two steps: which column holds what (with the file's
// encoding, separator and decimal mark), then a preview of the new items, the changed and the
// unchanged prices, the unit items whose price follows and the rows left out. Nothing is written
// before Import is pressed; then everything is written at once.
class frmImportPrices : public QDialog {
    Q_OBJECT
public:
    frmImportPrices(AppContext& ctx, PriceList::Source source, QWidget* parent = nullptr);

    // What was written when Import was pressed; nothing after Cancel or the close box.
    const std::optional<PriceList::Preview>& imported() const { return imported_; }

    QStackedWidget* stkSteps;
    // The mapping step.
    QLabel* lblFile;
    QComboBox* cmbEncoding;
    QComboBox* cmbSeparator;
    QComboBox* cmbDecimal;
    std::array<QComboBox*, PriceList::Fields> cmbColumn; // cmbColumnSku, cmbColumnName, …
    QComboBox* cmbDefaultType;
    QTableView* dgSample;
    QPushButton* cmdPreview;
    // The preview step.
    QLabel* lblSummary;
    QTabWidget* tabPreview;
    QTableView* dgNew;
    QTableView* dgChanged;
    QTableView* dgUnchanged;
    QTableView* dgUnits;
    QTableView* dgProblems;
    QPushButton* cmdBack;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

    // The layout as the mapping step shows it.
    PriceList::Layout layout() const;
    void cmdPreview_Click();
    void cmdBack_Click();
    void cmdImport_Click();

private:
    void showSource();
    void showSample();
    void reread();
    void showPreview();

    AppContext& ctx_;
    PriceList::Source source_;
    std::optional<PriceList::Preview> preview_;
    std::optional<PriceList::Preview> imported_;
    RowsModel* sample_ = nullptr;
    bool filling_ = false;
};
