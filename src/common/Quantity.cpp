#include "common/Quantity.h"

#include "common/Numbers.h"

#include <QLocale>

std::optional<Quantity> Quantity::parse(const QString& text) {
    const std::optional<QString> plain = Numbers::plainText(text);
    if (!plain)
        return std::nullopt;
    if (const auto raw = Numbers::tenThousandths(*plain))
        return fromRaw(*raw);
    return std::nullopt;
}

QString Quantity::toPlain() const {
    const std::uint64_t a = raw_ < 0 ? std::uint64_t(0) - std::uint64_t(raw_) : std::uint64_t(raw_);
    QString s = QString::number(a / Scale);
    if (const std::uint64_t frac = a % Scale; frac != 0) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QChar(u'0'));
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    if (raw_ < 0)
        s.prepend(u'-');
    return s;
}

QString Quantity::toText() const {
    QString s = toPlain();
    return s.replace(u'.', QLocale().decimalPoint());
}
