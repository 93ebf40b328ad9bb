#pragma once

#include "common/WorkCommand.h"
#include "pricing/Sections.h"
#include "pricing/modGrid.h"

struct AppContext;

// The changes of the line items as steps of the undo stack. Each acts on the working tables
// through modGrid and Sections, in one transaction with the rebuild of the grid; errors are
// reported as the handlers' own ("of Form frmCorvanel").
namespace LineCommands {

using Refresh = WorkCommand::Refresh;

// "Add Line": the picked line joins the estimate; undo takes it out again, redo puts it back
// under the same id.
WorkCommand* add(AppContext& ctx, const CurItemRecord& item, Refresh refresh);
// "Edit Line": line `lineID` becomes `item`; undo gives it back what it had.
WorkCommand* edit(AppContext& ctx, qint64 lineID, const CurItemRecord& item, Refresh refresh);
// "Delete Line": the line goes (its stored copy only with the next save); undo puts it back
// with both of its ids, so a save afterwards updates its stored copy instead of adding one.
WorkCommand* remove(AppContext& ctx, qint64 lineID, Refresh refresh);
// "Change Section Order": the sections take the positions `after`; undo gives them `before`.
WorkCommand* reorder(AppContext& ctx, const SectionOrder::Positions& before,
                     const SectionOrder::Positions& after, Refresh refresh);

} // namespace LineCommands
