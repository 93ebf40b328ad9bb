#include "common/forms/GridBinding.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "common/forms/InputHelpers.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <algorithm>

SqlGridModel::SqlGridModel(AppContext& ctx, QObject* parent) : QSqlQueryModel(parent), ctx_(ctx) {
    connect(ctx.connections.get(), &Connections::aboutToClose, this, [this](const QString& p) {
        if (p == conn_)
            detach();
    });
}

bool SqlGridModel::load(const QString& conn, const QString& sql, const QVariantList& params,
                        QString* error) {
    detach();
    QSqlDatabase db = ctx_.connections->database(conn);
    if (!db.isOpen()) {
        if (error)
            *error = ctx_.connections->lastError();
        return false;
    }
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    conn_ = conn;
    setQuery(std::move(q));
    return true;
}

void SqlGridModel::detach() {
    // Clearing makes an empty query on the connection's driver; once that connection is gone,
    // clearing again would reach a driver that no longer exists.
    if (conn_.isEmpty())
        return;
    conn_.clear();
    clear();
}

void SqlGridModel::fetchAll() {
    while (canFetchMore())
        fetchMore();
}

QVariant SqlGridModel::data(const QModelIndex& index, int role) const {
    const bool money = index.column() < columns_.size() && columns_[index.column()].currency;
    if (role == Qt::TextAlignmentRole && money)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole && money) {
        const QVariant v = QSqlQueryModel::data(index, Qt::DisplayRole);
        if (v.isNull())
            return QVariant();
        return Money::fromRaw(v.toLongLong()).toCurrency();
    }
    return QSqlQueryModel::data(index, role);
}

QVariant SqlGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < columns_.size())
        return columns_[section].caption;
    return QSqlQueryModel::headerData(section, o, role);
}

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

static SqlGridModel* modelOf(QTableView* view) {
    return qobject_cast<SqlGridModel*>(view->model());
}

SqlGridModel* bind(QTableView* view, AppContext& ctx, const QString& conn, const QString& sql,
                   const QVariantList& params, const QList<GridColumn>& columns) {
    SqlGridModel* m = modelOf(view);
    if (!m) {
        m = new SqlGridModel(ctx, view);
        view->setModel(m);
    }
    m->setColumns(columns);
    QString error;
    if (!m->load(conn, sql, params, &error))
        throw modData::SqlError::message(error);
    // Never narrower than the caption, so every heading can be read.
    const QFontMetrics fm(view->horizontalHeader()->font());
    for (int i = 0; i < columns.size(); ++i)
        view->setColumnWidth(i, std::max(InputHelpers::twips(columns[i].widthTwips),
                                         fm.horizontalAdvance(columns[i].caption) + 14));
    return m;
}

void detach(QTableView* view) {
    if (SqlGridModel* m = modelOf(view))
        m->detach();
}

int rowCount(QTableView* view) {
    if (SqlGridModel* m = modelOf(view)) {
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
    if (SqlGridModel* m = modelOf(view))
        return m->QSqlQueryModel::data(m->index(row, column), Qt::DisplayRole);
    return view->model()->index(row, column).data();
}

} // namespace GridBinding
