// The start-up sequence run when the main window is created.
#pragma once

#include <windows.h>

namespace tollivar {

void RunStartup(HWND mainWindow);

} // namespace tollivar
