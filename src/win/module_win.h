// Process-wide handles of the application shell, set once at start-up.
#pragma once

#include <windows.h>

namespace tollivar {

struct ShellIcons {
    HICON app = nullptr;      // window, tray, Main Info header
    HICON shield = nullptr;   // Threat Shield header
    HICON scan = nullptr;     // Threat Scan header
    HICON heal = nullptr;     // Heal System header and rows
    HICON settings = nullptr; // Settings header
    HICON threat = nullptr;   // every detection row
};

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE module);

// Loads the six icons; the window takes the application icon as soon as it is loaded.
void LoadShellIcons(HWND mainWindow);
const ShellIcons& Icons();

} // namespace tollivar
