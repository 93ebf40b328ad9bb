#pragma once

#include <cstdint>
#include <optional>

// The arithmetic of the roof take-off: pitch factors, the quick figure, the area shapes and
// the totals of lineal items. Rounding is to the nearest whole number, halves to even.
namespace RoofMath {

// Slope length per unit of run for a rise of n in 12: sqrt(144 + n^2) / 12 to 5 decimals,
// held as a 4-byte float; 0 for n outside 1 to 18.
float PitchValue(std::int32_t n);

// The whole roof from width, height and pitch.
std::int32_t quickFigure(double width, double height, std::int32_t pitch);

// Shape codes and lineal type codes as stored.
enum Shape { Rect = 0, Tri = 1, Trap = 2 };
enum LinealType { Cap = 1, Starter = 2, Percent = 3, Misc = 4 };

// The area of one plane from whole-number measurements (no pitch factor).
std::int32_t areaTotal(int shape, std::int32_t width1, std::int32_t width2, std::int32_t height);

// The total of a lineal item of `length` (for "%" the percentage of `roofArea`); nothing for
// an unknown type or a total beyond the stored range.
std::optional<std::int32_t> linealTotal(int type, double length, double roofArea);

// The largest measurement accepted for a width, height or length.
constexpr double MaxMeasure = 10000.0;

} // namespace RoofMath
