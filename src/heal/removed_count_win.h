// The removed-threats counter kept in count.uas and shown on the Main Info page.
#pragma once

#include <windows.h>

namespace tollivar {

void UpdateRemovedCount(HWND mainWindow, int increment);

} // namespace tollivar
