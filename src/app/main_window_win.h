// The main window's dialog procedure: start-up, timer, close-to-tray, commands and the tray callback.
#pragma once

#include <windows.h>

namespace tollivar {

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace tollivar
