#include "heal/removed_count_win.h"

namespace tollivar {

// count.uas is not kept yet and the Main Info page does not exist: nothing to show.
void UpdateRemovedCount(HWND, int) {}

} // namespace tollivar
