#include "takeoff/RoofMath.h"

#include "common/Numbers.h"

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
