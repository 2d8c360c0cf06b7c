// The notification-area icon and its popup menu.
#pragma once

#include <windows.h>

namespace tollivar {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 5;
inline constexpr char kTrayTip[] = "USB Resident Shield [monitoring...]";

void CreateTrayMenu();
void AddTrayIcon(HWND mainWindow, HICON icon);
void RemoveTrayIcon();

// After Explorer restarts the notification area holds no icon: the one added before comes back, so a
// Tollivar hidden in the tray stays reachable.
void ReAddTrayIcon(HWND mainWindow);

// Left button restores the window on its current page; right button opens the menu at the cursor.
void OnTrayCallback(HWND mainWindow, WPARAM iconId, LPARAM mouseMessage);

} // namespace tollivar
