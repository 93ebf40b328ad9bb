#include "takeoff/RoofMath.h"

#include "common/Numbers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace RoofMath {

float PitchValue(std::int32_t n) {
    // The table as printed on a framing square, to five decimals.
    static const float factors[18] = {1.00347f, 1.01379f, 1.03078f, 1.05409f, 1.08333f, 1.11803f,
                                      1.1577f,  1.20185f, 1.25f,    1.30171f, 1.35657f, 1.41421f,
                                      1.47432f, 1.53659f, 1.60078f, 1.66667f, 1.73405f, 1.80278f};
    return n >= 1 && n <= 18 ? factors[n - 1] : 0.0f;
}

std::int32_t quickFigure(double width, double height, std::int32_t pitch) {
    return Numbers::toLong(height * width * double(PitchValue(pitch)));
}

std::int32_t areaTotal(int shape, std::int32_t width1, std::int32_t width2, std::int32_t height) {
    switch (shape) {
    case Rect:
        return Numbers::toLong(double(width1) * double(height));
    case Tri:
        return Numbers::toLong(double(height) * 0.5 * double(width1));
    case Trap:
        return Numbers::toLong((double(width1) + double(width2)) * 0.5 * double(height));
    default:
        return 0;
    }
}

QString linealName(int type) {
    static const char* const names[] = {
        "Cap",    "Starter", "%",    "Misc",          "Ridge",         "Hip",
        "Valley", "Rake",    "Eave", "Step flashing", "Wall flashing", "Drip edge"};
    return type >= FirstLinealType && type <= LastLinealType
               ? QString::fromLatin1(names[type - FirstLinealType])
               : QString();
}

QString linealUnit(int type) {
    if (type == Percent)
        return QStringLiteral("%");
    return type >= FirstLinealType && type <= LastLinealType ? QStringLiteral("lf") : QString();
}

QString shapeName(int shape) {
    switch (shape) {
    case Rect:
        return QStringLiteral("Rectangle");
    case Tri:
        return QStringLiteral("Triangle");
    case Trap:
        return QStringLiteral("Trapezoid");
    default:
        return {};
    }
}

QString pitchText(std::int32_t n) {
    return n >= 1 && n <= 18 ? QStringLiteral("%1/12").arg(n) : QStringLiteral("none");
}

double planArea(int shape, double width1, double width2, double height) {
    switch (shape) {
    case Rect:
        return width1 * height;
    case Tri:
        return height * 0.5 * width1;
    case Trap:
        return (width1 + width2) * 0.5 * height;
    default:
        return 0;
    }
}

std::int32_t surfaceTotal(double plan, std::int32_t pitch, bool onSlope) {
    const float factor = PitchValue(pitch);
    return Numbers::toLong(onSlope || factor == 0.0f ? plan : plan * double(factor));
}

QString squaresText(std::int64_t area) {
    // Whole square feet are exact hundredths of a square: no rounding happens here.
    return QLocale().toString(double(area) / 100.0, 'f', 2);
}

std::int64_t orderThirds(std::int64_t area, std::int64_t waste) {
    if (area <= 0)
        return 0;
    // thirds = area × (100 % + waste) × 3 / 100 sq ft, rounded up, in whole numbers so that
    // 1190.2 sq ft is 35.706 thirds, i.e. 36, not a float's 35.99999.
    constexpr std::int64_t hundredPercent = 100 * 10000;
    const std::int64_t num = area * (hundredPercent + std::max<std::int64_t>(waste, 0)) * 3;
    const std::int64_t den = 100 * hundredPercent;
    return (num + den - 1) / den;
}

QString thirdsText(std::int64_t thirds) {
    const std::int64_t whole = thirds / 3;
    const int rest = int(thirds % 3);
    if (rest == 0)
        return QLocale().toString(qlonglong(whole));
    return QLocale().toString(double(whole) + (rest == 1 ? 0.33 : 0.67), 'f', 2);
}

std::optional<std::int32_t> linealTotal(int type, double length, double roofArea) {
    double total = 0;
    switch (type) {
    case Cap:
        total = length * 1.038;
        break;
    case Starter:
        total = length * 0.417;
        break;
    case Percent:
        total = length * roofArea * 0.01;
        break;
    case Misc:
    case Ridge:
    case Hip:
    case Valley:
    case Rake:
    case Eave:
    case StepFlashing:
    case WallFlashing:
    case DripEdge:
        total = length;
        break;
    default:
        return std::nullopt;
    }
    total = Numbers::roundHalfEven(total);
    if (std::fabs(total) > double(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return std::int32_t(total);
}

} // namespace RoofMath
