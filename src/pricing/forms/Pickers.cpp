#include "pricing/forms/Pickers.h"

#include "pricing/forms/frmPickItem.h"
#include "pricing/forms/frmSortSections.h"

namespace Pickers {

std::optional<CurItemRecord> PickItem(AppContext& ctx, QWidget* parent, bool pickEdit,
                                      std::int32_t pickLineID, const Totals::AdminAmounts& admin) {
    frmPickItem f(ctx, pickEdit, pickLineID, parent, admin);
    f.exec();
    return f.chosen();
}

bool SortSections(AppContext& ctx, QWidget* parent) {
    frmSortSections f(ctx, parent);
    f.exec();
    return f.committed();
}

} // namespace Pickers
