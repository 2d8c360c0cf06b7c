// settings.ini: the flags read at start-up and the values the pages show, read and written. Knows
// no control: the Settings page shows the values and reads them back.
#pragma once

#include "config/settings_keys.h"

namespace tollivar {

struct SettingsFlags {
    int splashOnStart = 0;    // S2
    int alertOnDetection = 0; // S3
    int destroyThreats = 0;   // S5: exactly 1 deletes instead of quarantining
};

const SettingsFlags& Settings();

// First load: only the flags.
void LoadSettingsFlags();

// Second load: every value the pages show; the flags are taken again from them.
SettingsValues LoadSettingsValues();

// Writes the values back to settings.ini as "0"/"1" and adds or removes the start-with-Windows value
// under the subkey SCAN/ST names. The flags in memory keep their start-up values. False when
// settings.ini could not be written.
bool SaveSettingsValues(const SettingsValues& values);

} // namespace tollivar
