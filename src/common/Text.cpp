#include "common/Text.h"

namespace Text {

qsizetype characters(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

QString cutToCharacters(const QString& text, qsizetype limit) {
    qsizetype n = 0;
    qsizetype i = 0;
    while (i < text.size() && n < limit) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ++i;
        ++n;
    }
    QString out = text.left(i);
    if (!out.isEmpty() && out.back().isHighSurrogate())
        out.chop(1);
    return out;
}

} // namespace Text
