#include "documents/CompanyLogo.h"

#include "common/AppContext.h"
#include "settings/SettingsStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace CompanyLogo {
namespace {

const QString Section = QStringLiteral("CoInfo");
const QString Key = QStringLiteral("Logo");
constexpr int MaxHeight = 1080; // twips: 3/4 inch
constexpr int MaxWidth = 3600;  // 2 1/2 inches

// "png" or "jpg" for a picture the logo can be, else empty.
QString suffixOf(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "jpg")
        return QString();
    if (reader.size().isEmpty() || reader.read().isNull())
        return QString();
    return format == "png" ? QStringLiteral("png") : QStringLiteral("jpg");
}

QString shown(const QString& p) {
    return QDir::toNativeSeparators(p);
}

} // namespace

QString path(const AppContext& ctx) {
    const QString name = ctx.settings ? ctx.settings->get(Section, Key).trimmed() : QString();
    // Only a plain file name inside the data folder: a setting edited by hand cannot point the
    // documents at another file.
    if (name.isEmpty() || name != QFileInfo(name).fileName())
        return QString();
    const QString full = ctx.dataDir() + QLatin1Char('/') + name;
    return QFileInfo(full).isFile() ? full : QString();
}

bool acceptable(const QString& source, QString* problem) {
    QFile f(source);
    if (!f.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("The picture %1 cannot be read.").arg(shown(source));
        return false;
    }
    if (suffixOf(f.readAll()).isEmpty()) {
        if (problem)
            *problem = QStringLiteral("The file %1 is not a PNG or JPEG picture. Please choose "
                                      "a logo saved as PNG or JPEG.")
                           .arg(shown(source));
        return false;
    }
    return true;
}

bool install(AppContext& ctx, const QString& source, QString* problem) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("The picture %1 cannot be read.").arg(shown(source));
        return false;
    }
    const QByteArray bytes = in.readAll();
    const QString suffix = suffixOf(bytes);
    if (suffix.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("The file %1 is not a PNG or JPEG picture. Please choose "
                                      "a logo saved as PNG or JPEG.")
                           .arg(shown(source));
        return false;
    }
    const QString name = QStringLiteral("logo.") + suffix;
    const QString target = ctx.dataDir() + QLatin1Char('/') + name;
    QDir().mkpath(ctx.dataDir());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit() ||
        !ctx.settings->set(Section, Key, name)) {
        if (problem)
            *problem = QStringLiteral("The logo could not be copied to %1.").arg(shown(target));
        return false;
    }
    // A logo of the other kind chosen before is no longer used.
    const QString other =
        ctx.dataDir() + (suffix == QLatin1String("png") ? QStringLiteral("/logo.jpg")
                                                        : QStringLiteral("/logo.png"));
    QFile::remove(other);
    return true;
}

void remove(AppContext& ctx) {
    const QString current = path(ctx);
    ctx.settings->set(Section, Key, QString());
    if (!current.isEmpty())
        QFile::remove(current);
}

QSize printedTwips(const QSize& pixels) {
    if (pixels.isEmpty())
        return QSize();
    // At 96 pixels to the inch (15 twips a pixel), shrunk into the box when larger; a small
    // logo is not blown up past its own pixels.
    const double w = pixels.width() * 15.0;
    const double h = pixels.height() * 15.0;
    const double factor = std::min({1.0, MaxWidth / w, MaxHeight / h});
    return QSize(std::max(1, int(std::lround(w * factor))),
                 std::max(1, int(std::lround(h * factor))));
}

Placeholders::Value placeholder(const AppContext& ctx) {
    // Letterhead paper already carries the logo.
    if (ctx.settings->get(QStringLiteral("CoInfoInc"), QStringLiteral("LetHead")) !=
        QLatin1String("0"))
        return Placeholders::Value::ofText(QString());
    const QString file = path(ctx);
    if (file.isEmpty())
        return Placeholders::Value::ofText(QString());
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return Placeholders::Value::ofText(QString());
    Placeholders::Value v;
    v.picture = f.readAll();
    QBuffer buffer(&v.picture);
    buffer.open(QIODevice::ReadOnly);
    v.pictureTwips = printedTwips(QImageReader(&buffer).size());
    if (v.pictureTwips.isEmpty())
        return Placeholders::Value::ofText(QString());
    return v;
}

} // namespace CompanyLogo
