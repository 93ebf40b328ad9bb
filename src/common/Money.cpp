#include "common/Money.h"

#include "common/Numbers.h"
#include "common/Quantity.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

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

std::optional<Money> Money::tryFromDouble(double value) {
    const double scaled = std::nearbyint(value * double(Scale));
    // 2^63 itself does not fit; every double below it does.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775808.0)
        return std::nullopt;
    return fromRaw(std::int64_t(scaled));
}

Money Money::fromDouble(double value) {
    return tryFromDouble(value).value_or(Money());
}

namespace {

std::optional<Money> parseIn(const QString& text, const QLocale& loc) {
    const QString t = normalise(text, loc);
    if (t.isEmpty())
        return std::nullopt;
    const std::optional<QString> plain = Numbers::plainText(t, loc);
    if (!plain)
        return std::nullopt;
    if (auto raw = Numbers::tenThousandths(*plain))
        return Money::fromRaw(*raw);
    return std::nullopt;
}

} // namespace

std::optional<Money> Money::parse(const QString& text) {
    return parseIn(text, QLocale());
}

std::optional<Money> Money::parseStored(const QString& text) {
    const QString t = text.trimmed();
    if (auto raw = Numbers::tenThousandths(t))
        return fromRaw(*raw);
    if (auto m = parseIn(t, QLocale()))
        return m;
    return parseIn(t, QLocale(QLocale::English, QLocale::UnitedStates));
}

std::optional<Money> Money::sum(Money a, Money b) {
    std::int64_t r = 0;
    if (__builtin_add_overflow(a.raw_, b.raw_, &r) || r == INT64_MIN)
        return std::nullopt;
    return fromRaw(r);
}

std::optional<Money> Money::times(Quantity qty) const {
    // Ten-thousandths times ten-thousandths: units of 1e-8, of which a cent holds 1e6.
    const __int128 product = __int128(raw_) * qty.raw();
    const __int128 perCent = __int128(Scale / 100) * Quantity::Scale;
    const __int128 magnitude = product < 0 ? -product : product;
    const __int128 cents = (magnitude + perCent / 2) / perCent;
    const __int128 raw = (product < 0 ? -cents : cents) * (Scale / 100);
    if (raw > INT64_MAX || raw < -INT64_MAX)
        return std::nullopt;
    return fromRaw(std::int64_t(raw));
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

QString Money::toInput() const {
    QString s = toSql();
    return s.replace(u'.', QLocale().decimalPoint());
}

Money Money::roundedToCents() const {
    // Wide, so that rounding the largest amounts cannot overflow; a result beyond the type
    // stays at the largest whole cents it holds.
    const __int128 a = raw_ < 0 ? -__int128(raw_) : __int128(raw_);
    __int128 cents = (a + 50) / 100;
    if (cents * 100 > INT64_MAX)
        cents = INT64_MAX / 100;
    return fromRaw(std::int64_t(raw_ < 0 ? -cents : cents) * 100);
}

QString Money::toCurrency() const {
    const Money r = roundedToCents();
    return QLocale().toCurrencyString(double(r.raw_) / double(Scale), QString(), 2);
}

QString Money::toGrouped() const {
    const Money r = roundedToCents();
    return QLocale().toString(double(r.raw_) / double(Scale), 'f', 2);
}
