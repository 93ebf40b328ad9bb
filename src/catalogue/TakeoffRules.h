#pragma once

#include "takeoff/TakeoffRule.h"

#include <cstdint>
#include <optional>

struct AppContext;

// The take-off rules of the catalogue's items (table takeoffrule of cost.db): one per cost item
// or unit item at most.
namespace TakeoffRules {

// The rule of a cost item (unitItem false) or unit item; nothing when it has none. Throws
// modData::SqlError.
std::optional<TakeoffRule::Rule> ruleOf(AppContext& ctx, bool unitItem, std::int32_t id);
// Gives the item `rule`; a rule of Measure::None, or without coverage, removes it. Throws
// modData::SqlError.
void setRule(AppContext& ctx, bool unitItem, std::int32_t id, const TakeoffRule::Rule& rule);
// The quantity an item's rule proposes for the roof in work, with where it came from; nothing
// when the item has no rule, the roof nothing to follow, or either cannot be read.
std::optional<TakeoffRule::Proposal> proposal(AppContext& ctx, bool unitItem, std::int32_t id,
                                              const QString& unit);

} // namespace TakeoffRules
