#include "heal/system_repairs.h"

#include "heal/heal_rows.h"

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

// Rows in the order of the Heal System list; the comment names the list's row.
struct RepairRow {
    std::array<RepairLine, 2> lines;
    std::size_t lineCount;
};

constexpr RepairRow One(RepairLine line) { return {{line, RepairLine{}}, 1}; }
constexpr RepairRow Two(RepairLine a, RepairLine b) { return {{a, b}, 2}; }

const std::array<RepairRow, kRepairRowCount> kRows = {{
    One(/* WinLogon Infection */ {kWinlogon, {}, "Shell", kRegSz, "Explorer.exe", false}),
    Two(/* Startup Nag Infection */ {kPoliciesSystemLower, kWinlogonUpper, "legalnoticecaption", kRegSz, "", false},
        {kPoliciesSystemLower, kWinlogonUpper, "legalnoticetext", kRegSz, "", false}),
    One(/* Anti-Virus Infection */ Dword(kInstaller, "DisableMSI")),
    One(/* Security Centre Infection */ Dword(kWindowsUpdateAU, "NoAutoUpdate")),
    One(/* Windows Update Infection */ Dword(kExplorerLower, "NoWindowsUpdate")),
    One(/* Restricted Program Infection */ Dword(kExplorerLower, "DisallowRun")),
    One(/* Drive Autorun Infection */ Dword(kExplorer, "NoDriveTypeAutoRun", "4")),
    One(/* No Drives Infection */ Dword(kExplorer, "NoDrives")),
    One(/* Restricted Drives Infection */ Dword(kExplorer, "NoViewOnDrive")),
    Two(/* Task Manager Infection */ Dword(kSystem, "DisableTaskMgr"),
        {kTaskManager, {}, "Preferences", kRegDword, "0", true}),
    One(/* Registry Editor Infection */ Dword(kSystem, "DisableRegistryTools")),
    One(/* Command Prompt Infection */ Dword(kPoliciesWindowsSystem, "DisableCMD")),
    One(/* No Folder Options Infection */ Dword(kExplorer, "NoFolderOptions")),
    One(/* No Set Folder Infection */ Dword(kExplorer, "NoSetFolders")),
    One(/* Hidden File\\Folder Infection */ Dword(kAdvanced, "Hidden")),
    One(/* Super Hidden Infection */ Dword(kAdvanced, "ShowSuperHidden")),
    One(/* Desktop Icon Infection */ Dword(kAdvanced, "HideIcons")),
    One(/* Run Command Infection */ Dword(kExplorer, "NoRun")),
    One(/* Search Infection */ Dword(kExplorer, "NoFind")),
    One(/* Control Panel Infection */ Dword(kExplorerLower, "NoControlPanel")),
    One(/* Control Panel Display Infection */ Dword(kSystem, "NoDispCPL")),
    One(/* Add/Remove Programs Infection */ Dword(kUninstall, "NoAddRemovePrograms")),
    One(/* Shutdown Infection */ Dword(kExplorerLower, "NoClose")),
    One(/* Logoff Infection */ Dword(kExplorerLower, "NoLogoff")),
    One(/* Start Menu Logoff Infection */ Dword(kExplorerLower, "StartMenuLogOff")),
    One(/* Tray Context Menu Infection */ Dword(kExplorerLower, "NoTrayContextMenu")),
    One(/* IE Home Page Change Infection */ Dword(kIeControlPanel, "HomePage")),
    One(/* IE Close Infection */ Dword(kIeRestrictions, "NoBrowserClose")),
    One(/* IE Options Infection */ Dword(kIeRestrictions, "NoBrowserOptions")),
    One(/* IE Source View Infection */ Dword(kIeRestrictions, "NoViewSource")),
    One(/* IE Addressbar Infection */ Dword(kIeToolbars, "NoAddressBar")),
    One(/* IE Context Menu Infection */ Dword(kIeToolbars, "NoBrowserContextMenu")),
    One(/* IE Navigation Infection */ Dword(kIeToolbars, "NoNavButtons")),
    One(/* IE Toolbar Infection */ Dword(kIeToolbars, "NoToolBar")),
}};

void AppendRowWrites(const RepairRow& row, RegistryRoot root, std::vector<RegistryWrite>& out) {
    for (std::size_t i = 0; i < row.lineCount; ++i) {
        const RepairLine& line = row.lines[i];
        const std::string_view subkey =
            root == RegistryRoot::LocalMachine && !line.machineSubkey.empty() ? line.machineSubkey : line.userSubkey;
        out.push_back({root, subkey, line.type, line.valueName, line.dataText, line.deleteAfter});
    }
}

} // namespace

std::string_view RepairRowName(std::size_t row) {
    return row < HealRows().size() ? HealRows()[row].infection : std::string_view();
}

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
