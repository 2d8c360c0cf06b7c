#include "config/settings_win.h"

namespace tollivar {
namespace {

SettingsFlags g_settings;

} // namespace

const SettingsFlags& Settings() { return g_settings; }

// settings.ini is not read yet: every flag stays 0 (no splash, no alert, quarantine mode).
void LoadSettingsFlags() {}
void LoadSettingsIntoPages(HWND) {}

} // namespace tollivar
