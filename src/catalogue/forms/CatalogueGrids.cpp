#include "catalogue/forms/CatalogueGrids.h"

#include "catalogue/CostItems.h"
#include "catalogue/forms/CatalogueModel.h"
#include "catalogue/forms/CostGrids.h"
#include "common/TextSearch.h"
#include "common/forms/GridBinding.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>

CatalogueGrids::CatalogueGrids(AppContext& ctx, const std::array<QTableView*, Tabs>& grids)
    : ctx_(ctx), grids_(grids) {
    for (int t = 0; t < Tabs; ++t) {
        models_[t] = new CatalogueModel(t == 0, grids_[t]);
        grids_[t]->setModel(models_[t]);
        grids_[t]->setWordWrap(false);
        grids_[t]->setTextElideMode(Qt::ElideRight);
    }
}

QString CatalogueGrids::typeOf(int tab) {
    if (tab == UnitTab)
        return CatalogueList::kUnitItem;
    return CostItems::CostTypes().value(tab);
}

int CatalogueGrids::tabOf(const QString& type) {
    for (int t = 0; t < Tabs; ++t)
        if (typeOf(t).compare(type, Qt::CaseInsensitive) == 0)
            return t;
    return -1;
}

void CatalogueGrids::reload(const QString& search) {
    catalogue_ = CatalogueList::load(ctx_);
    sized_ = {};
    for (int t = 0; t < Tabs; ++t)
        show(t, QString(), search);
}

void CatalogueGrids::show(int tab, const QString& category, const QString& search) {
    if (tab < 0 || tab >= Tabs || !catalogue_)
        return;
    models_[tab]->show(catalogue_, CatalogueList::select(*catalogue_, typeOf(tab), category,
                                                         TextSearch::words(search)));
    if (!sized_[tab])
        size(tab);
}

void CatalogueGrids::size(int tab) {
    QTableView* grid = grids_[tab];
    CatalogueModel* m = models_[tab];
    GridBinding::setWidths(grid, CostGrids::Widths(tab == 0));
    // The name column is wide enough for the longest name (names hold at most 50 characters);
    // every other text that does not fit shows whole in its tooltip.
    const QString longest = catalogue_->longestName(typeOf(tab));
    const int wanted = grid->fontMetrics().horizontalAdvance(longest) * 11 / 10 + 16;
    grid->setColumnWidth(m->nameColumn(), std::max(wanted, grid->columnWidth(m->nameColumn())));
    CostGrids::StretchColumn(grid, m->descriptionColumn());
    sized_[tab] = true;
}

int CatalogueGrids::tabOfItem(std::int32_t id) const {
    if (!catalogue_)
        return -1;
    for (int t = 0; t < UnitTab; ++t)
        if (CatalogueList::find(*catalogue_, typeOf(t), id) >= 0)
            return t;
    return -1;
}

bool CatalogueGrids::select(int tab, std::int32_t id) {
    if (tab < 0 || tab >= Tabs || !catalogue_)
        return false;
    const int row = models_[tab]->rowOf(CatalogueList::find(*catalogue_, typeOf(tab), id));
    if (row < 0)
        return false;
    QTableView* grid = grids_[tab];
    grid->selectRow(row);
    grid->scrollTo(models_[tab]->index(row, 0), QAbstractItemView::PositionAtCenter);
    return true;
}

int CatalogueGrids::rowCount(int tab) const {
    return tab >= 0 && tab < Tabs ? models_[tab]->rowCount() : 0;
}

void CatalogueGrids::reveal(int tab, std::int32_t id, QTabWidget* tabs, QComboBox* category,
                            QLineEdit* search, const std::function<void()>& filter) {
    const int t = tab == UnitTab ? UnitTab : tabOfItem(id);
    if (t < 0)
        return;
    tabs->setCurrentIndex(t);
    if (select(t, id))
        return;
    {
        const QSignalBlocker block(search);
        search->clear();
    }
    category->setCurrentIndex(0);
    filter();
    select(t, id);
}
