#pragma once

#include "catalogue/CatalogueList.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

// The items of one catalogue tab, chosen by CatalogueList::select, in the columns the grids
// always had: material rows with manufacturer and SKU (eight columns), the others six. Every
// text shows whole in its tooltip; GridBinding::cell reads the stored values.
class CatalogueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CatalogueModel(bool material, QObject* parent = nullptr);

    void show(std::shared_ptr<const CatalogueList::Catalogue> catalogue, std::vector<int> rows);
    // The row showing item position `position` of the catalogue; -1 when it is not shown.
    int rowOf(int position) const;
    const CatalogueList::Item* item(int row) const;
    int nameColumn() const { return 2; }
    int descriptionColumn() const { return material_ ? 6 : 4; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    QString text(const CatalogueList::Item& it, int column) const;

    bool material_;
    std::shared_ptr<const CatalogueList::Catalogue> catalogue_;
    std::vector<int> rows_;
};
