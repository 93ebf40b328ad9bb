#include "storage/PendingDeletes.h"

#include "storage/modData.h"

#include <QSqlQuery>

namespace PendingDeletes {

namespace {

// Table names come from the program, never from the user; only these three are ever written.
bool known(const QString& table) {
    for (const char* t : {"Areas", "Lineal", "LineItems"})
        if (table == QLatin1String(t))
            return true;
    return false;
}

} // namespace

void mark(QSqlDatabase working, const QString& table, qint64 storedId) {
    if (storedId <= 0)
        return;
    if (!known(table))
        throw modData::SqlError::message(QStringLiteral("Unknown table %1").arg(table));
    modData::exec(working,
                  QStringLiteral("insert into PendingDeletes(TableName,StoredID) values(?,?)"),
                  {table, storedId});
}

void unmark(QSqlDatabase working, const QString& table, qint64 storedId) {
    if (storedId <= 0)
        return;
    modData::exec(working,
                  QStringLiteral("delete from PendingDeletes where TableName=? and StoredID=?"),
                  {table, storedId});
}

QList<Entry> all(QSqlDatabase working) {
    QSqlQuery q = modData::exec(
        working, QStringLiteral("select TableName,StoredID from PendingDeletes order by autoID"));
    QList<Entry> out;
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toLongLong()});
    return out;
}

void applyTo(QSqlDatabase working, const QString& estimateSchema) {
    for (const char* table : {"Areas", "Lineal", "LineItems"})
        modData::exec(working,
                      QStringLiteral("delete from %1.%2 where ID in (select StoredID from "
                                     "main.PendingDeletes where TableName = ?)")
                          .arg(estimateSchema, QLatin1String(table)),
                      {QLatin1String(table)});
}

void clear(QSqlDatabase working) {
    modData::exec(working, QStringLiteral("delete from PendingDeletes"));
}

} // namespace PendingDeletes
