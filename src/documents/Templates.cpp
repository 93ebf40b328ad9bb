#include "documents/Templates.h"

#include "common/AppContext.h"
#include "documents/Rtf.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace Templates {

QString fileName(const QString& kind) {
    static const QHash<QString, QString> files = {
        {QStringLiteral("proposal"), QStringLiteral("proposal.rtf")},
        {QStringLiteral("contract"), QStringLiteral("contract.rtf")},
        {QStringLiteral("lead"), QStringLiteral("lead.rtf")},
        {QStringLiteral("roof"), QStringLiteral("takeoff.rtf")},
        {QStringLiteral("detail"), QStringLiteral("estimatedetail.rtf")},
        {QStringLiteral("main"), QStringLiteral("estimatemain.rtf")}};
    return files.value(kind);
}

QString path(const AppContext& ctx, const QString& kind) {
    const QString name = fileName(kind);
    return name.isEmpty() ? QString() : ctx.templatesDir() + QLatin1Char('/') + name;
}

bool load(const QString& path, QTextDocument& doc, QString* problem) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("The template %1 is missing or cannot be read.").arg(shown);
        return false;
    }
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError || !Rtf::looksLikeRtf(data) || !Rtf::read(data, doc)) {
        if (problem)
            *problem = QStringLiteral("The template %1 is not a rich-text file.").arg(shown);
        return false;
    }
    return true;
}

bool install(const AppContext& ctx, QString* error) {
    const QString dir = ctx.templatesDir();
    if (!QDir().mkpath(dir)) {
        if (error)
            *error =
                QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(dir));
        return false;
    }
    QDirIterator it(QStringLiteral(":/templates"));
    while (it.hasNext()) {
        const QString res = it.next();
        const QString target = dir + QLatin1Char('/') + QFileInfo(res).fileName();
        if (QFileInfo::exists(target))
            continue;
        QFile in(res);
        QSaveFile out(target);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) ||
            out.write(in.readAll()) < 0 || !out.commit()) {
            if (error)
                *error = QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(target));
            return false;
        }
    }
    return true;
}

} // namespace Templates
