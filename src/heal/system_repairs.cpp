#include "heal/system_repairs.h"

#include <algorithm>
#include <array>

namespace tollivar {
namespace {

// Subkeys as they have always been written, mixed capitals included (the registry ignores case).
constexpr std::string_view kWinlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::string_view kWinlogonUpper = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::string_view kPoliciesSystemLower = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
constexpr std::string_view kInstaller = "Software\\Policies\\Microsoft\\Windows\\Installer";
constexpr std::string_view kWindowsUpdateAU = "Software\\Policies\\Microsoft\\Windows\\WindowsUpdate\\AU";
constexpr std::string_view kExplorerLower = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
constexpr std::string_view kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr std::string_view kSystem = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr std::string_view kTaskManager = "Software\\Microsoft\\Windows NT\\CurrentVersion\\TaskManager";
constexpr std::string_view kPoliciesWindowsSystem = "Software\\Policies\\Microsoft\\Windows\\System";
constexpr std::string_view kAdvanced = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr std::string_view kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Uninstall";
constexpr std::string_view kIeControlPanel = "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
constexpr std::string_view kIeRestrictions = "Software\\Policies\\Microsoft\\Internet Explorer\\Restrictions";
constexpr std::string_view kIeToolbars = "Software\\Policies\\Microsoft\\Internet Explorer\\Toolbars\\Restrictions";

// One line of a row: written under both roots; machineSubkey empty means the same subkey as the user's.
struct RepairLine {
    std::string_view userSubkey;
    std::string_view machineSubkey;
    std::string_view valueName;
    std::uint32_t type;
    const char* dataText;
    bool deleteAfter;
};

constexpr RepairLine Dword(std::string_view subkey, std::string_view name, const char* digit = "0") {
    return {subkey, {}, name, kRegDword, digit, false};
}

struct RepairLines {
    std::array<RepairLine, 2> lines;
    std::size_t lineCount;
};

constexpr RepairLines One(RepairLine line) { return {{line, RepairLine{}}, 1}; }
constexpr RepairLines Two(RepairLine a, RepairLine b) { return {{a, b}, 2}; }

// One row of the Heal System list: what it shows and the registry repair it makes, in list order.
struct SystemRepair {
    std::string_view infection;
    std::string_view damage;
    RepairLines repair;
};

const std::array<SystemRepair, kRepairRowCount> kRows = {{
    {"WinLogon Infection", "Infection tries to deploy WinLogon.",
     One({kWinlogon, {}, "Shell", kRegSz, "Explorer.exe", false})},
    {"Startup Nag Infection", "Displays a nag at Windows Startup.",
     Two({kPoliciesSystemLower, kWinlogonUpper, "legalnoticecaption", kRegSz, "", false},
        {kPoliciesSystemLower, kWinlogonUpper, "legalnoticetext", kRegSz, "", false})},
    {"Anti-Virus Infection", "Unable to Install any Anti-Virus.",
     One(Dword(kInstaller, "DisableMSI"))},
    {"Security Centre Infection", "Unable to install updates.",
     One(Dword(kWindowsUpdateAU, "NoAutoUpdate"))},
    {"Windows Update Infection", "Unable to install updates.",
     One(Dword(kExplorerLower, "NoWindowsUpdate"))},
    {"Restricted Program Infection", "Unable to launch various applications.",
     One(Dword(kExplorerLower, "DisallowRun"))},
    {"Drive Autorun Infection", "Infection tries to deploy autorun to infect.",
     One(Dword(kExplorer, "NoDriveTypeAutoRun", "4"))},
    {"No Drives Infection", "Unable to view installed drives.",
     One(Dword(kExplorer, "NoDrives"))},
    {"Restricted Drives Infection", "Unable to access installed drives.",
     One(Dword(kExplorer, "NoViewOnDrive"))},
    {"Task Manager Infection", "Unable to launch Task Manager.",
     Two(Dword(kSystem, "DisableTaskMgr"),
        {kTaskManager, {}, "Preferences", kRegDword, "0", true})},
    {"Registry Editor Infection", "Unable to launch Registry Editor.",
     One(Dword(kSystem, "DisableRegistryTools"))},
    {"Command Prompt Infection", "Unable to access Command Prompt.",
     One(Dword(kPoliciesWindowsSystem, "DisableCMD"))},
    {"No Folder Options Infection", "Unable to view Folder Options.",
     One(Dword(kExplorer, "NoFolderOptions"))},
    {"No Set Folder Infection", "Unable to set Folder Options.",
     One(Dword(kExplorer, "NoSetFolders"))},
    {"Hidden File\\Folder Infection", "Unable to view Hidden Files/Folders.",
     One(Dword(kAdvanced, "Hidden"))},
    {"Super Hidden Infection", "Unable to run various applications.",
     One(Dword(kAdvanced, "ShowSuperHidden"))},
    {"Desktop Icon Infection", "Unable to view the Desktop Icons.",
     One(Dword(kAdvanced, "HideIcons"))},
    {"Run Command Infection", "Unable to view the Run Command.",
     One(Dword(kExplorer, "NoRun"))},
    {"Search Infection", "Unable to use Search Function.",
     One(Dword(kExplorer, "NoFind"))},
    {"Control Panel Infection", "Unable to view Control Panel.",
     One(Dword(kExplorerLower, "NoControlPanel"))},
    {"Control Panel Display Infection", "Unable to view Control Panel Contents.",
     One(Dword(kSystem, "NoDispCPL"))},
    {"Add/Remove Programs Infection", "Unable to launch Add/Remove Programs.",
     One(Dword(kUninstall, "NoAddRemovePrograms"))},
    {"Shutdown Infection", "Unable to Shutdown Windows.",
     One(Dword(kExplorerLower, "NoClose"))},
    {"Logoff Infection", "Unable to Logoff Windows.",
     One(Dword(kExplorerLower, "NoLogoff"))},
    {"Start Menu Logoff Infection", "Unable to Logoff Windows from Start Menu.",
     One(Dword(kExplorerLower, "StartMenuLogOff"))},
    {"Tray Context Menu Infection", "Unable to view Tray Context Menu.",
     One(Dword(kExplorerLower, "NoTrayContextMenu"))},
    {"IE Home Page Change Infection", "IE Homepage continues to change.",
     One(Dword(kIeControlPanel, "HomePage"))},
    {"IE Close Infection", "Unable to close IE.",
     One(Dword(kIeRestrictions, "NoBrowserClose"))},
    {"IE Options Infection", "Unable to view IE Options.",
     One(Dword(kIeRestrictions, "NoBrowserOptions"))},
    {"IE Source View Infection", "Unable to view page source in IE.",
     One(Dword(kIeRestrictions, "NoViewSource"))},
    {"IE Addressbar Infection", "Unable to view Addressbar in IE.",
     One(Dword(kIeToolbars, "NoAddressBar"))},
    {"IE Context Menu Infection", "Unable to view IE Context Menu.",
     One(Dword(kIeToolbars, "NoBrowserContextMenu"))},
    {"IE Navigation Infection", "Unable to view IE Navigation Buttons.",
     One(Dword(kIeToolbars, "NoNavButtons"))},
    {"IE Toolbar Infection", "Unable to view IE Toolbar Buttons.",
     One(Dword(kIeToolbars, "NoToolBar"))},
}};

void AppendRowWrites(const SystemRepair& row, RegistryRoot root, std::vector<RegistryWrite>& out) {
    for (std::size_t i = 0; i < row.repair.lineCount; ++i) {
        const RepairLine& line = row.repair.lines[i];
        const std::string_view subkey =
            root == RegistryRoot::LocalMachine && !line.machineSubkey.empty() ? line.machineSubkey : line.userSubkey;
        out.push_back({root, subkey, line.type, line.valueName, line.dataText, line.deleteAfter});
    }
}

} // namespace

std::string_view RepairRowName(std::size_t row) { return row < kRows.size() ? kRows[row].infection : std::string_view(); }

std::string_view RepairRowDamage(std::size_t row) { return row < kRows.size() ? kRows[row].damage : std::string_view(); }

std::vector<RegistryWrite> RepairWritesForRow(std::size_t row) {
    std::vector<RegistryWrite> writes;
    if (row >= kRows.size()) return writes;
    AppendRowWrites(kRows[row], RegistryRoot::CurrentUser, writes);
    AppendRowWrites(kRows[row], RegistryRoot::LocalMachine, writes);
    return writes;
}

std::vector<RegistryWrite> RepairWritesForRows(const std::vector<std::size_t>& tickedRows) {
    std::vector<std::size_t> rows(tickedRows);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<RegistryWrite> writes;
    for (std::size_t row : rows) {
        const std::vector<RegistryWrite> rowWrites = RepairWritesForRow(row);
        writes.insert(writes.end(), rowWrites.begin(), rowWrites.end());
    }
    return writes;
}

} // namespace tollivar
