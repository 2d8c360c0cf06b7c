// Every button and tray-menu command of the main window, looked up in one table.
#pragma once

#include <windows.h>

namespace tollivar {

// The command id is the whole wParam, so only BN_CLICKED and menu commands (high word 0) match.
void RunCommand(HWND mainWindow, WPARAM wParam);

} // namespace tollivar
