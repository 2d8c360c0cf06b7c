// settings.ini: the flags read at start-up and the page controls that show them.
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

// Second load: the flags again, now also into the page controls.
void LoadSettingsIntoPages(HWND mainWindow);

} // namespace tollivar
