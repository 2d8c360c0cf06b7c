#include "app/commands_win.h"

#include "app/dialogs_win.h"
#include "app/heal_commands_win.h"
#include "app/update_command_win.h"
#include "app/shutdown_win.h"
#include "app/window_visibility_win.h"
#include "app/quarantine_manager_win.h"
#include "app/scan_reaction_win.h"
#include "pages/page_switch_win.h"
#include "pages/heal_page_win.h"
#include "pages/list_selection_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_page_win.h"
#include "resources/captions.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

using CommandHandler = void (*)(HWND mainWindow);

template <Page ShownPage>
void ShowPageCommand(HWND mainWindow) {
    RestoreAndShow(mainWindow);
    ShowPage(mainWindow, ShownPage);
}

// "Select All" (1) and "Deselect All" (0) of the three check-box lists.
template <HWND (*List)(), int Select>
void SelectAllCommand(HWND) {
    SelectAllRows(List(), Select);
}

void HideMainWindowCommand(HWND mainWindow) { SendMessageA(mainWindow, WM_CLOSE, 0, 0); }

void ShutdownCommand(HWND mainWindow) {
    if (MessageBoxA(mainWindow, "Do you wish to shutdown the Security System ?", kWarningCaption,
                    MB_YESNO | MB_ICONWARNING) == IDYES)
        ShutdownProgram(mainWindow);
}

struct Command {
    WPARAM id;
    CommandHandler run;
};

const Command kCommands[] = {
    {IDC_HOME_BUTTON, ShowPageCommand<Page::MainInfo>},
    {IDM_SHOW_MAIN_WINDOW, ShowPageCommand<Page::MainInfo>},
    {IDM_ABOUT, ShowPageCommand<Page::MainInfo>},
    {IDC_SHIELD_BUTTON, ShowPageCommand<Page::Shield>},
    {IDM_THREAT_SHIELD, ShowPageCommand<Page::Shield>},
    {IDC_SCAN_BUTTON, ShowPageCommand<Page::Scan>},
    {IDM_THREAT_SCAN, ShowPageCommand<Page::Scan>},
    {IDC_HEAL_BUTTON, ShowPageCommand<Page::Heal>},
    {IDM_HEAL_SYSTEM, ShowPageCommand<Page::Heal>},
    {IDC_SETTINGS_BUTTON, ShowPageCommand<Page::Settings>},
    {IDM_SETTINGS, ShowPageCommand<Page::Settings>},
    {IDC_SCAN_NOW_BUTTON, ShowPageCommand<Page::Scan>},
    {IDC_HEAL_IT_BUTTON, ShowPageCommand<Page::Heal>},
    {IDC_SHIELD_SELECT_ALL_BUTTON, SelectAllCommand<ShieldList, 1>},
    {IDC_SHIELD_DESELECT_ALL_BUTTON, SelectAllCommand<ShieldList, 0>},
    {IDC_SCAN_SELECT_ALL_BUTTON, SelectAllCommand<ScanList, 1>},
    {IDC_SCAN_DESELECT_ALL_BUTTON, SelectAllCommand<ScanList, 0>},
    {IDC_HEAL_SELECT_ALL_BUTTON, SelectAllCommand<HealList, 1>},
    {IDC_HEAL_DESELECT_ALL_BUTTON, SelectAllCommand<HealList, 0>},
    {IDM_HIDE_MAIN_WINDOW, HideMainWindowCommand},
    {IDM_SHUTDOWN, ShutdownCommand},
    {IDC_APPLY_SETTINGS_BUTTON, ApplySettingsCommand},
    {IDC_HEAL_SELECTED_BUTTON, HealShieldCommand},
    {IDC_HEAL_SCAN_SELECTED_BUTTON, HealScanCommand},
    {IDC_HEAL_SYSTEM_BUTTON, HealSystemCommand},
    {IDC_START_SCAN_BUTTON, StartScanCommand},
    // Help, Quarantine and Update leave the window as it is: from the tray the dialogs open on their own.
    {IDC_HELP_BUTTON, ShowHelpDialog},
    {IDM_HELP, ShowHelpDialog},
    {IDC_QUARANTINE_BUTTON, ShowQuarantineManager},
    {IDM_QUARANTINE, ShowQuarantineManager},
    {IDC_UPDATE_BUTTON, UpdateCommand},
    {IDM_UPDATE, UpdateCommand},
};

} // namespace

void RunCommand(HWND mainWindow, WPARAM wParam) {
    for (const Command& command : kCommands) {
        if (command.id == wParam) {
            command.run(mainWindow);
            return;
        }
    }
}

} // namespace tollivar
