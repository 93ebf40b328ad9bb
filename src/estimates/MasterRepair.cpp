#include "estimates/MasterRepair.h"

#include "common/AppContext.h"
#include "estimates/modEst.h"
#include "storage/AppSetup.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/modData.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>

namespace MasterRepair {
namespace {

QString resourceText(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// The address in an estimate's own database; empty when it cannot be read.
QString storedAddress(AppContext& ctx, const QString& name) {
    const QString path = ctx.estimateDbPath(modEst::estPath(name));
    QString address;
    {
        // The handle and its query go before the connection is closed.
        QSqlDatabase db = ctx.connections->readOnly(path);
        if (!db.isOpen())
            return QString();
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("select Address from Main where ID=1")) && q.next())
            address = q.value(0).toString();
    }
    ctx.connections->close(path);
    return address;
}

// Lists the estimates `names` as Working from today, in one transaction; how many were listed.
int listAsWorking(AppContext& ctx, const QStringList& names) {
    QList<QVariantList> rows;
    for (const QString& name : names)
        rows.append({name, storedAddress(ctx, name), modEst::estPath(name),
                     QStringLiteral("Working"), QDate::currentDate().toString(Qt::ISODate), 30});
    QSqlDatabase db = modData::db(ctx, ctx.MastEstConn);
    modData::Transaction t(db);
    for (const QVariantList& r : rows)
        modData::exec(db,
                      QStringLiteral("insert into master(estname,estaddress,estpath,eststatus,"
                                     "estdate,estlength) values(?,?,?,?,?,?)"),
                      r);
    t.commit();
    return int(rows.size());
}

} // namespace

bool readable(const QString& path) {
    const QString name = QStringLiteral("check:") + path;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("PRAGMA quick_check")) && q.next() &&
                 q.value(0).toString() == QLatin1String("ok");
            // An emptied file reads as a database without tables.
            ok = ok &&
                 q.exec(QStringLiteral("select count(*) from sqlite_master where type='table' "
                                       "and name='master'")) &&
                 q.next() && q.value(0).toInt() == 1;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QStringList estimatesOnDisk(const AppContext& ctx) {
    QStringList names;
    const QDir dir(ctx.estimatesDir());
    for (const QString& f : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFileInfo(dir.filePath(modEst::estPath(f))).isFile())
            names << f;
    return names;
}

int rebuild(AppContext& ctx) {
    ctx.connections->close(ctx.MastEstConn);
    if (QFileInfo::exists(ctx.MastEstConn)) {
        const QString aside =
            ctx.MastEstConn + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(ctx.MastEstConn, aside))
            throw modData::SqlError::message(
                QStringLiteral("The file '%1' could not be moved aside.").arg(ctx.MastEstConn));
        for (const char* side : {"-journal", "-wal", "-shm"})
            QFile::remove(ctx.MastEstConn + QLatin1String(side));
    }
    QString error;
    const QString seed = resourceText(QStringLiteral(":/sql/mastest.sql"));
    if (seed.isEmpty() ||
        !AppSetup::buildDatabase(ctx.MastEstConn,
                                 seed + QStringLiteral(";\n") +
                                     Migrations::stampStatement(Migrations::Kind::MasterList) +
                                     QStringLiteral(";\n"),
                                 &error))
        throw modData::SqlError::message(error.isEmpty() ? QStringLiteral("No seed") : error);
    return listAsWorking(ctx, estimatesOnDisk(ctx));
}

int listMissing(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.MastEstConn);
    QSet<QString> listed;
    {
        QSqlQuery q = modData::exec(db, QStringLiteral("select estname from master"));
        while (q.next())
            listed.insert(q.value(0).toString().toLower());
    }
    QStringList missing;
    for (const QString& name : estimatesOnDisk(ctx))
        if (!listed.contains(name.toLower()))
            missing.append(name);
    return listAsWorking(ctx, missing);
}

Removed removeOrphans(AppContext& ctx) {
    Removed r;
    QSqlDatabase db = modData::db(ctx, ctx.MastEstConn);
    r.rows = modData::exec(db, QStringLiteral("delete from master where estname is null or "
                                              "estname = ''"))
                 .numRowsAffected();
    QSet<QString> listed;
    {
        QSqlQuery q = modData::exec(db, QStringLiteral("select estname from master"));
        while (q.next())
            listed.insert(q.value(0).toString().toLower());
    }
    for (const QString& name : estimatesOnDisk(ctx)) {
        if (listed.contains(name.toLower()))
            continue;
        const QString path = ctx.estimateDbPath(modEst::estPath(name));
        bool empty = false;
        {
            QSqlDatabase est = ctx.connections->readOnly(path);
            QSqlQuery q(est);
            empty = est.isOpen() &&
                    q.exec(QStringLiteral("select (select count(*) from Areas) + (select count(*) "
                                          "from Lineal) + (select count(*) from LineItems)")) &&
                    q.next() && q.value(0).toInt() == 0;
        }
        ctx.connections->close(path);
        // Only a folder with nothing but its database (and a journal) is the leftover of a start.
        const QStringList files = QDir(ctx.estimatesDir() + QLatin1Char('/') + name)
                                      .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        bool onlyDatabase = true;
        for (const QString& f : files)
            if (f != name + QStringLiteral(".db") && f != name + QStringLiteral(".db-journal"))
                onlyDatabase = false;
        if (empty && onlyDatabase && modEst::removeEstimateFolder(ctx, name))
            ++r.folders;
    }
    return r;
}

} // namespace MasterRepair
