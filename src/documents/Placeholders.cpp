#include "documents/Placeholders.h"

#include "documents/Rtf.h"
#include "documents/RtfPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace Placeholders {
namespace {

const QRegularExpression& anyTag() {
    static const QRegularExpression re(QStringLiteral("<<[A-Za-z]+>>"));
    return re;
}

std::optional<Rtf::format::PictureKind> pictureKind(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray f = QImageReader::imageFormat(&buffer);
    if (f == "png")
        return Rtf::format::PictureKind::Png;
    if (f == "jpeg" || f == "jpg")
        return Rtf::format::PictureKind::Jpeg;
    return std::nullopt;
}

void insertPicture(QTextCursor& c, const Value& v) {
    const std::optional<Rtf::format::PictureKind> kind = pictureKind(v.picture);
    if (!kind)
        return;
    Rtf::detail::Picture p;
    p.kind = *kind;
    p.data = v.picture;
    p.goalWidth = v.pictureTwips.width();
    p.goalHeight = v.pictureTwips.height();
    c.insertImage(Rtf::detail::addPicture(*c.document(), p));
}

int fillBody(QTextDocument& doc, const Values& values) {
    int count = 0;
    int from = 0;
    for (;;) {
        QTextCursor c = doc.find(anyTag(), from);
        if (c.isNull())
            break;
        const auto it = values.constFind(c.selectedText());
        if (it == values.constEnd()) {
            from = c.selectionEnd();
            continue;
        }
        // The placeholder's own character format carries over to what replaces it.
        const QTextCharFormat format = c.charFormat();
        c.beginEditBlock();
        c.removeSelectedText();
        if (!it->picture.isEmpty()) {
            insertPicture(c, *it);
        } else if (it->boldFirstLine) {
            const qsizetype end = it->text.indexOf(QLatin1Char('\n'));
            QTextCharFormat bold = format;
            bold.setFontWeight(QFont::Bold);
            c.insertText(it->text.left(end), bold);
            if (end >= 0)
                c.insertText(it->text.mid(end), format);
        } else {
            c.insertText(it->text, format);
        }
        c.endEditBlock();
        from = c.position();
        ++count;
    }
    return count;
}

} // namespace

int fill(QTextDocument& doc, const Values& values) {
    int count = fillBody(doc, values);
    for (int k = 0; k < Rtf::RunningHeadCount; ++k) {
        const auto which = Rtf::RunningHead(k);
        const QByteArray rtf = Rtf::runningHead(doc, which);
        if (rtf.isEmpty())
            continue;
        QTextDocument head;
        if (!Rtf::read(rtf, head))
            continue;
        const int n = fillBody(head, values);
        if (n > 0)
            Rtf::setRunningHead(doc, which, Rtf::write(head));
        count += n;
    }
    return count;
}

} // namespace Placeholders
