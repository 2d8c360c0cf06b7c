// Settings: three check boxes, a pair of radio buttons and the button that saves them.
#include "pages/settings_page_win.h"

#include "pages/page_controls_win.h"
#include "pages/pages_win.h"
#include "pages/scan_page_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

PageControls g_page(4400);

using K = ControlKind;
using F = ControlFont;

// No control has WS_GROUP: the two radio buttons, the panel's only ones, uncheck each other.
const ControlSpec kControls[] = {
    {IDC_SETTINGS_PAGE_ICON, K::Icon, "Icon", 20, 18, 34, 34, F::None, &ShellIcons::settings},
    {IDC_SETTINGS_PAGE_TITLE, K::Text, "Tollivar Settings", 70, 12, 250, 18, F::Bold},
    {IDC_SETTINGS_PAGE_TEXT, K::Text,
     "You can modify settings of Tollivar accordingly. With Settings set according to you, it will be easier to "
     "handle Tollivar.",
     70, 25, 430, 40, F::Normal},
    {IDC_GENERAL_SETTINGS_GROUP, K::Group, " General Settings", 23, 60, 470, 85, F::Normal},
    {IDC_START_WITH_WINDOWS_CHECK, K::CheckBox, " Start with Windows.  [Recomended]", 35, 77, 220, 16, F::Normal},
    {IDC_SPLASH_CHECK, K::CheckBox, " Display Splash Screen on startup.", 35, 97, 240, 16, F::Normal},
    {IDC_ALERT_CHECK, K::CheckBox, " Display Alert Window on Threat Dectection.", 35, 117, 240, 16, F::Normal},
    {IDC_REMOVAL_SETTINGS_GROUP, K::Group, " Threat Removal Settings", 23, 150, 470, 60, F::Normal},
    {IDC_QUARANTINE_RADIO, K::Radio, " Quarantine Threats safely.  [Recomended]", 35, 167, 240, 16, F::Normal},
    {IDC_DESTROY_RADIO, K::Radio, " Destroy Threats forever.", 35, 187, 240, 16, F::Normal},
    {IDC_APPLY_SETTINGS_BUTTON, K::Command, "Apply Settings >", 545, 410, 100, 24, F::Normal},
};

} // namespace

HWND StartWithWindowsCheck() { return g_page.Get(IDC_START_WITH_WINDOWS_CHECK); }
HWND SplashCheck() { return g_page.Get(IDC_SPLASH_CHECK); }
HWND AlertCheck() { return g_page.Get(IDC_ALERT_CHECK); }
HWND QuarantineRadio() { return g_page.Get(IDC_QUARANTINE_RADIO); }
HWND DestroyRadio() { return g_page.Get(IDC_DESTROY_RADIO); }

namespace {

// The control of each settings key, in the order of SettingsPageKeys (LD, RM, S1 ... S5).
const std::array<HWND (*)(), kSettingsKeyCount> kKeyControls = {
    ScanLocalDrivesCheck, ScanRemovableCheck, StartWithWindowsCheck, SplashCheck, AlertCheck, QuarantineRadio,
    DestroyRadio,
};

} // namespace

void ShowSettingsValues(const SettingsValues& values) {
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i)
        SendMessageA(kKeyControls[i](), BM_SETCHECK, static_cast<WPARAM>(values[i]), 0);
}

SettingsValues SettingsValuesShown() {
    SettingsValues values{};
    for (std::size_t i = 0; i < kSettingsKeyCount; ++i)
        values[i] = static_cast<int>(SendMessageA(kKeyControls[i](), BM_GETCHECK, 0, 0));
    return values;
}

void BuildSettingsPage(HWND mainWindow) {
    for (const ControlSpec& spec : kControls) CreatePageControl(mainWindow, spec, g_page);
}

void ShowSettingsPage(bool show) { g_page.Show(show); }

} // namespace tollivar
