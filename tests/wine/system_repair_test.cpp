// The Heal System repairs on real keys under stand-in roots of the test's own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "config/registry_writer_win.h"
#include "heal/system_heal_win.h"
#include "heal/system_repairs.h"
#include "registry_helpers_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

using test::CreateKey;
using test::DeleteKeyTree;
using test::KeyExists;
using test::kTestKey;
using test::ReadValue;
using test::SetDword;
using test::SetText;
using test::StoredValue;

// ---- system repairs ---------------------------------------------------------------------------

// Two stand-in roots under the test key, so the repairs run on keys of the test's own.
class SystemRepairTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
        user_ = CreateKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\User");
        machine_ = CreateKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Machine");
    }
    void TearDown() override {
        user_.reset();
        machine_.reset();
        DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
    }
    std::string UnderRoot(RegistryRoot root, std::string_view subkey) const {
        return std::string(kTestKey) + (root == RegistryRoot::CurrentUser ? "\\User\\" : "\\Machine\\") +
               std::string(subkey);
    }
    // Creates every key the repairs write to, under both stand-in roots, except the skipped one.
    void CreateRepairKeys(std::string_view skippedMachineSubkey = {}) {
        for (std::size_t row = 0; row < kRepairRowCount; ++row)
            for (const RegistryWrite& w : RepairWritesForRow(row))
                if (!(w.root == RegistryRoot::LocalMachine && w.subkey == skippedMachineSubkey))
                    CreateKey(HKEY_CURRENT_USER, UnderRoot(w.root, w.subkey));
    }
    std::vector<std::size_t> AllRows() const {
        std::vector<std::size_t> rows;
        for (std::size_t row = 0; row < kRepairRowCount; ++row) rows.push_back(row);
        return rows;
    }
    UniqueKey user_;
    UniqueKey machine_;
};

TEST_F(SystemRepairTest, AllRowsWriteEveryValueUnderBothRootsWhereTheKeysExist) {
    const std::string_view toolbars = "Software\\Policies\\Microsoft\\Internet Explorer\\Toolbars\\Restrictions";
    CreateRepairKeys(toolbars);
    // Damage left behind.
    SetDword(HKEY_CURRENT_USER, UnderRoot(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows NT\\CurrentVersion\\TaskManager"),
             "Preferences", 1);
    SetText(HKEY_CURRENT_USER, UnderRoot(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"),
            "Shell", "explorer.exe C:\\evil.exe");
    SetText(HKEY_CURRENT_USER, UnderRoot(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon"),
            "legalnoticecaption", "You have been hacked");
    SetDword(HKEY_CURRENT_USER, UnderRoot(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"),
             "NoDriveTypeAutoRun", 0x91);

    ApplySystemRepairs(AllRows(), user_.get(), machine_.get());

    for (std::size_t row = 0; row < kRepairRowCount; ++row) {
        for (const RegistryWrite& w : RepairWritesForRow(row)) {
            SCOPED_TRACE("row " + std::to_string(row) + " " + std::string(w.valueName));
            const std::string key = UnderRoot(w.root, w.subkey);
            const auto value = ReadValue(HKEY_CURRENT_USER, key, std::string(w.valueName).c_str());
            if (w.root == RegistryRoot::LocalMachine && w.subkey == toolbars) {
                EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << "a missing key is not created";
            } else if (w.deleteAfter) {
                EXPECT_FALSE(value);
            } else if (w.type == kRegDword) {
                ASSERT_TRUE(value);
                EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
                EXPECT_EQ(value->Dword(), row == 6 ? 4u : 0u);
            } else {
                ASSERT_TRUE(value);
                EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
                EXPECT_EQ(value->Text(), row == 0 ? "Explorer.exe" : "");
            }
        }
    }
}

TEST_F(SystemRepairTest, OnlyTheTickedRowsAreRepairedAndNoRowTouchesNothing) {
    CreateRepairKeys();
    const std::string system =
        UnderRoot(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");
    SetDword(HKEY_CURRENT_USER, system, "DisableTaskMgr", 1);
    SetDword(HKEY_CURRENT_USER, system, "DisableRegistryTools", 1);

    ApplySystemRepairs({}, user_.get(), machine_.get());
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, system, "DisableTaskMgr")->Dword(), 1u);

    ApplySystemRepairs({10}, user_.get(), machine_.get());
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, system, "DisableRegistryTools")->Dword(), 0u);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, system, "DisableTaskMgr")->Dword(), 1u) << "row 9 was not ticked";
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, system, "NoDispCPL")) << "row 20 was not ticked";
}

} // namespace
} // namespace tollivar
