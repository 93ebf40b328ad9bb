#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>

// A read-only table over rows kept elsewhere: the caller says how many rows there are and what
// each cell shows, so a list of a hundred thousand rows is never copied into items.
class RowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Cell = std::function<QString(int row, int column)>;
    RowsModel(QStringList captions, QObject* parent = nullptr);

    // Shows `rows` rows; `rightAligned` columns hold amounts.
    void show(int rows, Cell cell, QList<int> rightAligned = {});

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    QStringList captions_;
    int rows_ = 0;
    Cell cell_;
    QList<int> right_;
};
