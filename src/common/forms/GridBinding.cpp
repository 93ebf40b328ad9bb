#include "common/forms/GridBinding.h"

#include "common/forms/InputHelpers.h"
#include "storage/QueryModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace GridBinding {

void setupView(QTableView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
}

static QueryModel* modelOf(QTableView* view) {
    return qobject_cast<QueryModel*>(view->model());
}

QueryModel& model(QTableView* view, AppContext& ctx) {
    QueryModel* m = modelOf(view);
    if (!m) {
        m = new QueryModel(ctx, view);
        view->setModel(m);
    }
    return *m;
}

void setWidths(QTableView* view, const QList<int>& twips) {
    const QFontMetrics fm(view->horizontalHeader()->font());
    QAbstractItemModel* m = view->model();
    for (int i = 0; i < twips.size(); ++i) {
        const QString caption = m ? m->headerData(i, Qt::Horizontal).toString() : QString();
        view->setColumnWidth(
            i, std::max(InputHelpers::twips(twips[i]), fm.horizontalAdvance(caption) + 14));
    }
}

void detach(QTableView* view) {
    if (QueryModel* m = modelOf(view))
        m->detach();
}

int rowCount(QTableView* view) {
    if (QueryModel* m = modelOf(view)) {
        m->fetchAll();
        return m->rowCount();
    }
    return view->model() ? view->model()->rowCount() : 0;
}

int currentRow(QTableView* view) {
    if (!view->selectionModel())
        return -1;
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    // Only a row the user selected counts; the cursor cell alone is not a choice.
    return rows.isEmpty() ? -1 : rows.first().row();
}

QVariant cell(QTableView* view, int row, int column) {
    if (!view->model() || row < 0 || row >= view->model()->rowCount())
        return QVariant();
    if (QueryModel* m = modelOf(view))
        return m->value(row, column);
    const QModelIndex index = view->model()->index(row, column);
    const QVariant stored = index.data(StoredRole);
    return stored.isValid() ? stored : index.data();
}

} // namespace GridBinding
