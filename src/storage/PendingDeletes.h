#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// Stored rows that the user deleted from the estimate in work. They are kept in the working
// database (PendingDeletes) and leave the estimate's own database only when it is saved, in the
// same transaction as the rest of the save; closing without saving, or a crash, leaves the
// estimate as it was last saved. All functions throw modData::SqlError.
namespace PendingDeletes {

struct Entry {
    QString table; // Areas, Lineal or LineItems
    qint64 storedId = 0;
    bool operator==(const Entry&) const = default;
};

// Records that row `storedId` of `table` is to go (nothing for a row never stored, id 0).
void mark(QSqlDatabase working, const QString& table, qint64 storedId);
// Takes such a record back (an undone delete).
void unmark(QSqlDatabase working, const QString& table, qint64 storedId);
// Every recorded deletion, in the order made.
QList<Entry> all(QSqlDatabase working);
// Deletes the recorded rows from the estimate database attached to the working connection as
// `estimateSchema` (inside the save's transaction).
void applyTo(QSqlDatabase working, const QString& estimateSchema);
// Forgets every record once the save has been committed.
void clear(QSqlDatabase working);

} // namespace PendingDeletes
