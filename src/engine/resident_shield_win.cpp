#include "engine/resident_shield_win.h"

#include <commctrl.h>

#include <cstring>

#include "app/heal_commands_win.h"
#include "app/shell_state_win.h"
#include "app/status_bar_win.h"
#include "app/window_visibility_win.h"
#include "config/settings_win.h"
#include "engine/autorun_analysis_win.h"
#include "engine/detection_lists_win.h"
#include "engine/shield_alert_win.h"
#include "engine/shield_rules.h"
#include "pages/list_rows_win.h"
#include "pages/page_switch_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_page_win.h"

namespace tollivar {
namespace {

constexpr int kShieldPage = 1;
constexpr int kScanPage = 2;

AlertCount g_alertCount;

// A fresh small-image list for the Threat Shield rows; the one it replaces is destroyed.
HIMAGELIST RenewShieldImages(HWND shieldList) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    const auto old = reinterpret_cast<HIMAGELIST>(
        SendMessageA(shieldList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old && old != images) ImageList_Destroy(old);
    return images;
}

// The shield examines removable drives only, and never the floppy letters.
bool ShieldExamines(const char* root) {
    if (std::strcmp(root, "A:\\") == 0 || std::strcmp(root, "B:\\") == 0) return false;
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

void ListNewFindings(HWND shieldList, HIMAGELIST images) {
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives) return;
    for (const char* root = drives; *root; root += std::strlen(root) + 1) {
        if (!ShieldExamines(root)) continue;
        const AutorunFinding finding = AnalyzeAutorun(root);
        if (!finding.Found()) continue;
        if (images) ImageList_AddIcon(images, Icons().threat);
        AddShieldDetection(shieldList, finding);
    }
}

void ActOnAlert(HWND mainWindow) {
    switch (ShowShieldAlert(mainWindow)) {
    case AlertChoice::Heal:
        RestoreAndShow(mainWindow);
        ShowPage(mainWindow, kShieldPage);
        HealShieldCommand(mainWindow); // asks, then heals
        break;
    case AlertChoice::FullScan:
        // Shows where a scan is started; the user starts it.
        RestoreAndShow(mainWindow);
        ShowPage(mainWindow, kScanPage);
        break;
    case AlertChoice::Ignore:
        break;
    }
}

} // namespace

void ResetAlertCount() { g_alertCount.Reset(); }

void ResidentShieldPass(HWND mainWindow) {
    HWND shieldList = ShieldList();
    if (!shieldList) return; // the pages were never built
    ListNewFindings(shieldList, RenewShieldImages(shieldList));

    const int shieldRows = ListRowCount(shieldList);
    SetShieldStatusText(ShieldStatusLine(shieldRows));
    SetProtectionStatus(mainWindow, ProtectionStatusLine(shieldRows + ListRowCount(ScanList())).c_str());

    // The count is taken before anything is shown: passes that run while the alert is open (the
    // dialog's loop keeps the timer going) find it unchanged and open nothing.
    if (!g_alertCount.TakeCount(ListRowCount(shieldList))) return;
    ShowPage(mainWindow, kShieldPage);
    if (Settings().alertOnDetection == 0) return;
    ActOnAlert(mainWindow);
}

} // namespace tollivar
