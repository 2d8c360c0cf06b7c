#include "app/startup_win.h"

#include "app/dialogs_win.h"
#include "app/monitor_timer_win.h"
#include "app/shell_state_win.h"
#include "app/single_instance_win.h"
#include "app/status_bar_win.h"
#include "app/tray_win.h"
#include "app/window_visibility_win.h"
#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "engine/list_buttons_win.h"
#include "engine/resident_shield_win.h"
#include "engine/scan_worker_win.h"
#include "heal/removed_count_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

void BuildPages(HWND mainWindow) {
    BuildTabControl(mainWindow);
    BuildMainInfoPage(mainWindow);
    BuildShieldPage(mainWindow);
    BuildScanPage(mainWindow);
    BuildHealPage(mainWindow);
    BuildSettingsPage(mainWindow);
}

void ShowMainInfoOnly(HWND mainWindow) {
    ShowMainInfoPage(mainWindow, true);
    ShowShieldPage(mainWindow, false);
    ShowScanPage(mainWindow, false);
    ShowHealPage(mainWindow, false);
    ShowSettingsPage(mainWindow, false);
}

void SetLeftButtonFonts(HWND mainWindow) {
    static const int kLeftButtons[] = {IDC_HOME_BUTTON, IDC_SHIELD_BUTTON,   IDC_SCAN_BUTTON,   IDC_HEAL_BUTTON,
                                       IDC_SETTINGS_BUTTON, IDC_HELP_BUTTON, IDC_UPDATE_BUTTON, IDC_QUARANTINE_BUTTON};
    for (int id : kLeftButtons)
        SendDlgItemMessageA(mainWindow, id, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), TRUE);
}

} // namespace

void RunStartup(HWND mainWindow) {
    EndIfAnotherCopyRuns(mainWindow);
    SetErrorMode(SEM_FAILCRITICALERRORS);
    ClearScanRunning();
    LoadShellIcons(mainWindow);
    ResetAlertCount();
    if (SetUpPathsAndFonts(mainWindow) == PathSetup::FolderRefused) {
        EndDialog(mainWindow, 1);
        return;
    }
    LoadSettingsFlags();
    if (Settings().splashOnStart) ShowSplashDialog(mainWindow);
    BuildPages(mainWindow);
    ShowMainInfoOnly(mainWindow);
    SetLeftButtonFonts(mainWindow);
    SetUpStatusBar(mainWindow);
    CreateTrayMenu();
    LoadSettingsIntoPages(mainWindow);
    UpdateRemovedCount(mainWindow, 0);
    ShowAtStart(mainWindow);
    AddTrayIcon(mainWindow, Icons().app);
    StartMonitorTimer(mainWindow);
    ResidentShieldPass(mainWindow);
    RefreshListButtons(mainWindow);
}

} // namespace tollivar
