#include "storage/AppSetup.h"

#include "common/AppContext.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

namespace AppSetup {

QString defaultDataRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Corvanel");
}

QString defaultConfigRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void initContext(AppContext& ctx, const QString& appPath, const QString& configPath) {
    ctx.AppPath = QDir::cleanPath(appPath);
    ctx.ConfigPath = QDir::cleanPath(configPath);
    ctx.CostConn = ctx.dataDir() + QStringLiteral("/cost.db");
    ctx.MastEstConn = ctx.dataDir() + QStringLiteral("/MastEst.db");
    ctx.UnitDBConn = ctx.dataDir() + QStringLiteral("/unitdb.db");
    ctx.TempDBConn = ctx.dataDir() + QStringLiteral("/tempdb.db");
    ctx.EstConn.clear();
    if (!ctx.connections)
        ctx.connections = std::make_shared<Connections>();
    ctx.connections->markScratch(ctx.UnitDBConn);
    ctx.connections->markScratch(ctx.TempDBConn);
    // Every database of the installation is brought up to this program's layout when it is
    // opened, and one written by a newer program is refused untouched.
    AppContext paths;
    paths.AppPath = ctx.AppPath;
    paths.CostConn = ctx.CostConn;
    paths.MastEstConn = ctx.MastEstConn;
    paths.UnitDBConn = ctx.UnitDBConn;
    paths.TempDBConn = ctx.TempDBConn;
    ctx.connections->setOpenCheck([paths](QSqlDatabase db, const QString& path, QString* error) {
        const std::optional<Migrations::Kind> kind = Migrations::kindOf(paths, path);
        return !kind || Migrations::upgrade(db, *kind, path, error);
    });
    ctx.settings = std::make_shared<SettingsStore>(ctx.ConfigPath);
}

bool isFirstStart(const AppContext& ctx) {
    return !ctx.settings->exists(QString::fromLatin1(SettingsStore::App));
}

QStringList splitStatements(const QString& script) {
    QStringList out;
    QString current;
    bool inQuote = false;
    bool inComment = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (inComment) {
            if (c == QLatin1Char('\n'))
                inComment = false;
            continue;
        }
        if (!inQuote && c == QLatin1Char('-') && i + 1 < script.size() &&
            script[i + 1] == QLatin1Char('-')) {
            inComment = true;
            continue;
        }
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        if (c == QLatin1Char(';') && !inQuote) {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

bool buildDatabase(const QString& path, const QString& script, QString* error) {
    const QString tmp = path + QStringLiteral(".new");
    QFile::remove(tmp);
    const QString name = QStringLiteral("seed:") + QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(tmp);
        if (!db.open()) {
            ok = false;
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            db.transaction();
            for (const QString& st : splitStatements(script)) {
                if (!q.exec(st)) {
                    ok = false;
                    if (error)
                        *error = q.lastError().text() + QStringLiteral(" in: ") + st.left(120);
                    break;
                }
            }
            if (ok && !db.commit()) {
                ok = false;
                if (error)
                    *error = db.lastError().text();
            }
            if (!ok)
                db.rollback();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (ok && !QFile::rename(tmp, path)) {
        ok = false;
        if (error)
            *error = QStringLiteral("The file '%1' could not be written.").arg(path);
    }
    if (!ok)
        QFile::remove(tmp);
    return ok;
}

static QString resourceText(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool ensureDataFolder(AppContext& ctx, QString* error) {
    for (const QString& dir : {ctx.dataDir(), ctx.estimatesDir(), ctx.templatesDir()}) {
        if (!QDir().mkpath(dir)) {
            if (error)
                *error = QStringLiteral("The folder '%1' could not be created.").arg(dir);
            return false;
        }
    }
    const struct {
        QString path;
        QString seed;
        Migrations::Kind kind;
    } shipped[] = {
        {ctx.CostConn, QStringLiteral(":/sql/cost.sql"), Migrations::Kind::Catalogue},
        {ctx.MastEstConn, QStringLiteral(":/sql/mastest.sql"), Migrations::Kind::MasterList}};
    for (const auto& s : shipped) {
        if (QFileInfo::exists(s.path))
            continue;
        QString script = resourceText(s.seed);
        // The catalogue's take-off rules are also what its upgrade adds to an older catalogue.
        if (s.kind == Migrations::Kind::Catalogue && !script.isEmpty())
            script +=
                QStringLiteral(";\n") + resourceText(QStringLiteral(":/sql/takeoffrules.sql"));
        if (script.isEmpty()) {
            if (error)
                *error = QStringLiteral("The program's resource %1 is missing.").arg(s.seed);
            return false;
        }
        // The seed holds the current layout of its kind.
        if (!buildDatabase(s.path,
                           script + QStringLiteral(";\n") + Migrations::stampStatement(s.kind) +
                               QStringLiteral(";\n"),
                           error))
            return false;
    }
    return true;
}

} // namespace AppSetup
