#include "config/settings_win.h"

#include <string>

#include "config/install_paths_win.h"
#include "config/registry_writer_win.h"
#include "config/settings_keys.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr DWORD kTextBuffer = 512;

SettingsFlags g_settings;

int ReadSetting(const SettingsKey& key) {
    const std::string section(key.section);
    const std::string name(key.key);
    return static_cast<int>(GetPrivateProfileIntW(WideFromUtf8(section).c_str(), WideFromUtf8(name).c_str(),
                                                  0, WidePath(Paths().settingsFile).c_str()));
}

void KeepFlag(SettingsFlag flag, int value) {
    switch (flag) {
    case SettingsFlag::Splash:
        g_settings.splashOnStart = value;
        break;
    case SettingsFlag::Alert:
        g_settings.alertOnDetection = value;
        break;
    case SettingsFlag::Destroy:
        g_settings.destroyThreats = value;
        break;
    case SettingsFlag::None:
        break;
    }
}

std::string ReadProfileText(const char* section, const char* key, const std::string& file) {
    wchar_t buffer[kTextBuffer] = {};
    GetPrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(key).c_str(), L"", buffer,
                             kTextBuffer, WidePath(file).c_str());
    return Utf8FromWide(buffer);
}

bool WriteSetting(const SettingsKey& key, int value) {
    const std::string section(key.section);
    const std::string name(key.key);
    const std::string text = SettingValueText(value);
    return WritePrivateProfileStringW(WideFromUtf8(section).c_str(), WideFromUtf8(name).c_str(),
                                      WideFromUtf8(text).c_str(),
                                      WidePath(Paths().settingsFile).c_str()) != FALSE;
}

// The value "Tollivar" = the start-up command under HKEY_CURRENT_USER\<ST>, or no such value.
void ApplyStartWithWindows(int startWithWindows) {
    const std::string scan(kScanSection);
    const std::string stKey(kStartupSubkeyKey);
    const std::string subkey = ReadProfileText(scan.c_str(), stKey.c_str(), Paths().settingsFile);
    // Without ST nothing says where the value belongs; the root of HKEY_CURRENT_USER is no place for it.
    if (subkey.empty()) return;
    const std::string valueName(kStartupValueName);
    WriteRegistryValue(HKEY_CURRENT_USER, subkey.c_str(), REG_SZ, valueName.c_str(),
                       Paths().startupCommand.c_str(), startWithWindows != 0 ? 0 : 1);
}

} // namespace

const SettingsFlags& Settings() {
    return g_settings;
}

void LoadSettingsFlags() {
    for (const SettingsKey& key : SettingsPageKeys())
        if (key.flag != SettingsFlag::None) KeepFlag(key.flag, ReadSetting(key));
}

SettingsValues LoadSettingsValues() {
    SettingsValues values{};
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const SettingsKey& key = SettingsPageKeys()[i];
        values[i] = ReadSetting(key);
        KeepFlag(key.flag, values[i]);
    }
    return values;
}

bool SaveSettingsValues(const SettingsValues& values) {
    // A read-only settings.ini is refused as Windows refuses it, also where the writer would get
    // through anyway (an administrator under Wine): nothing is changed and the user is told.
    const DWORD attributes = GetFileAttributesW(WidePath(Paths().settingsFile).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    bool written = true;
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i) {
        const SettingsKey& key = SettingsPageKeys()[i];
        if (key.key == kStartWithWindowsKey) ApplyStartWithWindows(values[i]);
        written = WriteSetting(key, values[i]) && written;
    }
    return written;
}

} // namespace tollivar
