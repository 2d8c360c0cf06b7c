// The registry writer on real keys under a test key, in both roots and both views.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench_win.h"
#include "config/registry_writer_win.h"
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

// ---- registry writer ----------------------------------------------------------------------------

class RegistryWriterTest : public testing::TestWithParam<HKEY> {
  protected:
    void SetUp() override {
        DeleteKeyTree(GetParam(), kTestKey);
        CreateKey(GetParam(), key_);
    }
    void TearDown() override { DeleteKeyTree(GetParam(), kTestKey); }
    const std::string key_ = std::string(kTestKey) + "\\Writer";
};

TEST_P(RegistryWriterTest, StoresDigitsAsNumbersAndTextsWithTheirEnd) {
    WriteRegistryValue(GetParam(), key_.c_str(), REG_DWORD, "Four", "4", 0);
    WriteRegistryValue(GetParam(), key_.c_str(), REG_DWORD, "Zero", "0", 0);
    WriteRegistryValue(GetParam(), key_.c_str(), REG_SZ, "Shell", "Explorer.exe", 0);
    WriteRegistryValue(GetParam(), key_.c_str(), REG_SZ, "Empty", nullptr, 0);

    const auto four = ReadValue(GetParam(), key_, "Four");
    ASSERT_TRUE(four);
    EXPECT_EQ(four->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(four->Dword(), 4u);
    EXPECT_EQ(ReadValue(GetParam(), key_, "Zero")->Dword(), 0u);

    const auto shell = ReadValue(GetParam(), key_, "Shell");
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(shell->Text(), "Explorer.exe");
    ASSERT_FALSE(shell->bytes.empty());
    EXPECT_EQ(shell->bytes.back(), 0) << "a text value ends with its zero";

    const auto empty = ReadValue(GetParam(), key_, "Empty");
    ASSERT_TRUE(empty) << "a null text still stores an (empty) value";
    EXPECT_EQ(empty->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty->Text(), "");
}

TEST_P(RegistryWriterTest, OverwritesAnExistingValueOfAnotherType) {
    SetText(GetParam(), key_, "Value", "old text");
    WriteRegistryValue(GetParam(), key_.c_str(), REG_DWORD, "Value", "0", 0);
    const auto value = ReadValue(GetParam(), key_, "Value");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value->Dword(), 0u);
}

TEST_P(RegistryWriterTest, AMissingSubkeyIsNeitherCreatedNorWritten) {
    const std::string missing = key_ + "\\Missing\\Deeper";
    WriteRegistryValue(GetParam(), missing.c_str(), REG_SZ, "Shell", "Explorer.exe", 0);
    WriteRegistryValue(GetParam(), missing.c_str(), REG_DWORD, "Four", "4", 1);
    EXPECT_FALSE(KeyExists(GetParam(), key_ + "\\Missing"));
}

TEST_P(RegistryWriterTest, SetThenDeleteLeavesNoValueWhetherOrNotOneExisted) {
    SetDword(GetParam(), key_, "Preferences", 77);
    WriteRegistryValue(GetParam(), key_.c_str(), REG_DWORD, "Preferences", "0", 1);
    WriteRegistryValue(GetParam(), key_.c_str(), REG_SZ, "NeverThere", "x", 1);
    EXPECT_FALSE(ReadValue(GetParam(), key_, "Preferences"));
    EXPECT_FALSE(ReadValue(GetParam(), key_, "NeverThere"));
    EXPECT_TRUE(KeyExists(GetParam(), key_)) << "only the value goes";
}

INSTANTIATE_TEST_SUITE_P(BothRoots, RegistryWriterTest, testing::Values(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE),
                         [](const testing::TestParamInfo<HKEY>& info) {
                             return info.param == HKEY_CURRENT_USER ? std::string("CurrentUser")
                                                                    : std::string("LocalMachine");
                         });

// A 32-bit build on 64-bit Windows must repair the keys Windows reads, not their 32-bit shadows: a key
// that exists only in the 32-bit view is not the writer's target.
TEST(RegistryWriterView, WritesTheSixtyFourBitView) {
    const std::string key = "Software\\TollivarTestsView";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
    CreateKey(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
    if (KeyExists(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY)) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
        GTEST_SKIP() << "this registry has no separate 32-bit view";
    }
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key.c_str(), REG_SZ, "Shell", "Explorer.exe", 0);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, key, "Shell", KEY_WOW64_32KEY));
    CreateKey(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key.c_str(), REG_SZ, "Shell", "Explorer.exe", 0);
    const auto written = ReadValue(HKEY_LOCAL_MACHINE, key, "Shell", KEY_WOW64_64KEY);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->Text(), "Explorer.exe");
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, key, "Shell", KEY_WOW64_32KEY));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
}

} // namespace
} // namespace tollivar
