#include "catalogue/forms/RowsModel.h"

RowsModel::RowsModel(QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), captions_(std::move(captions)) {}

void RowsModel::show(int rows, Cell cell, QList<int> rightAligned) {
    beginResetModel();
    rows_ = rows;
    cell_ = std::move(cell);
    right_ = std::move(rightAligned);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int RowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(captions_.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || !cell_)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cell_(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && right_.contains(index.column()))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant RowsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < captions_.size())
        return captions_[section];
    return QAbstractTableModel::headerData(section, o, role);
}
