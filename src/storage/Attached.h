#pragma once

#include <QSqlDatabase>
#include <QString>

// Another database file attached to an open connection under a schema name for as long as this
// object lives, so that one transaction can write both. The attached file keeps its journal on
// disk and syncs fully: only then does SQLite commit the files together atomically. Throws
// modData::SqlError when the file cannot be attached. Never attach inside a transaction.
class Attached {
public:
    Attached(QSqlDatabase db, const QString& path, const QString& schema);
    ~Attached();
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;

private:
    QSqlDatabase db_;
    QString schema_;
};
