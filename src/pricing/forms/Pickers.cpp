#include "pricing/forms/Pickers.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "pricing/forms/frmPickItem.h"
#include "pricing/forms/frmSortSections.h"
#include "pricing/modGrid.h"

namespace Pickers {

std::optional<CurItemRecord> PickItem(AppContext& ctx, QWidget* parent, bool pickEdit,
                                      std::int32_t pickLineID) {
    frmPickItem f(ctx, pickEdit, pickLineID, parent);
    f.exec();
    return f.chosen();
}

void SortSections(AppContext& ctx, QWidget* parent, const std::function<void()>& refresh) {
    frmSortSections f(ctx, parent);
    f.exec();
    if (!f.committed())
        return;
    Guard::run(*ctx.prompt, QStringLiteral("cmdCommit_Click"), Guard::form("frmSortSections"), [&] {
        modGrid::RePopGrid(ctx);
        if (refresh)
            refresh();
    });
}

} // namespace Pickers
