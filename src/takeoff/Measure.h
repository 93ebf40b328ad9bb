#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A roof measurement as roofers write it: decimal feet (30.5, or 30,5 where the comma is the
// decimal point) or feet and inches (30' 6", 30'6, 30 6, 30ft 6in, 6"). It is kept as whole
// ten-thousandths of a foot, the way quantities are, so 10.5 ft stays 10.5 ft when it is stored
// and multiplied.
namespace Measure {

constexpr std::int64_t Scale = 10000;

// What a box holds: the measurement in ten-thousandths of a foot, or a message that names the
// problem when it is none.
struct Reading {
    std::optional<std::int64_t> feet;
    QString error;
};

// Reads a measurement the user typed. Inches must be under 12; text that is neither decimal feet
// nor feet and inches is refused with a message. A plain negative number reads as it is (the
// caller checks the range and names it).
Reading read(const QString& text);

// A stored measurement in feet as a double, for the arithmetic of areas.
inline double toFeet(std::int64_t tenThousandths) {
    return double(tenThousandths) / double(Scale);
}

// A measurement for the user: shortest decimal with the locale's point and " ft" (30.5 ft).
QString text(std::int64_t tenThousandths);
// What a box reads, for the note beside it: "= 30.5 ft", or the problem.
QString note(const QString& typed);

} // namespace Measure
