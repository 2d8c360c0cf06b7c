// The Resident Shield's alert (dialog 1100): offers to heal what the shield found at once.
#pragma once

#include <windows.h>

namespace tollivar {

enum class AlertChoice { Ignore = 0, Heal = 1, FullScan = 2 };

// Opens the alert modally, owned by the main window, with an information beep. Closing it without a
// choice counts as Ignore; Enter and Escape do nothing. Each alert keeps its own choice, so an alert
// opened over another does not answer for it.
AlertChoice ShowShieldAlert(HWND mainWindow);

} // namespace tollivar
