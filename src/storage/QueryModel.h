#pragma once

#include <QList>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <functional>

struct AppContext;

// One column of a query shown in a grid: its caption, and whether it holds money
// (ten-thousandths, shown right-aligned in the user's currency format) or a quantity
// (ten-thousandths, shown right-aligned in its shortest form: 8, 8.5, 8.36).
// A column may instead be shown as words made from its whole row (`text`: a shape's name, a
// measurement with its unit), right-aligned when `right` says so; its stored value stays what
// value() gives.
struct QueryColumn {
    QString caption;
    bool currency = false;
    bool quantity = false;
    std::function<QString(const QSqlRecord&)> text = {};
    bool right = false;
};

// A read-only model of one query on one database, for the program's grids. The subsystem that
// owns the table fills it (the statement stays in that subsystem); the window only shows it.
// It lets go of its rows when its database's connection is about to close, so a working
// database can be recreated while a grid shows it.
class QueryModel : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit QueryModel(AppContext& ctx, QObject* parent = nullptr);

    // Runs the query and shows its rows under `columns`. On failure the model is empty and
    // modData::SqlError is thrown.
    void show(const QString& conn, const QString& sql, const QVariantList& params,
              const QList<QueryColumn>& columns);
    // Empties the model and releases its query.
    void detach();
    // Fetches every row not yet fetched.
    void fetchAll();
    // The stored value of a cell (money and quantities as ten-thousandths), or an invalid
    // QVariant outside.
    QVariant value(int row, int column) const;
    const QList<QueryColumn>& columns() const { return columns_; }
    const QString& conn() const { return conn_; }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    AppContext& ctx_;
    QString conn_;
    QList<QueryColumn> columns_;
};
