#include "app/shield_reaction_win.h"

#include "app/event_reports_win.h"
#include "app/heal_commands_win.h"
#include "app/status_bar_win.h"
#include "app/window_visibility_win.h"
#include "config/settings_win.h"
#include "engine/drives_win.h"
#include "engine/resident_shield_win.h"
#include "engine/shortcut_scan_win.h"
#include "engine/shield_rules.h"
#include "pages/detection_lists_win.h"
#include "pages/list_rows_win.h"
#include "pages/page_switch_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_alert_win.h"
#include "pages/shield_page_win.h"

namespace tollivar {
namespace {

AlertCount g_alertCount;

// Every pass runs on the UI thread; the scan worker has a scanner of its own.
RootShortcutScanner& RootShortcuts() {
    static RootShortcutScanner scanner;
    return scanner;
}

std::vector<ShortcutFinding> ListedShortcutFindings(const std::vector<std::string>& roots) {
    return ShortcutFindings(RootShortcuts(), roots);
}

void ActOnAlert(HWND mainWindow) {
    switch (ShowShieldAlert(mainWindow)) {
    case AlertChoice::Heal:
        RestoreAndShow(mainWindow);
        ShowPage(mainWindow, Page::Shield);
        HealShieldCommand(mainWindow); // asks, then heals
        break;
    case AlertChoice::FullScan:
        // Shows where a scan is started; the user starts it.
        RestoreAndShow(mainWindow);
        ShowPage(mainWindow, Page::Scan);
        break;
    case AlertChoice::Ignore:
        break;
    }
}

} // namespace

void ResetAlertCount() { g_alertCount.Reset(); }

void RunShieldPass(HWND mainWindow) {
    RunShieldPass(mainWindow, DriveRoots(DriveKind::Removable));
}

void RunShieldPass(HWND mainWindow, const std::vector<std::string>& roots) {
    HWND shieldList = ShieldList();
    if (!shieldList) return; // the pages were never built
    LogShieldDetections(ShowShieldFindings(ShieldFindings(roots)));
    LogShieldRows(ShowShortcutFindings(ListedShortcutFindings(roots)));

    const int shieldRows = ListRowCount(shieldList);
    SetShieldStatusText(ShieldStatusLine(shieldRows));
    SetProtectionStatus(mainWindow, ProtectionStatusLine(shieldRows + ListRowCount(ScanList())).c_str());

    // The count is taken before anything is shown: passes that run while the alert is open (the
    // dialog's loop keeps the timer going) find it unchanged and open nothing.
    if (!g_alertCount.TakeCount(shieldRows)) return;
    ShowPage(mainWindow, Page::Shield);
    if (Settings().alertOnDetection == 0) return;
    ActOnAlert(mainWindow);
}

} // namespace tollivar
