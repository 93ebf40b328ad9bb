#pragma once

#include <QString>
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
// The runs of a roof report (Ridge to Drip edge) count their length in lineal feet as it is.
enum LinealType {
    Cap = 1,
    Starter = 2,
    Percent = 3,
    Misc = 4,
    Ridge = 5,
    Hip = 6,
    Valley = 7,
    Rake = 8,
    Eave = 9,
    StepFlashing = 10,
    WallFlashing = 11,
    DripEdge = 12,
};
constexpr int FirstLinealType = Cap;
constexpr int LastLinealType = DripEdge;

// The name of a lineal type as the lists and grids show it ("Ridge", "%"); empty when unknown.
QString linealName(int type);
// The unit a lineal item's length is in: "lf", or "%" for a percentage of the roof area.
QString linealUnit(int type);
// The name of a shape ("Rectangle", "Triangle", "Trapezoid"); empty when unknown.
QString shapeName(int shape);
// A pitch as roofers write it ("8/12"), or "none" for 0.
QString pitchText(std::int32_t n);

// The area of one plane from whole-number measurements (no pitch factor).
std::int32_t areaTotal(int shape, std::int32_t width1, std::int32_t width2, std::int32_t height);

// The plan area of one plane from measurements in feet, unrounded.
double planArea(int shape, double width1, double width2, double height);
// The roof surface of one plane in whole square feet: a plane measured on the plan is
// multiplied by its pitch factor, one measured on the slope (or without a pitch) is not.
std::int32_t surfaceTotal(double planArea, std::int32_t pitch, bool onSlope);

// Squares (100 sq ft) of a roof area in whole square feet, two decimals with the locale's
// point: 1082 sq ft is "10.82".
QString squaresText(std::int64_t area);
// Squares to order for a roof area and a waste percentage (ten-thousandths of a percent),
// rounded up to whole bundles (a third of a square); returned as a count of thirds.
std::int64_t orderThirds(std::int64_t area, std::int64_t wasteTenThousandths);
// A count of thirds of a square as text with the locale's point: 12, 11.33, 11.67.
QString thirdsText(std::int64_t thirds);

// The total of a lineal item of `length` (for "%" the percentage of `roofArea`); nothing for
// an unknown type or a total beyond the stored range.
std::optional<std::int32_t> linealTotal(int type, double length, double roofArea);

// The largest measurement accepted for a width, height or length.
constexpr double MaxMeasure = 10000.0;

} // namespace RoofMath
