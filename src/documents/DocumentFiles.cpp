#include "documents/DocumentFiles.h"

#include "common/AppContext.h"
#include "documents/Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace DocumentFiles {
namespace {

// The kinds the user edited after the program made them, one a line.
const QString EditedList = QStringLiteral("edited.txt");

QStringList editedKinds(const QString& dir) {
    QFile f(dir + QLatin1Char('/') + EditedList);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool writeAll(const QString& path, const QByteArray& data) {
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
}

} // namespace

QString kindOf(int box) {
    static const char* const kinds[] = {"detail", "proposal", "contract", "roof"};
    return box >= 0 && box < Count ? QString::fromLatin1(kinds[box]) : QString();
}

QString titleOf(int box) {
    static const char* const titles[] = {"Detail", "Proposal", "Contract", "Roof Details"};
    return box >= 0 && box < Count ? QString::fromLatin1(titles[box]) : QString();
}

QString estimateFolder(const AppContext& ctx) {
    if (ctx.EstName.isEmpty() || ctx.EstID <= 0)
        return QString();
    return ctx.estimatesDir() + QLatin1Char('/') + ctx.EstName;
}

QString folder(const AppContext& ctx) {
    const QString estimate = estimateFolder(ctx);
    return estimate.isEmpty() ? QString() : estimate + QStringLiteral("/documents");
}

QString pdfPath(const AppContext& ctx, const QString& title) {
    const QString name = title.trimmed().isEmpty() ? QStringLiteral("Document") : title.trimmed();
    const QString estimate = estimateFolder(ctx);
    if (estimate.isEmpty() || !QFileInfo(estimate).isDir())
        return ctx.estimatesDir() + QLatin1Char('/') + name + QStringLiteral(".pdf");
    return estimate + QLatin1Char('/') + ctx.EstName + QStringLiteral(" \u2013 ") + name +
           QStringLiteral(".pdf");
}

bool load(const AppContext& ctx, int box, QTextDocument& doc, bool* edited) {
    const QString dir = folder(ctx);
    const QString kind = kindOf(box);
    if (dir.isEmpty() || kind.isEmpty())
        return false;
    QFile f(dir + QLatin1Char('/') + kind + QStringLiteral(".rtf"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    if (!Rtf::looksLikeRtf(data) || !Rtf::read(data, doc))
        return false;
    if (edited)
        *edited = editedKinds(dir).contains(kind);
    return true;
}

bool save(const AppContext& ctx, int box, const QTextDocument& doc, bool edited, QString* error) {
    const QString dir = folder(ctx);
    const QString kind = kindOf(box);
    if (dir.isEmpty() || kind.isEmpty())
        return false;
    const QString path = dir + QLatin1Char('/') + kind + QStringLiteral(".rtf");
    QStringList list = editedKinds(dir);
    list.removeAll(kind);
    if (edited)
        list.append(kind);
    list.sort();
    const QByteArray listData = list.join(QLatin1Char('\n')).toUtf8() + '\n';
    if (!QDir().mkpath(dir) || !writeAll(path, Rtf::write(doc)) ||
        !writeAll(dir + QLatin1Char('/') + EditedList, listData)) {
        if (error)
            *error = QDir::toNativeSeparators(path);
        return false;
    }
    return true;
}

} // namespace DocumentFiles
