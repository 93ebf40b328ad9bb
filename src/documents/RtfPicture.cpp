#include "documents/RtfPicture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace Rtf::detail {

namespace {

// No picture is drawn larger than this many pixels a side (over 20 inches).
constexpr int MaxPixels = 2000;
constexpr int MaxScale = 10000; // percent

bool isMetafile(format::PictureKind kind) {
    return kind == format::PictureKind::Wmf || kind == format::PictureKind::Emf;
}

// The size to show, in pixels: the goal size when the file gives one, else the source size
// (pixels of a bitmap, hundredths of a millimetre of a metafile), else the image's own; then
// the file's scaling.
QSizeF displaySize(const Picture& p, const QImage& image) {
    const auto side = [&](int goal, int source, int own, int scale) {
        double px = 0;
        if (goal > 0)
            px = format::pixels(goal);
        else if (source > 0)
            px = isMetafile(p.kind) ? source * 96.0 / 2540.0 : source;
        else
            px = own;
        px = px * std::clamp(scale > 0 ? scale : 100, 1, MaxScale) / 100.0;
        return std::clamp(px, 1.0, double(MaxPixels));
    };
    return QSizeF(side(p.goalWidth, p.sourceWidth, image.width(), p.scaleX),
                  side(p.goalHeight, p.sourceHeight, image.height(), p.scaleY));
}

// What stands in for a picture Qt cannot draw: a light box with a frame, the size it has on
// the page, so that the layout around it is the one designed.
QImage placeholder(const QSizeF& size) {
    QImage img(std::max(1, int(size.width())), std::max(1, int(size.height())),
               QImage::Format_RGB32);
    img.fill(QColor(0xee, 0xee, 0xee));
    QPainter p(&img);
    p.setPen(QColor(0x99, 0x99, 0x99));
    p.drawRect(0, 0, img.width() - 1, img.height() - 1);
    p.drawLine(0, 0, img.width() - 1, img.height() - 1);
    p.drawLine(0, img.height() - 1, img.width() - 1, 0);
    return img;
}

} // namespace

QUrl pictureDataUrl(const QString& imageName) {
    return QUrl(QString::fromLatin1(format::PictureDataScheme) + u':' + imageName.section(u':', 1));
}

void Picture::appendHex(QByteArrayView text) {
    for (char c : text) {
        const int h = format::hexValue(c);
        if (h < 0)
            continue;
        if (highNibble_ < 0) {
            highNibble_ = h;
        } else {
            data.append(char(highNibble_ * 16 + h));
            highNibble_ = -1;
        }
    }
}

QTextImageFormat addPicture(QTextDocument& doc, const Picture& pict) {
    if (pict.data.isEmpty())
        return {};
    QImage image;
    if (pict.kind == format::PictureKind::Png)
        image.loadFromData(pict.data, "PNG");
    else if (pict.kind == format::PictureKind::Jpeg)
        image.loadFromData(pict.data, "JPEG");
    const QSizeF size = displaySize(pict, image);
    if (image.isNull())
        image = placeholder(size);

    const QByteArray id = QCryptographicHash::hash(pict.data, QCryptographicHash::Sha1).toHex();
    const QUrl url(QString::fromLatin1(format::PictureScheme) + u':' + QString::fromLatin1(id));
    doc.addResource(QTextDocument::ImageResource, url, image);
    doc.addResource(QTextDocument::UserResource, pictureDataUrl(url.toString()), pict.data);

    QTextImageFormat f;
    f.setName(url.toString());
    f.setWidth(size.width());
    f.setHeight(size.height());
    f.setProperty(format::PictureFormat, int(pict.kind));
    if (pict.sourceWidth > 0 && pict.sourceHeight > 0) {
        f.setProperty(format::PictureSourceWidth, pict.sourceWidth);
        f.setProperty(format::PictureSourceHeight, pict.sourceHeight);
    }
    return f;
}

std::optional<Picture> storedPicture(const QTextDocument& doc, const QTextImageFormat& f) {
    const QUrl url(f.name());
    Picture p;
    const QVariant original =
        f.name().startsWith(QLatin1String(format::PictureScheme) + u':')
            ? doc.resource(QTextDocument::UserResource, pictureDataUrl(f.name()))
            : QVariant();
    if (original.typeId() == QMetaType::QByteArray && f.hasProperty(format::PictureFormat)) {
        p.data = original.toByteArray();
        p.kind = format::PictureKind(f.intProperty(format::PictureFormat));
        p.sourceWidth = f.intProperty(format::PictureSourceWidth);
        p.sourceHeight = f.intProperty(format::PictureSourceHeight);
    } else {
        const QVariant drawn = doc.resource(QTextDocument::ImageResource, url);
        QImage image;
        if (drawn.typeId() == QMetaType::QImage)
            image = drawn.value<QImage>();
        else if (drawn.typeId() == QMetaType::QPixmap)
            image = drawn.value<QPixmap>().toImage();
        else if (drawn.typeId() == QMetaType::QByteArray)
            image.loadFromData(drawn.toByteArray());
        if (image.isNull())
            return std::nullopt;
        QBuffer buffer(&p.data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        p.kind = format::PictureKind::Png;
        p.sourceWidth = image.width();
        p.sourceHeight = image.height();
    }
    if (p.data.isEmpty())
        return std::nullopt;
    const QSizeF shown(f.width() > 0 ? f.width() : p.sourceWidth,
                       f.height() > 0 ? f.height() : p.sourceHeight);
    p.goalWidth = format::twips(shown.width());
    p.goalHeight = format::twips(shown.height());
    return p;
}

} // namespace Rtf::detail
