#include "pricing/forms/Pickers.h"

// Until the picker and the section-order dialog are built, their buttons open nothing.
namespace Pickers {

bool PickItem(AppContext&, QWidget*, bool, std::int32_t) { return true; }
void SortSections(AppContext&, QWidget*, const std::function<void()>&) {}

} // namespace Pickers
