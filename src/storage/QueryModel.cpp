#include "storage/QueryModel.h"

#include "common/AppContext.h"
#include "common/Money.h"
#include "common/Quantity.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QSqlError>
#include <QSqlQuery>

QueryModel::QueryModel(AppContext& ctx, QObject* parent) : QSqlQueryModel(parent), ctx_(ctx) {
    connect(ctx.connections.get(), &Connections::aboutToClose, this, [this](const QString& p) {
        if (p == conn_)
            detach();
    });
}

void QueryModel::show(const QString& conn, const QString& sql, const QVariantList& params,
                      const QList<QueryColumn>& columns) {
    detach();
    columns_ = columns;
    QSqlDatabase db = ctx_.connections->database(conn);
    if (!db.isOpen())
        throw modData::SqlError::message(ctx_.connections->lastError());
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw modData::SqlError::from(q.lastError());
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        throw modData::SqlError::from(q.lastError());
    conn_ = conn;
    setQuery(std::move(q));
}

void QueryModel::detach() {
    // Clearing makes an empty query on the connection's driver; once that connection is gone,
    // clearing again would reach a driver that no longer exists.
    if (conn_.isEmpty())
        return;
    conn_.clear();
    clear();
}

void QueryModel::fetchAll() {
    while (canFetchMore())
        fetchMore();
}

QVariant QueryModel::value(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return QVariant();
    return QSqlQueryModel::data(index(row, column), Qt::DisplayRole);
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    const bool known = index.column() < columns_.size();
    const bool money = known && columns_[index.column()].currency;
    const bool quantity = known && columns_[index.column()].quantity;
    if (known && columns_[index.column()].text) {
        if (role == Qt::DisplayRole)
            return columns_[index.column()].text(record(index.row()));
        if (role == Qt::TextAlignmentRole && columns_[index.column()].right)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::TextAlignmentRole && (money || quantity))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DisplayRole && (money || quantity)) {
        const QVariant v = QSqlQueryModel::data(index, Qt::DisplayRole);
        if (v.isNull())
            return QVariant();
        return money ? Money::fromRaw(v.toLongLong()).toCurrency()
                     : Quantity::fromRaw(v.toLongLong()).toText();
    }
    return QSqlQueryModel::data(index, role);
}

QVariant QueryModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section < columns_.size())
        return columns_[section].caption;
    return QSqlQueryModel::headerData(section, o, role);
}
