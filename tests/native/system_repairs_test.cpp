#include "config/registry_data.h"
#include "heal/system_repairs.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tollivar {
namespace {

struct ExpectedWrite {
    RegistryRoot root;
    const char* subkey;
    std::uint32_t type;
    const char* valueName;
    const char* dataText;
    bool deleteAfter;
};

void ExpectWrites(std::size_t row, const std::vector<ExpectedWrite>& expected) {
    const std::vector<RegistryWrite> writes = RepairWritesForRow(row);
    ASSERT_EQ(writes.size(), expected.size()) << "row " << row;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(row) + " write " + std::to_string(i));
        EXPECT_EQ(writes[i].root, expected[i].root);
        EXPECT_EQ(writes[i].subkey, expected[i].subkey);
        EXPECT_EQ(writes[i].type, expected[i].type);
        EXPECT_EQ(writes[i].valueName, expected[i].valueName);
        EXPECT_STREQ(writes[i].dataText, expected[i].dataText);
        EXPECT_EQ(writes[i].deleteAfter, expected[i].deleteAfter);
    }
}

constexpr auto kUser = RegistryRoot::CurrentUser;
constexpr auto kMachine = RegistryRoot::LocalMachine;

TEST(SystemRepairs, TheShellIsRestoredUnderBothRootsInOrder) {
    const char* winlogon = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    ExpectWrites(0, {{kUser, winlogon, kRegSz, "Shell", "Explorer.exe", false},
                     {kMachine, winlogon, kRegSz, "Shell", "Explorer.exe", false}});
}

TEST(SystemRepairs, TheLegalNoticeUsesADifferentKeyUnderEachRootCaptionFirst) {
    const char* user = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
    const char* machine = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    ExpectWrites(1, {{kUser, user, kRegSz, "legalnoticecaption", "", false},
                     {kUser, user, kRegSz, "legalnoticetext", "", false},
                     {kMachine, machine, kRegSz, "legalnoticecaption", "", false},
                     {kMachine, machine, kRegSz, "legalnoticetext", "", false}});
}

TEST(SystemRepairs, DriveAutorunStoresFourNotZero) {
    const char* explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    ExpectWrites(6, {{kUser, explorer, kRegDword, "NoDriveTypeAutoRun", "4", false},
                     {kMachine, explorer, kRegDword, "NoDriveTypeAutoRun", "4", false}});
    const std::vector<std::uint8_t> four = {4, 0, 0, 0};
    EXPECT_EQ(RegistryValueBytes(kRegDword, RepairWritesForRow(6)[0].dataText), four);
}

TEST(SystemRepairs, TaskManagerPreferencesAreSetThenDeletedAfterThePolicyUnderEachRoot) {
    const char* system = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
    const char* taskManager = "Software\\Microsoft\\Windows NT\\CurrentVersion\\TaskManager";
    ExpectWrites(9, {{kUser, system, kRegDword, "DisableTaskMgr", "0", false},
                     {kUser, taskManager, kRegDword, "Preferences", "0", true},
                     {kMachine, system, kRegDword, "DisableTaskMgr", "0", false},
                     {kMachine, taskManager, kRegDword, "Preferences", "0", true}});
}

// Row order is the contract with the Heal System list: row i repairs what row i names.
TEST(SystemRepairs, EveryRowNamesItsDamageAndRepairsTheMatchingValue) {
    const struct {
        const char* name;
        const char* valueName;
    } rows[kRepairRowCount] = {
        {"WinLogon Infection", "Shell"},
        {"Startup Nag Infection", "legalnoticecaption"},
        {"Anti-Virus Infection", "DisableMSI"},
        {"Security Centre Infection", "NoAutoUpdate"},
        {"Windows Update Infection", "NoWindowsUpdate"},
        {"Restricted Program Infection", "DisallowRun"},
        {"Drive Autorun Infection", "NoDriveTypeAutoRun"},
        {"No Drives Infection", "NoDrives"},
        {"Restricted Drives Infection", "NoViewOnDrive"},
        {"Task Manager Infection", "DisableTaskMgr"},
        {"Registry Editor Infection", "DisableRegistryTools"},
        {"Command Prompt Infection", "DisableCMD"},
        {"No Folder Options Infection", "NoFolderOptions"},
        {"No Set Folder Infection", "NoSetFolders"},
        {"Hidden File\\Folder Infection", "Hidden"},
        {"Super Hidden Infection", "ShowSuperHidden"},
        {"Desktop Icon Infection", "HideIcons"},
        {"Run Command Infection", "NoRun"},
        {"Search Infection", "NoFind"},
        {"Control Panel Infection", "NoControlPanel"},
        {"Control Panel Display Infection", "NoDispCPL"},
        {"Add/Remove Programs Infection", "NoAddRemovePrograms"},
        {"Shutdown Infection", "NoClose"},
        {"Logoff Infection", "NoLogoff"},
        {"Start Menu Logoff Infection", "StartMenuLogOff"},
        {"Tray Context Menu Infection", "NoTrayContextMenu"},
        {"IE Home Page Change Infection", "HomePage"},
        {"IE Close Infection", "NoBrowserClose"},
        {"IE Options Infection", "NoBrowserOptions"},
        {"IE Source View Infection", "NoViewSource"},
        {"IE Addressbar Infection", "NoAddressBar"},
        {"IE Context Menu Infection", "NoBrowserContextMenu"},
        {"IE Navigation Infection", "NoNavButtons"},
        {"IE Toolbar Infection", "NoToolBar"},
    };
    for (std::size_t row = 0; row < kRepairRowCount; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(RepairRowName(row), rows[row].name);
        const std::vector<RegistryWrite> writes = RepairWritesForRow(row);
        ASSERT_GE(writes.size(), 2u);
        EXPECT_EQ(writes.front().valueName, rows[row].valueName);
        // The first half goes under the current user, the second half repeats it under the machine.
        const std::size_t half = writes.size() / 2;
        ASSERT_EQ(writes.size(), 2 * half);
        for (std::size_t i = 0; i < half; ++i) {
            EXPECT_EQ(writes[i].root, kUser);
            EXPECT_EQ(writes[half + i].root, kMachine);
            EXPECT_EQ(writes[i].valueName, writes[half + i].valueName);
            EXPECT_EQ(writes[i].type, writes[half + i].type);
            if (row != 1) {
                EXPECT_EQ(writes[i].subkey, writes[half + i].subkey);
            }
            if (writes[i].type == kRegDword) {
                // A value that is one digit; every policy but the autorun one is switched off.
                ASSERT_NE(writes[i].dataText, nullptr);
                EXPECT_STREQ(writes[i].dataText, row == 6 ? "4" : "0");
            }
            EXPECT_EQ(writes[i].deleteAfter, row == 9 && i == 1);
        }
    }
    EXPECT_TRUE(RepairRowName(kRepairRowCount).empty());
    EXPECT_TRUE(RepairWritesForRow(kRepairRowCount).empty());
}

TEST(SystemRepairs, TickedRowsAreWrittenInRowOrderOnceEach) {
    EXPECT_TRUE(RepairWritesForRows({}).empty());
    const std::vector<RegistryWrite> writes = RepairWritesForRows({9, 0, 9, 40});
    ASSERT_EQ(writes.size(), 2u + 4u);
    EXPECT_EQ(writes[0].valueName, "Shell");
    EXPECT_EQ(writes[1].valueName, "Shell");
    EXPECT_EQ(writes[2].valueName, "DisableTaskMgr");
    EXPECT_EQ(writes[5].valueName, "Preferences");

    std::vector<std::size_t> all;
    for (std::size_t row = 0; row < kRepairRowCount; ++row) all.push_back(row);
    std::set<std::string> names;
    for (const RegistryWrite& w : RepairWritesForRows(all)) names.insert(std::string(w.valueName));
    EXPECT_EQ(names.size(), 36u) << "34 rows, row 1 and row 9 each add a second value";
}

TEST(SystemRepairs, KeyRowsShowTheirTextsAtTheirIndexes) {
    const struct {
        std::size_t index;
        std::string_view infection;
        std::string_view damage;
    } cases[] = {
        {0, "WinLogon Infection", "Infection tries to deploy WinLogon."},
        {3, "Security Centre Infection", "Unable to install updates."},
        {4, "Windows Update Infection", "Unable to install updates."},
        {9, "Task Manager Infection", "Unable to launch Task Manager."},
        {14, "Hidden File\\Folder Infection", "Unable to view Hidden Files/Folders."},
        {22, "Shutdown Infection", "Unable to Shutdown Windows."},
        {33, "IE Toolbar Infection", "Unable to view IE Toolbar Buttons."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RepairRowName(c.index), c.infection) << c.index;
        EXPECT_EQ(RepairRowDamage(c.index), c.damage) << c.index;
    }
    EXPECT_TRUE(RepairRowDamage(kRepairRowCount).empty());
}

TEST(SystemRepairs, EveryRowIsADistinctKindWithBothTexts) {
    std::set<std::string_view> names;
    for (std::size_t row = 0; row < kRepairRowCount; ++row) {
        const std::string_view infection = RepairRowName(row);
        const std::string_view damage = RepairRowDamage(row);
        EXPECT_FALSE(damage.empty());
        EXPECT_LE(damage.size(), 511u);
        ASSERT_GE(infection.size(), 9u);
        EXPECT_EQ(infection.substr(infection.size() - 9), "Infection") << infection;
        EXPECT_TRUE(names.insert(infection).second) << "listed twice: " << infection;
    }
}

} // namespace
} // namespace tollivar
