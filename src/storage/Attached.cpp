#include "storage/Attached.h"

#include "storage/modData.h"

#include <QFileInfo>

Attached::Attached(QSqlDatabase db, const QString& path, const QString& schema)
    : db_(std::move(db)), schema_(schema) {
    // ATTACH would create a missing file: a missing estimate must fail instead.
    if (!QFileInfo(path).isFile())
        throw modData::SqlError::message(QStringLiteral("Could not find file '%1'.").arg(path));
    modData::exec(db_, QStringLiteral("ATTACH DATABASE ? AS %1").arg(schema_), {path});
    try {
        modData::exec(db_, QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(schema_));
        modData::exec(db_, QStringLiteral("PRAGMA %1.synchronous=FULL").arg(schema_));
    } catch (...) {
        modData::exec(db_, QStringLiteral("DETACH DATABASE %1").arg(schema_));
        throw;
    }
}

Attached::~Attached() {
    QSqlQuery q(db_);
    q.exec(QStringLiteral("DETACH DATABASE %1").arg(schema_));
}
