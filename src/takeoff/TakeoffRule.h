#pragma once

#include "common/Quantity.h"

#include <QMap>
#include <QString>
#include <cstdint>
#include <optional>

struct AppContext;

// A catalogue item's take-off rule: the measure of the roof its quantity follows and the
// coverage that turns the measure into whole purchase units (3 bundles per square, 33 lf per
// bundle), and the quantity it proposes for the roof in work.
namespace TakeoffRule {

enum class Measure {
    None = 0,
    SquaresToOrder = 1, // squares with waste, rounded up to a third
    RoofArea = 2,       // Roof Area in square feet
    Lineal = 3,         // the lengths of one or more lineal kinds, in lineal feet
    Planes = 4,         // the count of roof planes measured
};

struct Rule {
    Measure measure = Measure::None;
    // For Lineal: the lineal types summed, bit n for type n (RoofMath::LinealType).
    std::int32_t kinds = 0;
    // The coverage in ten-thousandths: purchase units per measure unit when `perMeasure`
    // (3 bundles per square), otherwise measure units per purchase unit (33 lf per bundle).
    std::int64_t amount = 0;
    bool perMeasure = true;
    bool operator==(const Rule&) const = default;
};

// What the roof in work measures, as the rules read it.
struct RoofMeasures {
    std::int64_t area = 0;           // Roof Area, whole square feet
    std::int64_t orderThirds = 0;    // squares to order, in thirds of a square
    QMap<int, std::int64_t> lengths; // per lineal type, ten-thousandths of a foot
    std::int64_t planes = 0;
};

// A proposed quantity and where it came from ("from 24.67 squares to order × 3 bundles").
struct Proposal {
    Quantity qty;
    QString from;
};

// The roof in work as the rules read it. Throws modData::SqlError.
RoofMeasures measures(AppContext& ctx);

// The words of a measure and of a rule, for lists and for the explanation.
QString measureName(Measure m);
QString describe(const Rule& r, const QString& unit);

// The whole purchase units `r` asks for on a roof measuring `m`, rounded up, and the words that
// say where they come from; nothing for no rule, no coverage, or nothing measured to follow.
std::optional<Proposal> propose(const Rule& r, const RoofMeasures& m, const QString& unit);

} // namespace TakeoffRule
