#pragma once

#include <QList>
#include <QSqlQueryModel>
#include <QString>
#include <QVariantList>

struct AppContext;
class QTableView;

// How one grid column is shown: caption, width in twips, and whether it holds money
// (ten-thousandths, shown right-aligned in the user's currency format).
struct GridColumn {
    QString caption;
    int widthTwips = 1000;
    bool currency = false;
};

// A read-only grid model on one query of one database. It lets go of its rows when that
// database's connection is about to close, so a working database can be recreated while the
// grid is on screen.
class SqlGridModel : public QSqlQueryModel {
    Q_OBJECT
public:
    SqlGridModel(AppContext& ctx, QObject* parent = nullptr);

    // Runs the query; on failure the model is empty and the error is returned (thrown as
    // modData::SqlError by GridBinding::bind).
    bool load(const QString& conn, const QString& sql, const QVariantList& params,
              QString* error);
    void setColumns(const QList<GridColumn>& columns) { columns_ = columns; }
    const QList<GridColumn>& columns() const { return columns_; }
    void detach();
    void fetchAll();
    const QString& conn() const { return conn_; }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    AppContext& ctx_;
    QString conn_;
    QList<GridColumn> columns_;
};

namespace GridBinding {

// Shows the rows of `sql` on `conn` in the view with the given columns. Throws
// modData::SqlError when the query fails (the grid is then empty).
SqlGridModel* bind(QTableView* view, AppContext& ctx, const QString& conn, const QString& sql,
                   const QVariantList& params, const QList<GridColumn>& columns);
// Empties the grid and releases its query.
void detach(QTableView* view);
// All rows of the grid (fetching what is not yet fetched).
int rowCount(QTableView* view);
// The selected row, or -1 when no row is selected.
int currentRow(QTableView* view);
QVariant cell(QTableView* view, int row, int column);
// Sets up a view as the program's grids look: whole-row selection, no editing.
void setupView(QTableView* view);

} // namespace GridBinding
