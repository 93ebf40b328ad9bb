#include "settings/forms/BackupActions.h"

#include "common/AppContext.h"
#include "common/Prompt.h"
#include "storage/Backup.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace BackupActions {

void backUpNow(AppContext& ctx, const std::function<QString(const QString& proposed)>& saveAs) {
    QDir().mkpath(Backup::folder(ctx));
    const QString proposed =
        Backup::folder(ctx) + QLatin1Char('/') + Backup::proposedName(QDate::currentDate());
    QString path = saveAs ? saveAs(proposed) : QString();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        path += QStringLiteral(".zip");
    QString error;
    if (!Backup::create(ctx, path, Backup::Kind::Manual, &error)) {
        ctx.prompt->message(QStringLiteral("The backup could not be made. %1").arg(error),
                            QString(), Prompt::Icon::Warning);
        return;
    }
    ctx.prompt->message(
        QStringLiteral("The backup was saved as %1 (%2). Copy it to a USB stick or another "
                       "machine to keep it safe from this one.")
            .arg(QDir::toNativeSeparators(path),
                 QLocale().formattedDataSize(QFileInfo(path).size(), 1,
                                             QLocale::DataSizeTraditionalFormat)),
        QString(), Prompt::Icon::Information);
}

bool restore(AppContext& ctx, const std::function<QString()>& choose) {
    // The restore replaces the estimates and the working copies; one in work would be written
    // back over the restored data by its next save.
    if (ctx.WorkMode != Mode::Idle) {
        ctx.prompt->message(
            QStringLiteral("Close the estimate in work first (Estimate → Close open estimate): "
                           "a restore replaces every estimate."),
            QString(), Prompt::Icon::Warning);
        return false;
    }
    const QString path = choose ? choose() : QString();
    if (path.isEmpty())
        return false;
    QString error;
    if (!Backup::verify(path, &error)) {
        ctx.prompt->message(error + QStringLiteral("\nNothing was changed."), QString(),
                            Prompt::Icon::Warning);
        return false;
    }
    const Backup::Info info = Backup::describe(path);
    const QString when = QLocale().toString(info.created, QLocale::ShortFormat);
    if (ctx.prompt->ask(QStringLiteral("Replace every estimate, the catalogue, the templates and "
                                       "the settings with the backup of %1?\nThe data in use now "
                                       "is kept as one more backup first.")
                            .arg(when),
                        Prompt::appTitle(), Prompt::Buttons::YesNo, Prompt::Icon::Question,
                        Prompt::Answer::No) != Prompt::Answer::Yes)
        return false;
    QString kept;
    if (!Backup::restore(ctx, path, &error, &kept)) {
        ctx.prompt->message(QStringLiteral("The backup could not be restored. %1").arg(error),
                            QString(), Prompt::Icon::Warning);
        return false;
    }
    ctx.prompt->message(QStringLiteral("The backup of %1 was restored. The data it replaced is "
                                       "kept as %2.")
                            .arg(when, QDir::toNativeSeparators(kept)),
                        QString(), Prompt::Icon::Information);
    return true;
}

} // namespace BackupActions
