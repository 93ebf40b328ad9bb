#pragma once

#include "pricing/Totals.h"
#include "pricing/modGrid.h"

#include <cstdint>
#include <optional>

struct AppContext;
class QWidget;

// The dialogs that the Line Items tab opens.
namespace Pickers {

// The item picker. Adding (pickEdit false): the user chooses a catalogue item, quantity, price
// and section; editing: line `pickLineID` of tpLineItems. Returns the line chosen with Okay;
// nothing when the picker was cancelled (or closed by its close box). `admin` are the estimate's
// administrative amounts, with which its totals must still be figured.
std::optional<CurItemRecord> PickItem(AppContext& ctx, QWidget* parent, bool pickEdit,
                                      std::int32_t pickLineID,
                                      const Totals::AdminAmounts& admin = {});

// The section-order dialog. Returns whether the new order was committed (written into
// tpLineItems and TempSect).
bool SortSections(AppContext& ctx, QWidget* parent);

} // namespace Pickers
