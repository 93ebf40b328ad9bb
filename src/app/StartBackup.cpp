#include "app/StartBackup.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Prompt.h"
#include "estimates/MasterRepair.h"
#include "storage/Backup.h"
#include "storage/Connections.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace StartBackup {

namespace {

void append(QString* warning, const QString& text) {
    if (!warning->isEmpty())
        *warning += QLatin1Char('\n');
    *warning += text;
}

QString when(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

void undoInterruptedRestore(AppContext& ctx, QString* warning) {
    if (Backup::undoInterruptedRestore(ctx) > 0)
        append(warning, QStringLiteral("Corvanel was closed while a backup was being restored. "
                                       "The data in use before it was put back; restore the "
                                       "backup again to use it."));
}

void offerRestoreDamaged(AppContext& ctx, QString* warning) {
    const struct {
        QString path;
        QString label;
        QString without; // what does not work while it is damaged
    } shared[] = {
        {ctx.CostConn, QStringLiteral("catalogue of cost items"),
         QStringLiteral("Until it is restored, cost items, unit items and labor rates may not "
                        "be readable.")},
        {ctx.MastEstConn, QStringLiteral("list of estimates"),
         QStringLiteral("Without it the estimates cannot be listed or opened until the list is "
                        "rebuilt.")},
    };
    const QDir root(ctx.AppPath);
    for (const auto& db : shared) {
        QString problem;
        if (!QFileInfo::exists(db.path) || Backup::databaseSound(db.path, &problem))
            continue;
        const QString rel = root.relativeFilePath(db.path);
        const std::optional<Backup::Info> good = Backup::newestHolding(ctx, rel);
        // Without a sound copy the start goes on as before: the master list is then offered to
        // be rebuilt from the estimates, a catalogue that cannot be read stops the start.
        if (!good)
            continue;
        const Prompt::Answer a = ctx.prompt->ask(
            QStringLiteral("The %1 %2 is damaged (%3).\nRestore it from the backup of %4? The "
                           "damaged file is kept beside it; changes made since that backup are "
                           "not in the copy.")
                .arg(db.label, QDir::toNativeSeparators(db.path), problem, when(good->created)),
            Prompt::appTitle(), Prompt::Buttons::YesNo, Prompt::Icon::Warning, Prompt::Answer::Yes);
        if (a != Prompt::Answer::Yes) {
            append(warning,
                   QStringLiteral("The %1 was not restored. %2").arg(db.label, db.without));
            continue;
        }
        QString error, kept;
        if (Backup::restoreFile(ctx, good->path, rel, &error, &kept)) {
            append(warning,
                   QStringLiteral("The %1 was restored from the backup of %2. The "
                                  "damaged file is kept as %3.")
                       .arg(db.label, when(good->created), QDir::toNativeSeparators(kept)));
            // Estimates made since that backup are in the estimates folder, not in its list.
            if (db.path == ctx.MastEstConn) {
                try {
                    if (const int n = MasterRepair::listMissing(ctx))
                        append(warning, QStringLiteral("%1 estimate(s) made since then were "
                                                       "listed again as \"Working\".")
                                            .arg(n));
                } catch (const ProcedureError& e) {
                    append(warning, QStringLiteral("Estimates made since then could not be "
                                                   "listed: %1")
                                        .arg(e.description));
                }
            }
        } else
            append(warning, QStringLiteral("The %1 could not be restored: %2 %3")
                                .arg(db.label, error, db.without));
    }
    // The working copies hold no more than the unsaved changes of one estimate and are made
    // anew for the next one; a damaged one is kept aside instead of being read.
    for (const QString& path : {ctx.TempDBConn, ctx.UnitDBConn}) {
        QString problem;
        if (!QFileInfo::exists(path) || Backup::databaseSound(path, &problem))
            continue;
        ctx.connections->close(path);
        const QString aside =
            path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (QFile::rename(path, aside))
            append(warning, QStringLiteral("The working copy %1 was damaged (%2); unsaved changes "
                                           "in it cannot be recovered. It is kept as %3.")
                                .arg(QDir::toNativeSeparators(path), problem,
                                     QDir::toNativeSeparators(aside)));
    }
}

void makeDaily(AppContext& ctx, const QDate& today, QString* warning) {
    const Backup::Daily d = Backup::makeDaily(ctx, today);
    if (!d.error.isEmpty())
        append(warning, QStringLiteral("Today's backup could not be made: %1").arg(d.error));
}

} // namespace StartBackup
