#include "config/settings_keys.h"

namespace tollivar {

const std::array<SettingsKey, 7>& SettingsPageKeys() {
    static const std::array<SettingsKey, 7> keys = {{
        {"SCAN", "LD", 4205, SettingsFlag::None},     // Threat Scan " Local Drives."
        {"SCAN", "RM", 4206, SettingsFlag::None},     // Threat Scan " Removable Media."
        {"SETTINGS", "S1", 4404, SettingsFlag::None}, // start with Windows
        {"SETTINGS", "S2", 4405, SettingsFlag::Splash},
        {"SETTINGS", "S3", 4406, SettingsFlag::Alert},
        {"SETTINGS", "S4", 4408, SettingsFlag::None}, // quarantine radio: shown only
        {"SETTINGS", "S5", 4409, SettingsFlag::Destroy},
    }};
    return keys;
}

std::string SettingValueText(int value) { return std::to_string(value); }

} // namespace tollivar
