// The secondary dialogs the shell opens: splash at start-up and the tray notice on every hide.
#pragma once

#include <windows.h>

namespace tollivar {

// Splash (resource 1110): shown modally at start-up when the settings ask for it.
void ShowSplashDialog(HWND mainWindow);

// Tray notice (resource 1149): shown modally before every hide unless the user switched it off.
void ShowTrayNotice(HWND mainWindow);

} // namespace tollivar
