#include "pricing/modGrid.h"

namespace modGrid {

void AddLineItem(AppContext&, const QString&, std::int32_t) {}
void RePopGrid(AppContext&) {}
void SaveLineItem(AppContext&, const QString&, std::int32_t, std::int32_t, const QString&,
                  std::int32_t, const QString&, const QString&, std::int32_t, const QString&,
                  Money, Money) {}

} // namespace modGrid
