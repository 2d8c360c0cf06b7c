// Main Info: the product header, two feature groups leading to the Threat Scan and Heal System pages,
// and four small status groups.
#include "pages/main_info_page_win.h"

#include "pages/page_controls_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

PageControls g_page(4000);

using K = ControlKind;
using F = ControlFont;

const ControlSpec kControls[] = {
    {IDC_MAIN_FOOTER, K::CentredText, "Tollivar v1.0 - Copyright (C) Tollivar. All rights reserved.", 20, 335,
     480, 16, F::Normal},
    {IDC_MAIN_ICON, K::Icon, "Icon", 17, 13, 34, 34, F::None, &ShellIcons::app},
    {IDC_MAIN_TITLE, K::Text, "Tollivar - The Ultimate USB Anti-Virus", 60, 17, 350, 18, F::Bold},
    {IDC_MAIN_SUBTITLE, K::Text, "Rock-Solid protection against any USB Threat attacks, guaranteed...", 60,
     30, 350, 18, F::Normal},
    {IDC_WHY_GROUP, K::Group, "Why Tollivar", 20, 60, 280, 185, F::Normal},
    {IDC_WHY_ICON, K::Icon, "Icon", 32, 75, 34, 34, F::None, &ShellIcons::scan},
    {IDC_WHY_TEXT, K::Text, "If you use any Removable Media(USB), you need Tollivar...", 75, 80, 220, 30,
     F::Normal},
    {IDC_WHY_TECHNOLOGY_TEXT, K::Text,
     "Tollivar's unique Proactive and Definition Technology combined together unleashes a new power to "
     "provide "
     "maximum protection. The unique technology does not require regular updates, protects both online and "
     "offline "
     "computers effectively.",
     30, 110, 265, 65, F::Normal},
    {IDC_WHY_GUARANTEE_TEXT, K::Text,
     "The best of the Anti-Virus misses most of these USB threats, Tollivar's unique technology  spares "
     "none, "
     "guaranteed.",
     30, 180, 260, 40, F::Normal},
    {IDC_SCAN_NOW_BUTTON, K::Command, "Scan Now >", 324, 307, 110, 24, F::Normal},
    {IDC_SYSTEM_HEAL_GROUP, K::Group, "Advanced System Heal", 20, 250, 280, 75, F::Normal},
    {IDC_SYSTEM_HEAL_ICON, K::Icon, "Icon", 30, 265, 34, 34, F::None, &ShellIcons::heal},
    {IDC_SYSTEM_HEAL_TEXT, K::Text,
     "An earlier infection of a malware may have crippled your system and is causing problems, heal your "
     "system "
     "now...",
     75, 265, 220, 40, F::Normal},
    {IDC_HEAL_IT_BUTTON, K::Command, "Heal It >", 355, 389, 80, 24, F::Normal},
    {IDC_REMOVAL_GROUP, K::Group, "Threats Removal Statistics", 310, 60, 190, 40, F::Normal},
    {IDC_REMOVED_LABEL, K::Text, "Threats Removed :", 320, 77, 110, 16, F::Bold},
    {IDC_REMOVED_COUNT_TEXT, K::Text, "00", 440, 77, 50, 16, F::Normal},
    {IDC_SHIELD_STATE_GROUP, K::Group, "Resident Shield Status", 310, 105, 190, 60, F::Normal},
    {IDC_SHIELD_STATE_ICON, K::Icon, "Status :", 364, 123, 32, 32, F::None, &ShellIcons::shield},
    {IDC_SHIELD_STATE_TEXT, K::Text, "ACTIVE", 403, 132, 55, 16, F::Bold},
    {IDC_DEFS_GROUP, K::Group, "Definition Database Version", 310, 180, 190, 40, F::Normal},
    {IDC_DEFS_LABEL, K::Text, "Version :", 320, 197, 95, 16, F::Bold},
    {IDC_DEFS_VERSION_TEXT, K::Text, "-", 440, 197, 50, 16, F::Normal},
    {IDC_PROGRAM_VERSION_GROUP, K::Group, "Program Version", 310, 225, 190, 40, F::Normal},
    {IDC_PROGRAM_VERSION_LABEL, K::Text, "Version :", 320, 242, 95, 16, F::Bold},
    {IDC_PROGRAM_VERSION_TEXT, K::Text, "v1.0", 440, 242, 50, 16, F::Normal},
};

} // namespace

HWND RemovedCountText() {
    return g_page.Get(IDC_REMOVED_COUNT_TEXT);
}
HWND DefsVersionText() {
    return g_page.Get(IDC_DEFS_VERSION_TEXT);
}

void BuildMainInfoPage(HWND mainWindow) {
    for (const ControlSpec& spec : kControls)
        CreatePageControl(mainWindow, spec, g_page);
}

void ShowMainInfoPage(bool show) {
    g_page.Show(show);
}

void SetRemovedCountText(const std::string& text) {
    SetWindowTextA(RemovedCountText(), text.c_str());
}
void SetDefinitionsVersionText(const std::string& text) {
    SetWindowTextW(DefsVersionText(), WideFromUtf8(text).c_str());
}

} // namespace tollivar
