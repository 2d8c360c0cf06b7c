// What the program does with a Resident Shield pass: rows, status texts, the page and the alert.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tollivar {

// Start-up: no alert has been shown yet.
void ResetAlertCount();

// Lists each removable drive whose autorun.inf names a program (once per drive) and each bait
// shortcut in a removable drive's root (once per shortcut), rewrites the Threat
// Shield status line and the status bar, and on a new nonzero row count brings the Threat Shield page
// forward and, when the settings ask for it, opens the alert and acts on its choice.
void RunShieldPass(HWND mainWindow);

// The same pass over these drive roots only (the drives that just arrived); rows of other drives stay.
void RunShieldPass(HWND mainWindow, const std::vector<std::string>& roots);

} // namespace tollivar
