#include "heal/heal_rows.h"

namespace tollivar {

const std::array<HealRowText, kHealRowCount>& HealRows() {
    static constexpr std::array<HealRowText, kHealRowCount> kRows = {{
        {"WinLogon Infection", "Infection tries to deploy WinLogon."},
        {"Startup Nag Infection", "Displays a nag at Windows Startup."},
        {"Anti-Virus Infection", "Unable to Install any Anti-Virus."},
        {"Security Centre Infection", "Unable to install updates."},
        {"Windows Update Infection", "Unable to install updates."},
        {"Restricted Program Infection", "Unable to launch various applications."},
        {"Drive Autorun Infection", "Infection tries to deploy autorun to infect."},
        {"No Drives Infection", "Unable to view installed drives."},
        {"Restricted Drives Infection", "Unable to access installed drives."},
        {"Task Manager Infection", "Unable to launch Task Manager."},
        {"Registry Editor Infection", "Unable to launch Registry Editor."},
        {"Command Prompt Infection", "Unable to access Command Prompt."},
        {"No Folder Options Infection", "Unable to view Folder Options."},
        {"No Set Folder Infection", "Unable to set Folder Options."},
        {"Hidden File\\Folder Infection", "Unable to view Hidden Files/Folders."},
        {"Super Hidden Infection", "Unable to run various applications."},
        {"Desktop Icon Infection", "Unable to view the Desktop Icons."},
        {"Run Command Infection", "Unable to view the Run Command."},
        {"Search Infection", "Unable to use Search Function."},
        {"Control Panel Infection", "Unable to view Control Panel."},
        {"Control Panel Display Infection", "Unable to view Control Panel Contents."},
        {"Add/Remove Programs Infection", "Unable to launch Add/Remove Programs."},
        {"Shutdown Infection", "Unable to Shutdown Windows."},
        {"Logoff Infection", "Unable to Logoff Windows."},
        {"Start Menu Logoff Infection", "Unable to Logoff Windows from Start Menu."},
        {"Tray Context Menu Infection", "Unable to view Tray Context Menu."},
        {"IE Home Page Change Infection", "IE Homepage continues to change."},
        {"IE Close Infection", "Unable to close IE."},
        {"IE Options Infection", "Unable to view IE Options."},
        {"IE Source View Infection", "Unable to view page source in IE."},
        {"IE Addressbar Infection", "Unable to view Addressbar in IE."},
        {"IE Context Menu Infection", "Unable to view IE Context Menu."},
        {"IE Navigation Infection", "Unable to view IE Navigation Buttons."},
        {"IE Toolbar Infection", "Unable to view IE Toolbar Buttons."},
    }};
    return kRows;
}

} // namespace tollivar
