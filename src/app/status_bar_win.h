// The main window's status bar: part 0 carries the protection status.
#pragma once

#include <windows.h>

namespace tollivar {

void SetUpStatusBar(HWND mainWindow);
// text is UTF-8.
void SetProtectionStatus(HWND mainWindow, const char* text);

} // namespace tollivar
