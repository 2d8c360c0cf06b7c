// The commands that change things: apply the settings, heal either detection list, heal the system.
#pragma once

#include <windows.h>

namespace tollivar {

void ApplySettingsCommand(HWND mainWindow);  // "Apply Settings >"
void HealShieldCommand(HWND mainWindow);     // "Heal Selected >"
void HealScanCommand(HWND mainWindow);       // "Heal Sel. X"
void HealSystemCommand(HWND mainWindow);     // "Heal System >"

} // namespace tollivar
