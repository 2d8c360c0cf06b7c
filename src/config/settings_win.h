// settings.ini: the flags read at start-up, the page controls that show them, and their save.
#pragma once

#include <windows.h>

namespace tollivar {

struct SettingsFlags {
    int splashOnStart = 0;    // S2
    int alertOnDetection = 0; // S3
    int destroyThreats = 0;   // S5: exactly 1 deletes instead of quarantining
};

const SettingsFlags& Settings();

// First load: only the flags, before any page exists.
void LoadSettingsFlags();

// Second load: the flags again, every setting into its page control, the definitions version onto
// Main Info, and every Heal System row ticked.
void LoadSettingsIntoPages(HWND mainWindow);

// Writes the seven controls back to settings.ini as "0"/"1" and adds or removes the start-with-Windows
// value under the subkey SCAN/ST names. The flags in memory keep their start-up values. False when
// settings.ini could not be written.
bool SaveSettings(HWND mainWindow);

} // namespace tollivar
