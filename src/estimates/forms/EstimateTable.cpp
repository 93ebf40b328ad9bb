#include "estimates/forms/EstimateTable.h"

#include "common/TextSearch.h"

#include <QLocale>
#include <algorithm>

namespace {
// The text columns, whose folded texts sort them.
constexpr int kTextColumns = EstimateTable::Status + 1;
} // namespace

EstimateTable::EstimateTable(QObject* parent) : QAbstractTableModel(parent) {}

void EstimateTable::setRows(QList<EstList::Row> rows, const QDate& today) {
    beginResetModel();
    rows_ = std::move(rows);
    today_ = today;
    sortKeys_.clear();
    sortKeys_.reserve(std::size_t(rows_.size()) * kTextColumns);
    for (const EstList::Row& r : rows_)
        for (int c = 0; c < kTextColumns; ++c)
            sortKeys_.push_back(TextSearch::fold(text(r, c)));
    refilter();
    endResetModel();
}

void EstimateTable::setSearch(const QString& typed) {
    const QStringList words = TextSearch::words(typed);
    if (words == words_)
        return;
    beginResetModel();
    words_ = words;
    refilter();
    endResetModel();
}

void EstimateTable::refilter() {
    shown_.clear();
    for (int i = 0; i < rows_.size(); ++i)
        if (words_.isEmpty() || rows_[i].matches(words_))
            shown_.push_back(i);
    order();
}

std::int32_t EstimateTable::idAt(int row) const {
    return row >= 0 && row < int(shown_.size()) ? rows_[shown_[std::size_t(row)]].id : 0;
}

int EstimateTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int EstimateTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString EstimateTable::text(const EstList::Row& r, int column) const {
    switch (column) {
    case Name:
        return r.name;
    case Owner:
        return r.owner;
    case Address:
        return r.address;
    case Type:
        return r.type;
    case Status:
        return r.status;
    case Date:
        return r.date.isValid() ? QLocale().toString(r.date, QLocale::ShortFormat) : QString();
    case DaysLeft:
        return r.daysLeftText(today_);
    case Total:
        return r.total ? r.total->toCurrency() : QString();
    default:
        return QString();
    }
}

QVariant EstimateTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(shown_.size()))
        return QVariant();
    const EstList::Row& r = rows_[shown_[std::size_t(index.row())]];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(r, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == Total || index.column() == DaysLeft)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case IdRole:
        return r.id;
    default:
        return QVariant();
    }
}

QVariant EstimateTable::headerData(int section, Qt::Orientation o, int role) const {
    static const char* const captions[ColumnCount] = {"Name",   "Owner", "Address",   "Type",
                                                      "Status", "Date",  "Days Left", "Total"};
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(captions[section]);
    return QAbstractTableModel::headerData(section, o, role);
}

void EstimateTable::sort(int column, Qt::SortOrder order) {
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = column;
    sortOrder_ = order;
    this->order();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EstimateTable::order() {
    if (sortColumn_ < 0 || sortColumn_ >= ColumnCount)
        return;
    const int c = sortColumn_;
    // -1, 0 or 1 for a before b in ascending order; -2 or 2 when only one of them has a value,
    // which comes first in either order.
    auto compare = [&](int a, int b) -> int {
        const EstList::Row& ra = rows_[a];
        const EstList::Row& rb = rows_[b];
        auto three = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
        auto optional = [&](const auto& x, const auto& y) {
            if (!x || !y)
                return x ? -2 : (y ? 2 : 0);
            return three(*x, *y);
        };
        switch (c) {
        case Date:
            return optional(ra.date.isValid() ? std::optional<QDate>(ra.date) : std::nullopt,
                            rb.date.isValid() ? std::optional<QDate>(rb.date) : std::nullopt);
        case DaysLeft:
            return optional(ra.daysLeft(today_), rb.daysLeft(today_));
        case Total:
            return optional(ra.total, rb.total);
        default:
            return three(sortKeys_[std::size_t(a) * kTextColumns + std::size_t(c)],
                         sortKeys_[std::size_t(b) * kTextColumns + std::size_t(c)]);
        }
    };
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    std::stable_sort(shown_.begin(), shown_.end(), [&](int a, int b) {
        const int k = compare(a, b);
        if (k == 2 || k == -2)
            return k < 0;
        if (k != 0)
            return descending ? k > 0 : k < 0;
        return rows_[a].id < rows_[b].id;
    });
}
