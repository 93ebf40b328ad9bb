#pragma once

#include <QDialog>
#include <array>
#include <optional>

class QComboBox;
class QPushButton;
class QTableView;
struct AppContext;

// "Contacts from Brenwick": the sibling program's contacts, read-only, with three filters;
// Select hands one contact's name, address and phones to the new estimate.
class frmContactGrid : public QDialog {
    Q_OBJECT
public:
    explicit frmContactGrid(AppContext& ctx, QWidget* parent = nullptr);
    ~frmContactGrid() override;

    QTableView* grdDataGrid;
    QComboBox* cboFilter;
    QComboBox* cboType;
    QComboBox* cboCompanies;
    QPushButton* cmdSelect;

    void PopGrid(const QString& value, const QString& mode);
    void cmdSelect_Click();

    // The owner fields of the chosen contact (after Select).
    const std::optional<std::array<QString, 7>>& selected() const { return selected_; }

private:
    AppContext& ctx_;
    QString path_;
    std::optional<std::array<QString, 7>> selected_;
};
