// Settings page: the controls that show the user's settings (with the two scan-area boxes of the
// Threat Scan page, which are settings too); the settings store reads and writes the file.
#pragma once

#include <windows.h>

#include "config/settings_keys.h"

namespace tollivar {

HWND StartWithWindowsCheck();
HWND SplashCheck();
HWND AlertCheck();
HWND QuarantineRadio();
HWND DestroyRadio();

// Ticks every setting's control as the values say, and reads the controls back.
void ShowSettingsValues(const SettingsValues& values);
SettingsValues SettingsValuesShown();

} // namespace tollivar
