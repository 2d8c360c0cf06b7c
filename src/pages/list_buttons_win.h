// Enables the row buttons of a detection page only while its list has rows.
#pragma once

#include <windows.h>

namespace tollivar {

// Runs after nearly every message of the main window (the program skips it while a scan runs).
void RefreshListButtons(HWND mainWindow);

} // namespace tollivar
