#include "config/settings_win.h"

#include "pages/heal_page_win.h"
#include "pages/list_selection_win.h"

namespace tollivar {
namespace {

SettingsFlags g_settings;

} // namespace

const SettingsFlags& Settings() { return g_settings; }

// settings.ini is not read yet: every flag stays 0 (no splash, no alert, quarantine mode).
void LoadSettingsFlags() {}
void LoadSettingsIntoPages(HWND) {
    // Every repair starts ticked.
    SelectAllRows(HealList(), 1);
}

} // namespace tollivar
