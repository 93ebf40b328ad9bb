#include "storage/modData.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "storage/Connections.h"

#include <QSqlError>

namespace modData {

SqlError SqlError::from(const QSqlError& e) {
    SqlError err;
    err.number = ErrorMessage::number(e);
    err.description = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    if (err.description.trimmed().isEmpty())
        err.description = QStringLiteral("Unknown database error");
    return err;
}

SqlError SqlError::message(const QString& text) {
    SqlError err;
    err.number = 0;
    err.description = text;
    return err;
}

QString ActionQueryMessage(const QSqlError& error) {
    return ErrorMessage::text(error, QStringLiteral("ActionQuery"),
                              QStringLiteral("Module modData")) +
           QStringLiteral("\nPlease make note of this and report this bug to help make this "
                          "software better.");
}

QSqlDatabase db(AppContext& ctx, const QString& conn) {
    QSqlDatabase d = ctx.connections->database(conn);
    if (!d.isOpen())
        throw SqlError::message(ctx.connections->lastError());
    return d;
}

QSqlQuery exec(QSqlDatabase d, const QString& sql, const QVariantList& params) {
    QSqlQuery q(d);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw SqlError::from(q.lastError());
    for (const QVariant& v : params)
        q.addBindValue(v);
    if (!q.exec())
        throw SqlError::from(q.lastError());
    return q;
}

QVariant scalar(QSqlDatabase d, const QString& sql, const QVariantList& params) {
    QSqlQuery q = exec(d, sql, params);
    if (!q.next())
        return QVariant();
    return q.value(0);
}

qint64 insertedId(const QSqlQuery& q) {
    const QVariant id = q.lastInsertId();
    if (!id.isValid() || id.toLongLong() <= 0)
        throw SqlError::message(QStringLiteral("The new row got no id"));
    return id.toLongLong();
}

namespace {
// Runs a statement for ActionQuery and ActionInsert: the query when it ran, the error otherwise.
bool runAction(AppContext& ctx, const QString& sql, const QVariantList& params, const QString& conn,
               QSqlQuery* out, QSqlError* error) {
    QSqlDatabase d = ctx.connections->database(conn);
    if (!d.isOpen()) {
        *error = QSqlError(ctx.connections->lastError(), QString(), QSqlError::ConnectionError);
        return false;
    }
    QSqlQuery q(d);
    if (q.prepare(sql)) {
        for (const QVariant& v : params)
            q.addBindValue(v);
        if (q.exec()) {
            *out = std::move(q);
            return true;
        }
    }
    *error = q.lastError();
    return false;
}
} // namespace

qint64 ActionInsert(AppContext& ctx, const QString& sql, const QVariantList& params,
                    const QString& conn) {
    QSqlQuery q;
    QSqlError error;
    if (runAction(ctx, sql, params, conn, &q, &error)) {
        const QVariant id = q.lastInsertId();
        if (id.isValid() && id.toLongLong() > 0)
            return id.toLongLong();
        error = QSqlError(QStringLiteral("The new row got no id"), QString(),
                          QSqlError::StatementError);
    }
    ctx.prompt->message(ActionQueryMessage(error));
    return 0;
}

bool ActionQuery(AppContext& ctx, const QString& sql, const QVariantList& params,
                 const QString& conn) {
    QSqlQuery q;
    QSqlError error;
    if (runAction(ctx, sql, params, conn, &q, &error))
        return true;
    ctx.prompt->message(ActionQueryMessage(error));
    return false;
}

bool RecordExists(AppContext& ctx, std::int32_t value, const QString& field, const QString& table,
                  const QString& conn) {
    // Names cannot be bound; they come from the program's own code, never from the user.
    const QVariant n = scalar(
        ctx, conn, QStringLiteral("select count(*) from %1 where %2=?").arg(table, field), {value});
    return n.toLongLong() != 0;
}

Transaction::Transaction(QSqlDatabase d) : db_(std::move(d)) {
    if (!db_.transaction())
        throw SqlError::from(db_.lastError());
}

Transaction::~Transaction() {
    if (!done_)
        db_.rollback();
}

void Transaction::commit() {
    done_ = true;
    if (!db_.commit()) {
        const QSqlError e = db_.lastError();
        db_.rollback();
        throw SqlError::from(e);
    }
}

} // namespace modData
