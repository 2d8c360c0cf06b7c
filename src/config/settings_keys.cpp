#include "config/settings_keys.h"

namespace tollivar {

const std::array<SettingsKey, kSettingsKeyCount>& SettingsPageKeys() {
    static const std::array<SettingsKey, kSettingsKeyCount> keys = {{
        {"SCAN", "LD", SettingsFlag::None},     // Threat Scan " Local Drives."
        {"SCAN", "RM", SettingsFlag::None},     // Threat Scan " Removable Media."
        {"SETTINGS", "S1", SettingsFlag::None}, // start with Windows
        {"SETTINGS", "S2", SettingsFlag::Splash},
        {"SETTINGS", "S3", SettingsFlag::Alert},
        {"SETTINGS", "S4", SettingsFlag::None}, // quarantine radio: shown only
        {"SETTINGS", "S5", SettingsFlag::Destroy},
    }};
    return keys;
}

std::string SettingValueText(int value) { return std::to_string(value); }

} // namespace tollivar
