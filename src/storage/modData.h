#pragma once

#include "common/ErrorMessage.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <cstdint>

struct AppContext;
class QSqlError;

// Running SQL: every value goes in as a bound parameter ("?"), never into the statement text.
namespace modData {

// Runs one insert, update or delete on the database at `conn`. Any error is shown as
//   Error <n> (<description>) in procedure ActionQuery of Module modData
//   Please make note of this and report this bug to help make this software better.
// and swallowed; the result tells the caller whether the statement ran.
bool ActionQuery(AppContext& ctx, const QString& sql, const QVariantList& params,
                 const QString& conn);
inline bool ActionQuery(AppContext& ctx, const QString& sql, const QString& conn) {
    return ActionQuery(ctx, sql, {}, conn);
}
QString ActionQueryMessage(const QSqlError& error);
// Runs one insert as ActionQuery does (a failure is shown and swallowed) and returns the id the
// insert gave its row, read from the statement itself; 0 when it failed.
qint64 ActionInsert(AppContext& ctx, const QString& sql, const QVariantList& params,
                    const QString& conn);
// The id the insert just run by `q` gave its row; throws SqlError when it gave none.
qint64 insertedId(const QSqlQuery& q);

// True when a row of `table` has `field` equal to `value`. Errors are thrown (SqlError).
bool RecordExists(AppContext& ctx, std::int32_t value, const QString& field, const QString& table,
                  const QString& conn);

// A database failure raised to the nearest procedure that reports errors.
struct SqlError : ProcedureError {
    static SqlError from(const QSqlError& e);
    static SqlError message(const QString& text);
};

// The open connection for `conn`; throws SqlError when the file cannot be opened.
QSqlDatabase db(AppContext& ctx, const QString& conn);

// Prepares and runs a statement, throwing SqlError on failure. The query is positioned
// before the first row.
QSqlQuery exec(QSqlDatabase db, const QString& sql, const QVariantList& params = {});
inline QSqlQuery exec(AppContext& ctx, const QString& conn, const QString& sql,
                      const QVariantList& params = {}) {
    return exec(db(ctx, conn), sql, params);
}
// The first column of the first row, or an invalid QVariant when there is no row.
QVariant scalar(QSqlDatabase db, const QString& sql, const QVariantList& params = {});
inline QVariant scalar(AppContext& ctx, const QString& conn, const QString& sql,
                       const QVariantList& params = {}) {
    return scalar(db(ctx, conn), sql, params);
}

// A transaction that rolls back unless committed. Throws SqlError when it cannot begin.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit(); // throws SqlError when the commit fails (the changes are then rolled back)

private:
    QSqlDatabase db_;
    bool done_ = false;
};

} // namespace modData
