// The Resident Shield: one pass over the removable drives at start-up, on every monitor tick and
// after every scan, all on the UI thread.
#pragma once

#include <windows.h>

namespace tollivar {

// Start-up: no alert has been shown yet.
void ResetAlertCount();

// Lists each removable drive whose autorun.inf names a program (once per drive), rewrites the Threat
// Shield status line and the status bar, and on a new nonzero row count brings the Threat Shield page
// forward and, when the settings ask for it, opens the alert and acts on its choice.
void ResidentShieldPass(HWND mainWindow);

} // namespace tollivar
