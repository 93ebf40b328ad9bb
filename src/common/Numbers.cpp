#include "common/Numbers.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace Numbers {

std::optional<double> parse(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const QLocale loc;
    double v = loc.toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    if (!ok) {
        // A period typed where the user's locale uses a comma, without grouping.
        QString p = t;
        p.remove(loc.groupSeparator());
        v = QLocale::c().toDouble(p, &ok);
    }
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
