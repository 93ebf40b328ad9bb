#include "common/Money.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

// Reads "[-]digits[.digits]" exactly into ten-thousandths, halves to even past four decimals.
std::optional<std::int64_t> parsePlain(const QString& s) {
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t whole = 0;
    int digits = 0;
    for (; i < s.size() && s[i].isDigit(); ++i, ++digits) {
        if (whole > (std::numeric_limits<std::int64_t>::max() / 10 - 9) / Money::Scale)
            return std::nullopt;
        whole = whole * 10 + s[i].digitValue();
    }
    std::int64_t frac = 0;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        QString rest;
        for (; i < s.size() && s[i].isDigit(); ++i)
            rest.append(s[i]);
        fracDigits = int(rest.size());
        for (int k = 0; k < 4; ++k)
            frac = frac * 10 + (k < rest.size() ? rest[k].digitValue() : 0);
        if (rest.size() > 4) {
            const int first = rest[4].digitValue();
            bool moreNonZero = false;
            for (int k = 5; k < rest.size(); ++k)
                moreNonZero = moreNonZero || rest[k] != '0';
            if (first > 5 || (first == 5 && moreNonZero))
                roundUp = true;
            else if (first == 5)
                roundUp = (frac % 2) != 0;
        }
    }
    if (i != s.size() || (digits == 0 && fracDigits == 0))
        return std::nullopt;
    std::int64_t raw = whole * Money::Scale + frac + (roundUp ? 1 : 0);
    return negative ? -raw : raw;
}

QString normalise(QString t, const QLocale& loc) {
    t = t.trimmed();
    bool negative = false;
    if (t.startsWith('(') && t.endsWith(')')) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    for (const QString& sym : {loc.currencySymbol(QLocale::CurrencySymbol), QStringLiteral("$")}) {
        if (!sym.isEmpty())
            t.remove(sym);
    }
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    t = t.trimmed();
    if (t.startsWith('-')) {
        negative = !negative;
        t = t.mid(1).trimmed();
    } else if (t.endsWith('-')) {
        negative = !negative;
        t.chop(1);
    }
    if (negative)
        t.prepend('-');
    return t;
}

} // namespace

Money Money::fromDouble(double value) {
    const double scaled = std::nearbyint(value * double(Scale));
    if (!std::isfinite(scaled))
        return Money();
    return fromRaw(std::int64_t(scaled));
}

std::optional<Money> Money::parse(const QString& text) {
    const QLocale loc;
    const QString t = normalise(text, loc);
    if (t.isEmpty() || t == "-")
        return std::nullopt;
    // First as typed with a period (the form the program itself writes), then in the
    // user's locale with its decimal point and grouping.
    QString plain = t;
    plain.remove(',');
    if (loc.decimalPoint() == QStringLiteral(".") || !t.contains(loc.decimalPoint())) {
        if (auto raw = parsePlain(plain))
            return fromRaw(*raw);
    }
    QString local = t;
    local.remove(loc.groupSeparator());
    local.replace(loc.decimalPoint(), QStringLiteral("."));
    if (auto raw = parsePlain(local))
        return fromRaw(*raw);
    return std::nullopt;
}

QString Money::toSql() const {
    const std::int64_t a = raw_ < 0 ? -raw_ : raw_;
    QString s = QString::number(a / Scale);
    std::int64_t frac = a % Scale;
    if (frac != 0) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QChar('0'));
        while (f.endsWith('0'))
            f.chop(1);
        s += '.' + f;
    }
    if (raw_ < 0)
        s.prepend('-');
    return s;
}

Money Money::roundedToCents() const {
    const std::int64_t a = raw_ < 0 ? -raw_ : raw_;
    std::int64_t cents = (a + 50) / 100;
    return fromRaw((raw_ < 0 ? -cents : cents) * 100);
}

QString Money::toCurrency() const {
    const Money r = roundedToCents();
    return QLocale().toCurrencyString(double(r.raw_) / double(Scale), QString(), 2);
}

QString Money::toGrouped() const {
    const Money r = roundedToCents();
    return QLocale().toString(double(r.raw_) / double(Scale), 'f', 2);
}
