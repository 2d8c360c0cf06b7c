// The keys of settings.ini that the pages show and "Apply Settings >" writes back. Platform-free.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tollivar {

enum class SettingsFlag { None, Splash, Alert, Destroy };

struct SettingsKey {
    std::string_view section;
    std::string_view key;
    SettingsFlag flag;   // the start-up flag it also sets
};

inline constexpr std::size_t kSettingsKeyCount = 7;

// In the order they are loaded and saved: LD, RM, S1, S2, S3, S4, S5.
const std::array<SettingsKey, kSettingsKeyCount>& SettingsPageKeys();

// The value of every key, in the order of SettingsPageKeys.
using SettingsValues = std::array<int, kSettingsKeyCount>;

inline constexpr std::string_view kScanSection = "SCAN";
inline constexpr std::string_view kStartupSubkeyKey = "ST"; // read only: where the start-with-Windows value goes
inline constexpr std::string_view kStartupValueName = "Tollivar";
inline constexpr std::string_view kStartWithWindowsKey = "S1"; // applied to the registry on save

// A key's value as written: the button state with "%d", "0" unticked and "1" ticked.
std::string SettingValueText(int value);

} // namespace tollivar
