// Threat Shield: the check-box list of removable-drive detections and the buttons that act on it.
#include "pages/shield_page_win.h"

#include <iterator>

#include "pages/page_controls_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"
#include "win/module_win.h"

namespace tollivar {
namespace {

PageControls g_page(4100);

using K = ControlKind;
using F = ControlFont;

const ControlSpec kHeader[] = {
    {IDC_SHIELD_PAGE_ICON, K::Icon, "Icon", 26, 16, 34, 34, F::None, &ShellIcons::shield},
    {IDC_SHIELD_PAGE_TITLE, K::Text, "Anti-Threat Resident Shield", 70, 12, 250, 18, F::Bold},
    {IDC_SHIELD_PAGE_TEXT, K::Text,
     "This is your real-time monitoring Resident Shield. This shield will continuously monitor your system and "
     "prevent any infection via a Removable Drive.",
     70, 25, 430, 30, F::Normal},
};

const ListColumn kColumns[] = {{"Infector", 250}, {"Infection", 110}, {"Status", 90}};

const ControlSpec kFooter[] = {
    {IDC_SHIELD_STATUS_TEXT, K::Text, "NO INFECTIONS DETECTED, SYSTEM IS PROTECTED...", 20, 325, 370, 18, F::Bold},
    {IDC_SHIELD_SELECT_ALL_BUTTON, K::Command, "Select All", 165, 385, 90, 24, F::Normal},
    {IDC_SHIELD_DESELECT_ALL_BUTTON, K::Command, "Deselect All", 260, 385, 90, 24, F::Normal},
    {IDC_HEAL_SELECTED_BUTTON, K::Command, "Heal Selected >", 545, 400, 100, 35, F::Normal},
};

} // namespace

HWND ShieldList() { return g_page.Get(IDC_SHIELD_LIST); }
HWND ShieldStatusText() { return g_page.Get(IDC_SHIELD_STATUS_TEXT); }
void SetShieldStatusText(std::string_view text) { SetControlText(ShieldStatusText(), text); }

void BuildShieldPage(HWND mainWindow) {
    for (const ControlSpec& spec : kHeader) CreatePageControl(mainWindow, spec, g_page);
    // One threat icon for the life of the list: every row shows image 0.
    HWND list =
        CreateCheckListView(IDC_SHIELD_LIST, 20, 61, 480, 225, kColumns, static_cast<int>(std::size(kColumns)), g_page);
    AttachRowIcon(list, Icons().threat);
    for (const ControlSpec& spec : kFooter) CreatePageControl(mainWindow, spec, g_page);
}

void ShowShieldPage(bool show) { g_page.Show(show); }

} // namespace tollivar
