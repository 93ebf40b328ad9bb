#include "storage/Migrations.h"

#include "common/AppContext.h"
#include "storage/modData.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <vector>

namespace Migrations {
namespace {

// One step takes a database from version n to n + 1; it runs inside the upgrade's transaction
// and throws modData::SqlError on failure.
using Step = std::function<void(QSqlDatabase)>;

// Version 1 is the first versioned layout: the tables are those that files of version 0 already
// have, so the step only records the version.
void firstVersion(QSqlDatabase) {}

// The master list keeps what its lists show and search without opening every estimate: the
// owner's name, the estimate total (ten-thousandths; NULL until it is known) and the order in
// which estimates were last opened or saved. Start-up fills owner and total of the estimates
// already stored from their own databases (EstFacts::fillMissing).
void masterListFacts(QSqlDatabase db) {
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN estowner TEXT COLLATE NOCASE "
                                     "CHECK(length(estowner) <= 126)"));
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN esttotal INTEGER"));
    modData::exec(db, QStringLiteral("ALTER TABLE master ADD COLUMN estused INTEGER"));
}

const std::vector<Step>& steps(Kind kind) {
    static const std::vector<Step> catalogue = {firstVersion};
    static const std::vector<Step> masterList = {firstVersion, masterListFacts};
    static const std::vector<Step> estimate = {firstVersion};
    static const std::vector<Step> working = {firstVersion};
    switch (kind) {
    case Kind::Catalogue:
        return catalogue;
    case Kind::MasterList:
        return masterList;
    case Kind::Estimate:
        return estimate;
    case Kind::Working:
        break;
    }
    return working;
}

QString kindName(Kind kind) {
    switch (kind) {
    case Kind::Catalogue:
        return QStringLiteral("cost catalogue");
    case Kind::MasterList:
        return QStringLiteral("list of estimates");
    case Kind::Estimate:
        return QStringLiteral("estimate");
    case Kind::Working:
        break;
    }
    return QStringLiteral("working database");
}

bool samePath(const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

} // namespace

int currentVersion(Kind kind) {
    return int(steps(kind).size());
}

std::optional<Kind> kindOf(const AppContext& ctx, const QString& path) {
    if (samePath(path, ctx.CostConn))
        return Kind::Catalogue;
    if (samePath(path, ctx.MastEstConn))
        return Kind::MasterList;
    if (samePath(path, ctx.TempDBConn) || samePath(path, ctx.UnitDBConn))
        return Kind::Working;
    const QString estimates = QDir::cleanPath(QFileInfo(ctx.estimatesDir()).absoluteFilePath());
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!ctx.AppPath.isEmpty() && file.startsWith(estimates + QLatin1Char('/')) &&
        file.endsWith(QLatin1String(".db")))
        return Kind::Estimate;
    return std::nullopt;
}

int versionOf(QSqlDatabase db) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

bool upgrade(QSqlDatabase db, Kind kind, const QString& path, QString* error) {
    const int current = currentVersion(kind);
    const int found = versionOf(db);
    if (found == current)
        return true;
    const QString file = QDir::toNativeSeparators(path);
    if (found < 0) {
        if (error)
            *error = QStringLiteral("The %1 %2 could not be read: %3")
                         .arg(kindName(kind), file, db.lastError().text());
        return false;
    }
    if (found > current) {
        if (error)
            *error = QStringLiteral("The %1 %2 was written by a newer version of Corvanel (data "
                                    "version %3; this version knows up to %4). It was not opened "
                                    "and was left unchanged. Please use the newer Corvanel.")
                         .arg(kindName(kind), file)
                         .arg(found)
                         .arg(current);
        return false;
    }
    try {
        modData::Transaction t(db);
        const std::vector<Step>& list = steps(kind);
        for (int v = found; v < current; ++v)
            list[std::size_t(v)](db);
        modData::exec(db, QStringLiteral("PRAGMA user_version = %1").arg(current));
        t.commit();
    } catch (const ProcedureError& e) {
        if (error)
            *error =
                QStringLiteral("The %1 %2 could not be brought up to date (%3). It was left as "
                               "it was.")
                    .arg(kindName(kind), file, e.description);
        return false;
    }
    return true;
}

QString stampStatement(Kind kind) {
    return QStringLiteral("PRAGMA user_version = %1").arg(currentVersion(kind));
}

void stamp(QSqlDatabase db, Kind kind) {
    modData::exec(db, stampStatement(kind));
}

} // namespace Migrations
