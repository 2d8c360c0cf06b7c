// The one normal way the program ends.
#pragma once

#include <windows.h>

namespace tollivar {

// Removes the tray icon and ends the main dialog; the process then exits with code 0.
void ShutdownProgram(HWND mainWindow);

} // namespace tollivar
