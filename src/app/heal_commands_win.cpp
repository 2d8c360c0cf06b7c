#include "app/heal_commands_win.h"

#include <shellapi.h>

#include <string>

#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "heal/heal_lists_win.h"
#include "heal/system_heal_win.h"

namespace tollivar {
namespace {

constexpr char kWarningCaption[] = "[ WARNiNG ]";
constexpr char kHealQuestion[] = "Selected Malware Infections will moved to Quarantine. Continue ?";

bool Confirmed(HWND mainWindow, const char* question) {
    return MessageBoxA(mainWindow, question, kWarningCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

} // namespace

void ApplySettingsCommand(HWND mainWindow) {
    if (SaveSettings(mainWindow)) {
        MessageBoxA(mainWindow, "Your settings have been modified successfully!", "[ DONE ]", MB_ICONINFORMATION);
        return;
    }
    MessageBoxA(mainWindow,
                "Your settings could not be saved.\n\rsettings.ini in the install folder cannot be written.",
                kWarningCaption, MB_ICONWARNING);
}

void HealShieldCommand(HWND mainWindow) {
    if (Confirmed(mainWindow, kHealQuestion)) HealShieldList();
}

void HealScanCommand(HWND mainWindow) {
    if (!Confirmed(mainWindow, kHealQuestion)) return;
    // The install's own clean-up runs hidden before the heal; nothing waits for it.
    const std::string script = Paths().binFolder + "unscript.bat";
    ShellExecuteA(nullptr, nullptr, script.c_str(), nullptr, nullptr, SW_HIDE);
    Sleep(200);
    HealScanList();
    const std::string parameters = "-s \"" + Paths().binFolder + "unstart.reg\"";
    ShellExecuteA(nullptr, nullptr, "regedit.exe", parameters.c_str(), nullptr, SW_SHOW);
}

void HealSystemCommand(HWND mainWindow) {
    if (!Confirmed(mainWindow, "Continue healing the system of the selected infections ?")) return;
    HealSystem();
    MessageBoxA(mainWindow, "A restart is required for the changes to take effect.", kWarningCaption,
                MB_ICONINFORMATION);
}

} // namespace tollivar
