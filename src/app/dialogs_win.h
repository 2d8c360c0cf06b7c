// The secondary dialogs the shell opens: splash at start-up, the tray notice on every hide, and
// help and support. Each is modal, owned by the main window, and lives in its own file.
#pragma once

#include <windows.h>

namespace tollivar {

// Splash (resource 1110): shown modally at start-up when the settings ask for it; it closes itself
// after 4096 ms and nothing closes it earlier.
void ShowSplashDialog(HWND mainWindow);

// Tray notice (resource 1149): shown modally before every hide unless the user switched it off
// (settings.ini TRAY/1 nonzero).
void ShowTrayNotice(HWND mainWindow);

// Help and support (resource 1112): the help file, the support form and mail, the web site.
void ShowHelpDialog(HWND mainWindow);

} // namespace tollivar
