// Showing the main window and hiding it to the tray.
#pragma once

#include <windows.h>

namespace tollivar {

// Start-up: minimise then restore, so the window first appears restored.
void ShowAtStart(HWND mainWindow);

// Close: the tray notice, then minimise and hide. The window is not destroyed.
void HideToTray(HWND mainWindow);

// Page commands: restore from the tray or the taskbar, then show.
void RestoreAndShow(HWND mainWindow);

// Left click on the tray icon: restore only.
void RestoreFromTray(HWND mainWindow);

// While the window is hidden in the tray only the program's own restore may show it again. The
// dialog manager shows a modal dialog the first time its queue goes empty; when a hidden start's
// first tick comes before that, that late show would otherwise undo the hide.
void KeepTrayHiddenWindowHidden(WINDOWPOS* change);

} // namespace tollivar
