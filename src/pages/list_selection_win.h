// The one operation behind every "Select All" and "Deselect All" button.
#pragma once

#include <windows.h>

namespace tollivar {

// Checks (select 1) or unchecks (any other value) every row, selecting each in turn, so the last row
// ends selected either way. An empty list is left alone.
void SelectAllRows(HWND list, int select);

} // namespace tollivar
