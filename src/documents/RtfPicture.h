#pragma once

#include "documents/RtfFormat.h"

#include <QByteArray>
#include <QTextImageFormat>
#include <QUrl>

#include <optional>

class QTextDocument;

// Pictures: the \pict group as read, the image resources it becomes in a document, and the
// way back for the writer.
namespace Rtf::detail {

struct Picture {
    format::PictureKind kind = format::PictureKind::Other;
    int sourceWidth = 0;  // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int sourceHeight = 0; // \pich
    int goalWidth = 0;    // \picwgoal, twips
    int goalHeight = 0;   // \pichgoal
    int scaleX = 100;     // percent
    int scaleY = 100;
    QByteArray data;

    // Hex digits of the picture's data, two to a byte; anything else between them is ignored.
    void appendHex(QByteArrayView text);

private:
    int highNibble_ = -1;
};

// Adds the picture to the document's resources and returns the format that shows it at the
// size the file asked for. Pictures Qt cannot draw (metafiles) show as a grey box of that
// size and keep their bytes, so that they are written back unchanged.
QTextImageFormat addPicture(QTextDocument& doc, const Picture& pict);

// Where a document keeps the bytes of the picture of that name.
QUrl pictureDataUrl(const QString& imageName);

// The picture an image format shows, ready to write: the bytes the file held, or the drawn
// image as a PNG when the document has no original (a picture pasted from elsewhere).
std::optional<Picture> storedPicture(const QTextDocument& doc, const QTextImageFormat& f);

} // namespace Rtf::detail
