#pragma once

#include <QByteArray>
#include <QHash>
#include <QSize>
#include <QString>

class QTextDocument;

// The placeholders of a template ("<<CoName>>", "<<CoLogo>>" …) filled in with their values,
// in the body and in every header and footer, where a letterhead lives.
namespace Placeholders {

struct Value {
    QString text; // lines separated by "\n" become paragraphs
    // The first line in bold (the company's name heading its block).
    bool boldFirstLine = false;
    // A picture instead of text (the company logo): the bytes of its PNG or JPEG file and the
    // size it prints at, in twips. Bytes that are no picture insert nothing.
    QByteArray picture;
    QSize pictureTwips;

    static Value ofText(const QString& t) { return Value{t, false, {}, {}}; }
};
using Values = QHash<QString, Value>;

// Replaces every placeholder named in `values` (matched exactly, case included) in one pass:
// text put in is never searched again, so a value that itself reads "<<Date>>" stays as it is.
// Placeholders not named are left alone. Returns the number replaced in the body and the
// running heads together.
int fill(QTextDocument& doc, const Values& values);

} // namespace Placeholders
