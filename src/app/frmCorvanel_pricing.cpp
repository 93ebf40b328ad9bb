#include "app/frmCorvanel.h"

#include "common/AppContext.h"
#include "common/ErrorMessage.h"
#include "common/Prompt.h"
#include "common/forms/GridBinding.h"
#include "pricing/forms/LineItemsTab.h"
#include "pricing/forms/Pickers.h"
#include "pricing/forms/TotalsTab.h"
#include "pricing/forms/frmEditID.h"
#include "pricing/modGrid.h"
#include "storage/modData.h"

#include <QPushButton>
#include <QTableView>

namespace {

// After any change of the lines: totals, then the grid's display.
void refreshLines(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    w.totals->FigureTotals();
    try {
        w.lines->PopEstiGrid();
    } catch (const ProcedureError& e) {
        ErrorMessage::show(*ctx.prompt, e.number, e.description, QStringLiteral("PopEstiGrid"),
                           QStringLiteral("Form frmCorvanel"));
    }
}

void cmdAddNewLine_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const std::optional<CurItemRecord> item = Pickers::PickItem(ctx, &w, false, 0);
    if (item && item->Picked) {
        modGrid::AddLineItem(ctx, QStringLiteral("add"), 0, *item);
        refreshLines(w);
        w.markChanged();
    }
}

void cmdEditLine_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    std::int32_t id = 0;
    {
        // The selected line is offered; any other ID can be typed.
        frmEditID dialog(w.lines->selectedLineID(), &w);
        if (dialog.exec() != QDialog::Accepted)
            return;
        id = dialog.EditLineID();
    }
    try {
        if (!modData::RecordExists(ctx, id, QStringLiteral("tplineitemid"),
                                   QStringLiteral("estigrid"), ctx.TempDBConn)) {
            ctx.prompt->message(QStringLiteral("That is not a valid ID.  Please try again."));
            w.markChanged();
            return;
        }
    } catch (const ProcedureError& e) {
        ErrorMessage::show(*ctx.prompt, e.number, e.description,
                           QStringLiteral("cmdEditLine_Click"), QStringLiteral("Form frmCorvanel"));
        return;
    }
    const std::optional<CurItemRecord> item = Pickers::PickItem(ctx, &w, true, id);
    if (!item)
        return;
    if (item->Picked) {
        modGrid::AddLineItem(ctx, QStringLiteral("edit"), id, *item);
        refreshLines(w);
    }
    w.markChanged();
}

void cmdDeleteLine_Click(frmCorvanel& w) {
    AppContext& ctx = w.ctx();
    const std::int32_t id = w.lines->selectedLineID();
    if (id > 0) {
        const auto a =
            ctx.prompt->ask(QStringLiteral("Are you sure you want to delete this line item?"),
                            QStringLiteral("Confirm delete"), Prompt::Buttons::YesNo,
                            Prompt::Icon::Critical, Prompt::Answer::No);
        if (a != Prompt::Answer::Yes)
            return;
        modGrid::AddLineItem(ctx, QStringLiteral("delete"), id);
        refreshLines(w);
    }
    w.markChanged();
}

void cmdOrder_Click(frmCorvanel& w) {
    if (w.lines->gridRowCount() > 1)
        Pickers::SortSections(w.ctx(), &w, [&w] { refreshLines(w); });
    w.markChanged();
}

} // namespace

// Connects the line items tab to its handlers.
void frmCorvanel::wirePricing() {
    connect(lines->cmdAddNewLine, &QPushButton::clicked, this,
            [this] { cmdAddNewLine_Click(*this); });
    connect(lines->cmdEditLine, &QPushButton::clicked, this, [this] { cmdEditLine_Click(*this); });
    connect(lines->cmdDeleteLine, &QPushButton::clicked, this,
            [this] { cmdDeleteLine_Click(*this); });
    connect(lines->cmdOrder, &QPushButton::clicked, this, [this] { cmdOrder_Click(*this); });
}
