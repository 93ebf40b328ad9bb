#include "catalogue/forms/CatalogueModel.h"

#include "common/forms/GridBinding.h"

#include <algorithm>

namespace {
enum class Field { Id, Cat, Name, Manufacturer, Sku, Unit, Desc, Cost };
constexpr Field kMaterial[] = {Field::Id,  Field::Cat,  Field::Name, Field::Manufacturer,
                               Field::Sku, Field::Unit, Field::Desc, Field::Cost};
constexpr Field kOther[] = {Field::Id,   Field::Cat,  Field::Name,
                            Field::Unit, Field::Desc, Field::Cost};
} // namespace

CatalogueModel::CatalogueModel(bool material, QObject* parent)
    : QAbstractTableModel(parent), material_(material) {}

void CatalogueModel::show(std::shared_ptr<const CatalogueList::Catalogue> catalogue,
                          std::vector<int> rows) {
    beginResetModel();
    catalogue_ = std::move(catalogue);
    rows_ = std::move(rows);
    endResetModel();
}

int CatalogueModel::rowOf(int position) const {
    // The rows are in list order, which is the order of positions.
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), position);
    return it != rows_.end() && *it == position ? int(it - rows_.begin()) : -1;
}

const CatalogueList::Item* CatalogueModel::item(int row) const {
    if (!catalogue_ || row < 0 || row >= int(rows_.size()))
        return nullptr;
    return &catalogue_->items[std::size_t(rows_[std::size_t(row)])];
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int CatalogueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (material_ ? 8 : 6);
}

QString CatalogueModel::text(const CatalogueList::Item& it, int column) const {
    switch (material_ ? kMaterial[column] : kOther[column]) {
    case Field::Id:
        return QString::number(it.id);
    case Field::Cat:
        return it.cat;
    case Field::Name:
        return it.name;
    case Field::Manufacturer:
        return it.manufacturer;
    case Field::Sku:
        return it.sku;
    case Field::Unit:
        return it.unit;
    case Field::Desc:
        return it.descrip;
    case Field::Cost:
        return it.amount.toCurrency();
    }
    return QString();
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    const CatalogueList::Item* it = item(index.row());
    if (!it || index.column() < 0 || index.column() >= columnCount())
        return QVariant();
    const Field f = material_ ? kMaterial[index.column()] : kOther[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(*it, index.column());
    case Qt::TextAlignmentRole:
        return f == Field::Cost ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case GridBinding::StoredRole:
        if (f == Field::Id)
            return qlonglong(it->id);
        if (f == Field::Cost)
            return qlonglong(it->amount.raw());
        return text(*it, index.column());
    default:
        return QVariant();
    }
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation o, int role) const {
    static const char* const material[] = {"ID",  "Category", "Name", "Manufacturer",
                                           "SKU", "Unit",     "Desc", "Cost"};
    static const char* const other[] = {"ID", "Cat", "Name", "Unit", "Desc", "Cost"};
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return QString::fromLatin1(material_ ? material[section] : other[section]);
    return QAbstractTableModel::headerData(section, o, role);
}
