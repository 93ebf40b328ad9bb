#include "storage/modTempDB.h"

#include "common/AppContext.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/Schema.h"
#include "storage/modData.h"

#include <QFile>
#include <QFileInfo>

namespace modTempDB {
namespace {

void createDatabase(AppContext& ctx, const QString& path, const QStringList& tables,
                    Migrations::Kind kind) {
    KillIfExists(ctx, path);
    QSqlDatabase db = ctx.connections->create(path);
    if (!db.isOpen())
        throw modData::SqlError::message(ctx.connections->lastError());
    try {
        modData::Transaction t(db);
        for (const QString& table : tables)
            Schema::createTable(db, table);
        Migrations::stamp(db, kind);
        t.commit();
    } catch (...) {
        // Leave no half-made database behind.
        KillIfExists(ctx, path);
        throw;
    }
}

} // namespace

void KillIfExists(AppContext& ctx, const QString& path) {
    ctx.connections->close(path);
    for (const QString& p : {path, path + QStringLiteral("-journal"), path + QStringLiteral("-wal"),
                             path + QStringLiteral("-shm")}) {
        if (QFileInfo(p).isFile() && !QFile::remove(p))
            throw modData::SqlError::message(
                QStringLiteral("The file '%1' could not be deleted.").arg(p));
    }
}

void CreateTempDB(AppContext& ctx) {
    ctx.connections->markScratch(ctx.TempDBConn);
    createDatabase(ctx, ctx.TempDBConn, Schema::tempTables(), Migrations::Kind::Working);
}

void CreateSectSort(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    Schema::createTable(db, QStringLiteral("SectSort"));
}

void DropTempTable(AppContext& ctx, const QString& name) {
    QSqlDatabase db = ctx.connections->database(ctx.TempDBConn);
    if (!db.isOpen())
        return;
    QSqlQuery q(db);
    // The name comes from the program itself; "if exists" keeps a second drop silent.
    q.exec(QStringLiteral("drop table if exists \"%1\"").arg(QString(name).remove('"')));
}

void ClearTempTables(AppContext& ctx) {
    for (const char* sql :
         {"delete from TempSect", "delete from Estigrid", "delete from TpLineItems",
          "delete from TempAreas", "delete from TempLineal", "delete from PendingDeletes",
          "delete from WorkState"})
        modData::ActionQuery(ctx, QString::fromLatin1(sql), ctx.TempDBConn);
}

void CreateUnitDB(AppContext& ctx) {
    ctx.connections->markScratch(ctx.UnitDBConn);
    createDatabase(ctx, ctx.UnitDBConn, {QStringLiteral("tempunit")}, Migrations::Kind::Working);
}

void CreateEstDB(AppContext& ctx, const QString& name) {
    const QString path = ctx.estimatesDir() + QLatin1Char('/') + name + QLatin1Char('/') + name +
                         QStringLiteral(".db");
    createDatabase(ctx, path, Schema::estimateTables(), Migrations::Kind::Estimate);
    // The estimate is reached through EstConn from now on; the creator's handle is not kept.
    ctx.connections->close(path);
}

} // namespace modTempDB
