#include "app/startup_win.h"

#include "app/dialogs_win.h"
#include "app/heal_commands_win.h"
#include "app/monitor_timer_win.h"
#include "app/shield_reaction_win.h"
#include "app/single_instance_win.h"
#include "app/status_bar_win.h"
#include "app/tray_win.h"
#include "app/window_visibility_win.h"
#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "engine/definitions_scan_win.h"
#include "pages/heal_page_win.h"
#include "pages/list_buttons_win.h"
#include "pages/list_selection_win.h"
#include "pages/main_info_page_win.h"
#include "pages/pages_win.h"
#include "pages/settings_page_win.h"
#include "win/module_win.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"

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

void ShowMainInfoOnly() {
    ShowMainInfoPage(true);
    ShowShieldPage(false);
    ShowScanPage(false);
    ShowHealPage(false);
    ShowSettingsPage(false);
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
    LoadShellIcons(mainWindow);
    ResetAlertCount();
    CreateShellFonts();
    if (SetUpPaths(mainWindow) == PathSetup::FolderRefused) {
        EndDialog(mainWindow, 1);
        return;
    }
    LoadSettingsFlags();
    if (Settings().splashOnStart) ShowSplashDialog(mainWindow);
    BuildPages(mainWindow);
    ShowMainInfoOnly();
    SetLeftButtonFonts(mainWindow);
    SetUpStatusBar(mainWindow);
    CreateTrayMenu();
    ShowSettingsValues(LoadSettingsValues());
    SetDefinitionsVersionText(ReadDefinitionsVersion(Paths().definitionsFile));
    SelectAllRows(HealList(), 1);
    ShowRemovedCount(0);
    ShowAtStart(mainWindow);
    AddTrayIcon(mainWindow, Icons().app);
    StartMonitorTimer(mainWindow);
    RunShieldPass(mainWindow);
    RefreshListButtons(mainWindow);
}

} // namespace tollivar
