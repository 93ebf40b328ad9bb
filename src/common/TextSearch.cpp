#include "common/TextSearch.h"

#include <QRegularExpression>

namespace TextSearch {

QString fold(QStringView text) {
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        QString out(text.size(), Qt::Uninitialized);
        QChar* d = out.data();
        for (QChar c : text) {
            const char16_t u = c.unicode();
            *d++ = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
        }
        return out;
    }
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            kept.append(c);
    return kept.toCaseFolded();
}

QStringList words(const QString& typed) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList out;
    for (const QString& w : typed.split(blanks, Qt::SkipEmptyParts)) {
        const QString f = fold(w);
        if (!f.isEmpty())
            out << f;
    }
    return out;
}

bool matchesAll(QStringView folded, const QStringList& words) {
    for (const QString& w : words)
        if (!folded.contains(w))
            return false;
    return true;
}

} // namespace TextSearch
