#pragma once

#include "pricing/modGrid.h"

#include <cstdint>
#include <functional>
#include <optional>

struct AppContext;
class QWidget;

// The dialogs that the Line Items tab opens.
namespace Pickers {

// The item picker. Adding (pickEdit false): the user chooses a catalogue item, quantity, price
// and section; editing: line `pickLineID` of tpLineItems. Returns the line chosen with Okay;
// nothing when the picker was cancelled (or closed by its close box).
std::optional<CurItemRecord> PickItem(AppContext& ctx, QWidget* parent, bool pickEdit,
                                      std::int32_t pickLineID);

// The section-order dialog. On commit it writes the new order into tpLineItems and TempSect,
// rebuilds the grid and calls `refresh` (totals and the grid's display).
void SortSections(AppContext& ctx, QWidget* parent, const std::function<void()>& refresh);

} // namespace Pickers
