// The commands that change things: apply the settings, heal either detection list, heal the system.
#pragma once

#include <windows.h>

#include <vector>

#include "heal/heal_record.h"

namespace tollivar {

void ApplySettingsCommand(HWND mainWindow);  // "Apply Settings >"
void HealShieldCommand(HWND mainWindow);     // "Heal Selected >"
void HealScanCommand(HWND mainWindow);       // "Heal Sel. X"
void HealSystemCommand(HWND mainWindow);     // "Heal System >"

// Heals the Threat Shield rows read when the user was asked, takes them out of the list and tells the
// result in its status line. No rows: the list is left alone, status line included.
void HealShieldList(HWND mainWindow, const std::vector<HealRecord>& records);

// Heals the Threat Scan rows read when the user was asked (files and processes), takes them out,
// empties the Threat Shield list and tells the result in the Threat Scan status line.
void HealScanList(HWND mainWindow, const std::vector<HealRecord>& records);

// Reads count.uas (adding increment, 0 or 1) and shows the stored count on Main Info.
void ShowRemovedCount(int increment);

} // namespace tollivar
