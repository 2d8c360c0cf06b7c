// Main Info page: the values that other code writes into it.
#pragma once

#include <windows.h>

namespace tollivar {

HWND RemovedCountText(); // the removed-threats count
HWND DefsVersionText();  // the definitions database version

} // namespace tollivar
