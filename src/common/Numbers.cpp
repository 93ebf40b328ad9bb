#include "common/Numbers.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace Numbers {

namespace {

// The separators a locale groups digits with, as a user may type them: a locale that groups with
// a (no-break) blank also takes an ordinary blank, one that groups with a typographic apostrophe
// also takes the plain one.
QStringList groupSeparators(const QLocale& locale) {
    const QString g = locale.groupSeparator();
    if (g.isEmpty())
        return {};
    if (g.size() == 1 && g.at(0).isSpace())
        return {QStringLiteral(" "), QString(QChar(0x00A0)), QString(QChar(0x202F))};
    if (g == QString(QChar(0x2019)))
        return {g, QStringLiteral("'")};
    return {g};
}

bool startsWithAt(const QString& text, qsizetype at, const QString& part) {
    return !part.isEmpty() && QStringView(text).mid(at).startsWith(part);
}

// Reads unsigned `body` with decimal point `point`, grouping its whole part with any of
// `groups` (none: no grouping). Grouping must be regular: a first group of 1 to 3 digits that
// does not start with 0, then groups of exactly 3. Returns "digits[.digits]".
std::optional<QString> readWith(const QString& body, const QString& point,
                                const QStringList& groups) {
    QStringList runs{QString()};
    QString fraction;
    bool inFraction = false;
    qsizetype i = 0;
    while (i < body.size()) {
        const QChar c = body.at(i);
        if (c.isDigit()) {
            (inFraction ? fraction : runs.last()).append(QChar(u'0' + c.digitValue()));
            ++i;
            continue;
        }
        if (startsWithAt(body, i, point)) {
            if (inFraction)
                return std::nullopt;
            inFraction = true;
            i += point.size();
            continue;
        }
        bool grouped = false;
        for (const QString& g : groups) {
            if (!inFraction && startsWithAt(body, i, g)) {
                runs.append(QString());
                i += g.size();
                grouped = true;
                break;
            }
        }
        if (!grouped)
            return std::nullopt;
    }
    if (runs.size() > 1) {
        const QString& first = runs.first();
        if (first.isEmpty() || first.size() > 3 || first.startsWith(u'0'))
            return std::nullopt;
        for (qsizetype k = 1; k < runs.size(); ++k)
            if (runs.at(k).size() != 3)
                return std::nullopt;
    }
    const QString whole = runs.join(QString());
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    QString out = whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        out += u'.' + fraction;
    return out;
}

} // namespace

std::optional<QString> plainText(const QString& text, const QLocale& locale) {
    QString body = text.trimmed();
    bool negative = false;
    const QString minus[] = {QStringLiteral("-"), QString(QChar(0x2212)), locale.negativeSign()};
    const QString plus[] = {QStringLiteral("+"), locale.positiveSign()};
    bool signed_ = false;
    for (const QString& m : minus)
        if (!signed_ && startsWithAt(body, 0, m)) {
            negative = true;
            signed_ = true;
            body = body.mid(m.size());
        }
    for (const QString& p : plus)
        if (!signed_ && startsWithAt(body, 0, p)) {
            signed_ = true;
            body = body.mid(p.size());
        }
    if (body.isEmpty())
        return std::nullopt;
    const std::optional<QString> local =
        readWith(body, locale.decimalPoint(), groupSeparators(locale));
    const std::optional<QString> plain = readWith(body, QStringLiteral("."), {});
    // Both readings exist and differ only for a lone period in a locale that groups with
    // periods ("1.234" under German): the period decimal is meant there, as the program itself
    // writes it, so what is typed is never read a thousand times larger.
    std::optional<QString> read = plain ? plain : local;
    if (!read)
        return std::nullopt;
    return negative ? u'-' + *read : *read;
}

std::optional<QString> plainStoredText(const QString& text) {
    if (const auto plain = plainText(text, QLocale::c()); plain && !text.contains(u','))
        return plain;
    if (const auto local = plainText(text))
        return local;
    return plainText(text, QLocale(QLocale::English, QLocale::UnitedStates));
}

std::optional<std::int64_t> tenThousandths(const QString& plain) {
    qsizetype i = 0;
    bool negative = false;
    if (i < plain.size() && (plain[i] == u'-' || plain[i] == u'+')) {
        negative = plain[i] == u'-';
        ++i;
    }
    // Accumulated wide, so that no text can overflow while it is read.
    constexpr __int128 limit = std::numeric_limits<std::int64_t>::max();
    __int128 whole = 0;
    int digits = 0;
    for (; i < plain.size() && plain[i] >= u'0' && plain[i] <= u'9'; ++i, ++digits) {
        whole = whole * 10 + (plain[i].unicode() - u'0');
        if (whole > limit)
            return std::nullopt;
    }
    QString fraction;
    if (i < plain.size() && plain[i] == u'.') {
        for (++i; i < plain.size() && plain[i] >= u'0' && plain[i] <= u'9'; ++i)
            fraction.append(plain[i]);
    }
    if (i != plain.size() || (digits == 0 && fraction.isEmpty()))
        return std::nullopt;
    __int128 frac = 0;
    for (int k = 0; k < 4; ++k)
        frac = frac * 10 + (k < fraction.size() ? fraction[k].unicode() - u'0' : 0);
    bool up = false;
    if (fraction.size() > 4) {
        const int first = fraction[4].unicode() - u'0';
        bool moreNonZero = false;
        for (qsizetype k = 5; k < fraction.size(); ++k)
            moreNonZero = moreNonZero || fraction[k] != u'0';
        up = first > 5 || (first == 5 && (moreNonZero || frac % 2 != 0));
    }
    const __int128 raw = whole * 10000 + frac + (up ? 1 : 0);
    if (raw > limit)
        return std::nullopt;
    return negative ? -std::int64_t(raw) : std::int64_t(raw);
}

QString inLocale(const QString& plain) {
    QString s = plain;
    return s.replace(u'.', QLocale().decimalPoint());
}

std::optional<double> parse(const QString& text) {
    const std::optional<QString> plain = plainText(text);
    if (!plain)
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(*plain, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double value(const QString& text) {
    return parse(text).value_or(0.0);
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

double roundHalfEven(double v, int decimals) {
    // Decide on the decimal text of the value, so that 0.0625 (exact in binary) and 1.235
    // (not exact) are both judged by what the user sees rather than by binary noise.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals + 6, v);
    const double scale = std::pow(10.0, decimals);
    const double scaled = std::strtod(buf, nullptr) * scale;
    const double fl = std::floor(scaled);
    const double frac = scaled - fl;
    double r;
    if (std::fabs(frac - 0.5) < 1e-6)
        r = std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
    else
        r = std::round(scaled);
    return r / scale;
}

double roundHalfAway(double v) {
    return std::round(v);
}

std::int32_t toLong(double v) {
    const double r = std::nearbyint(v);
    if (std::isnan(r))
        return 0;
    if (r >= double(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= double(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(r);
}

std::optional<std::int32_t> toLong(const QString& text) {
    const auto v = parse(text);
    if (!v)
        return std::nullopt;
    return toLong(*v);
}

QString shortest(double v) {
    if (v == 0.0)
        return QStringLiteral("0");
    // Up to 15 significant digits removes binary noise (0.1 * 3 -> 0.3) like the display of a
    // spreadsheet; trailing zeros are dropped.
    QString s = QString::number(v, 'f', 10);
    const double back = s.toDouble();
    QString g = QString::number(v, 'g', 15);
    if (!g.contains('e') && !g.contains('E'))
        s = g;
    else
        s = QString::number(back, 'f', 10);
    if (s.contains('.')) {
        while (s.endsWith('0'))
            s.chop(1);
        if (s.endsWith('.'))
            s.chop(1);
    }
    if (s == "-0")
        s = "0";
    return s;
}

} // namespace Numbers
