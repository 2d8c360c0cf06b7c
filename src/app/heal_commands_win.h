// The commands that change things: apply the settings, heal either detection list, heal the system.
#pragma once

#include <windows.h>

namespace tollivar {

void ApplySettingsCommand(HWND mainWindow);  // "Apply Settings >"
void HealShieldCommand(HWND mainWindow);     // "Heal Selected >"
void HealScanCommand(HWND mainWindow);       // "Heal Sel. X"
void HealSystemCommand(HWND mainWindow);     // "Heal System >"

// Heals the Threat Shield list, empties it and tells the result in its status line. An empty list
// is left alone, status line included.
void HealShieldList();

// Heals the Threat Scan list (files and processes), empties both detection lists and tells the
// result in the Threat Scan status line. An empty list is left alone.
void HealScanList();

// Reads count.uas (adding increment, 0 or 1) and shows the stored count on Main Info.
void ShowRemovedCount(int increment);

} // namespace tollivar
