// Threat Scan: what a scan covers, its results as a check-box list, its progress and status, and the
// buttons that start it and act on its results.
#include "pages/scan_page_win.h"

#include <commctrl.h>

#include <iterator>

#include "pages/page_controls_win.h"
#include "pages/tab_control_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

PageControls g_page(4200);

using K = ControlKind;
using F = ControlFont;

const ControlSpec kHeader[] = {
    {IDC_SCAN_PAGE_ICON, K::Icon, "Icon", 26, 16, 34, 34, F::None, &ShellIcons::scan},
    {IDC_SCAN_PAGE_TITLE, K::Text, "Anti-Threat Advanced Scan", 70, 12, 250, 18, F::Bold},
    {IDC_SCAN_PAGE_TEXT, K::Text,
     "Tollivar uses Definition Based as well as Proactive Technology to detect and remove infections. Be safe, be "
     "secured. Maximum protection guaranteed.",
     70, 25, 430, 40, F::Normal},
    {IDC_SCAN_OPTIONS_GROUP, K::Group, "Threat Scan Options.", 23, 55, 470, 40, F::Normal},
    {IDC_SCAN_MEMORY_CHECK, K::CheckBox, " OS Memory.", 35, 71, 100, 16, F::Normal},
    {IDC_SCAN_LOCAL_DRIVES_CHECK, K::CheckBox, " Local Drives.", 220, 71, 100, 16, F::Normal},
    {IDC_SCAN_REMOVABLE_CHECK, K::CheckBox, " Removable Media.", 370, 71, 120, 16, F::Normal},
};

const ListColumn kColumns[] = {{"Infection", 270}, {"#", 25}, {"Identification", 150}};

const ControlSpec kProgressLabel = {IDC_SCAN_PROGRESS_LABEL, K::Text, "Progress :", 18, 328, 60, 18, F::Bold};

const ControlSpec kFooter[] = {
    {IDC_SCAN_STATUS_TEXT, K::CentredText, "PLEASE RUN A SCAN FIRST...", 210, 304, 180, 18, F::Bold},
    {IDC_SCAN_SELECT_ALL_BUTTON, K::Command, "Select All", 163, 394, 90, 24, F::Normal},
    {IDC_SCAN_DESELECT_ALL_BUTTON, K::Command, "Deselect All", 258, 394, 90, 24, F::Normal},
    {IDC_START_SCAN_BUTTON, K::Command, "Start Scan >", 543, 393, 100, 24, F::Normal},
    {IDC_HEAL_SCAN_SELECTED_BUTTON, K::Command, "Heal Sel. X", 543, 417, 100, 24, F::Normal},
};

} // namespace

HWND ScanMemoryCheck() { return g_page.Get(IDC_SCAN_MEMORY_CHECK); }
namespace {

bool Ticked(HWND box) { return box && SendMessageA(box, BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

} // namespace

void EnableScanControls(bool enable) {
    for (HWND control : {ScanLocalDrivesCheck(), ScanRemovableCheck(), StartScanButton()})
        if (control) EnableWindow(control, enable);
}

bool LocalDrivesTicked() { return Ticked(ScanLocalDrivesCheck()); }
bool RemovableMediaTicked() { return Ticked(ScanRemovableCheck()); }

HWND ScanLocalDrivesCheck() { return g_page.Get(IDC_SCAN_LOCAL_DRIVES_CHECK); }
HWND ScanRemovableCheck() { return g_page.Get(IDC_SCAN_REMOVABLE_CHECK); }
HWND ScanList() { return g_page.Get(IDC_SCAN_LIST); }
HWND ScanProgress() { return g_page.Get(IDC_SCAN_PROGRESS); }
HWND ScanStatusText() { return g_page.Get(IDC_SCAN_STATUS_TEXT); }
HWND StartScanButton() { return g_page.Get(IDC_START_SCAN_BUTTON); }
void SetScanStatusText(std::string_view text) { SetControlText(ScanStatusText(), text); }

void BuildScanPage(HWND mainWindow) {
    for (const ControlSpec& spec : kHeader) CreatePageControl(mainWindow, spec, g_page);
    // The OS Memory phase always runs: its box shows that and cannot be changed.
    SendMessageA(ScanMemoryCheck(), BM_SETCHECK, BST_CHECKED, 0);
    EnableWindow(ScanMemoryCheck(), FALSE);

    HWND list = CreateCheckListView(IDC_SCAN_LIST, 18, 100, 482, 195, kColumns,
                                    static_cast<int>(std::size(kColumns)), g_page);
    AttachRowIcon(list, Icons().threat);

    CreatePageControl(mainWindow, kProgressLabel, g_page);
    // The bar keeps its default range of 0 to 100 and takes no keyboard focus.
    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "Progress", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 80, 329, 310,
                                    14, PagePanel(), reinterpret_cast<HMENU>(IDC_SCAN_PROGRESS), ModuleInstance(),
                                    nullptr);
    SetControlFont(progress, F::Normal);
    g_page.Add(IDC_SCAN_PROGRESS, progress);

    for (const ControlSpec& spec : kFooter) CreatePageControl(mainWindow, spec, g_page);
}

void ShowScanPage(bool show) { g_page.Show(show); }

} // namespace tollivar
