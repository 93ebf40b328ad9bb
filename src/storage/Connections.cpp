#include "storage/Connections.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

Connections::Connections(QObject* parent)
    : QObject(parent), prefix_(QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char(':')) {}

Connections::~Connections() {
    closeAll();
}

QString Connections::name(const QString& path) const {
    return prefix_ + path;
}

bool Connections::isOpen(const QString& path) const {
    return open_.contains(path);
}

QSqlDatabase Connections::openConnection(const QString& path, bool readOnly, bool existing) {
    const QString n = name(path);
    if (open_.contains(path)) {
        QSqlDatabase db = QSqlDatabase::database(n, false);
        if (db.isOpen())
            return db;
        close(path);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), n);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open()) {
        lastError_ = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(n);
        return QSqlDatabase();
    }
    open_.insert(path);
    {
        QSqlQuery q(db);
        if (scratch_.contains(path)) {
            // The working copy is what a crash leaves to recover, and the save commits it
            // together with the estimate: its journal must be on disk for both.
            q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
            q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        } else if (!readOnly) {
            q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        }
    }
    QString refusal;
    if (existing && !readOnly && openCheck_ && !openCheck_(db, path, &refusal)) {
        db = QSqlDatabase();
        close(path);
        lastError_ = refusal;
        return QSqlDatabase();
    }
    return db;
}

QSqlDatabase Connections::database(const QString& path) {
    if (!open_.contains(path) && !QFileInfo(path).isFile()) {
        lastError_ = QStringLiteral("Could not find file '%1'.").arg(path);
        return QSqlDatabase();
    }
    return openConnection(path, false, true);
}

QSqlDatabase Connections::create(const QString& path) {
    close(path);
    return openConnection(path, false, false);
}

QSqlDatabase Connections::readOnly(const QString& path) {
    if (!open_.contains(path) && !QFileInfo(path).isFile()) {
        lastError_ = QStringLiteral("Could not find file '%1'.").arg(path);
        return QSqlDatabase();
    }
    return openConnection(path, true, true);
}

void Connections::close(const QString& path) {
    if (!open_.contains(path))
        return;
    Q_EMIT aboutToClose(path);
    open_.remove(path);
    const QString n = name(path);
    {
        QSqlDatabase db = QSqlDatabase::database(n, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(n);
}

void Connections::closeAll() {
    const QSet<QString> all = open_;
    for (const QString& p : all)
        close(p);
}
