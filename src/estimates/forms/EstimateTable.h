#pragma once

#include "estimates/EstList.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>
#include <vector>

// Every estimate as a table: name, owner, address, type, status, date, days left and total,
// sorted by any column and narrowed by a search as it is typed.
class EstimateTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Owner, Address, Type, Status, Date, DaysLeft, Total, ColumnCount };
    // The master id of a row, under Qt::UserRole of any cell.
    static constexpr int IdRole = Qt::UserRole;

    explicit EstimateTable(QObject* parent = nullptr);

    // Shows `rows` as seen on `today`, narrowed by the current search and in the current order.
    void setRows(QList<EstList::Row> rows, const QDate& today);
    // Narrows the table to the estimates whose name, owner or address hold every typed word.
    void setSearch(const QString& typed);
    // The master id of a shown row; 0 outside.
    std::int32_t idAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString text(const EstList::Row& r, int column) const;
    // The rows that match the search, in the current order.
    void refilter();
    // Orders `shown_` by the sort column; equal rows stay in the order of their ids.
    void order();

    QList<EstList::Row> rows_;
    std::vector<QString> sortKeys_; // per row of rows_: its folded texts, one per text column
    std::vector<int> shown_;        // indexes into rows_, in display order
    QStringList words_;
    QDate today_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
