// The registry writer, the system repairs, the quarantine store, the counter, process termination
// and the heal of list rows, in process on real keys, files and processes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/handles_win.h"
#include "bench_win.h"
#include "config/registry_writer_win.h"
#include "engine/autorun_rules.h"
#include "engine/detection_lists_win.h"
#include "engine/process_text.h"
#include "heal/heal_lists_win.h"
#include "heal/process_terminate_win.h"
#include "heal/quarantine_names.h"
#include "heal/quarantine_store_win.h"
#include "heal/removed_count_win.h"
#include "heal/system_heal_win.h"
#include "heal/system_repairs.h"
#include "pages/list_rows_win.h"
#include "ui_driver_win.h"

namespace tollivar {
namespace {

using test::DeleteTree;
using test::MakeFolders;
using test::ReadTextFile;
using test::RunningApp;
using test::WriteTextFile;

constexpr char kTestKey[] = "Software\\TollivarTests";
const std::string kRoot = "C:\\Tollivar Tests\\heal";

// ---- registry helpers -------------------------------------------------------------------------

UniqueKey CreateKey(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr);
    return UniqueKey(key);
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

struct StoredValue {
    DWORD type = 0;
    std::vector<BYTE> bytes;
    std::string Text() const { return std::string(bytes.begin(), bytes.end()).c_str(); }
    DWORD Dword() const { return bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(bytes.data()) : 0xDEADBEEF; }
};

std::optional<StoredValue> ReadValue(HKEY root, const std::string& path, const char* name,
                                     REGSAM view = KEY_WOW64_64KEY) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return std::nullopt;
    const UniqueKey owner(key);
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    value.bytes.resize(size);
    if (RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

void SetDword(HKEY root, const std::string& path, const char* name, DWORD data) {
    const UniqueKey key = CreateKey(root, path);
    RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void SetText(HKEY root, const std::string& path, const char* name, const std::string& text) {
    const UniqueKey key = CreateKey(root, path);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

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

// ---- quarantine store ---------------------------------------------------------------------------

class QuarantineTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(kRoot);
        MakeFolders(threats_);
        MakeFolders(kRoot + "\\install"); // the quarantine folder inside it is made when needed
    }
    void TearDown() override { DeleteTree(kRoot); }

    std::vector<std::string> Quarantined() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        const UniqueFind find(FindFirstFileA((quarantine_ + "*").c_str(), &data));
        if (!find) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
        } while (FindNextFileA(find.get(), &data));
        return names;
    }

    const std::string threats_ = kRoot + "\\stick";
    const std::string quarantine_ = kRoot + "\\install\\quarantine\\";
};

TEST_F(QuarantineTest, MovesTheFileUnchangedUnderItsNameANumberAndQrCreatingTheFolder) {
    const std::string content("MZ\x90\0binary\r\n\xff", 13);
    ASSERT_TRUE(WriteTextFile(threats_ + "\\a.b.exe", content));
    ASSERT_EQ(GetFileAttributesA(quarantine_.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(RemoveThreatFileTo(threats_ + "\\a.b.exe", false, quarantine_));
    EXPECT_FALSE(test::FileExists(threats_ + "\\a.b.exe"));
    const auto names = Quarantined();
    ASSERT_EQ(names.size(), 1u);
    const std::string& name = names[0];
    ASSERT_GT(name.size(), std::string("a.b.exe.qr").size());
    EXPECT_EQ(name.substr(0, 8), "a.b.exe.");
    EXPECT_EQ(name.substr(name.size() - 2), "qr");
    const std::string number = name.substr(8, name.size() - 10);
    EXPECT_EQ(number, std::to_string(std::stol(number))) << "a signed decimal number: " << name;
    EXPECT_EQ(OriginalNameOfQuarantined(name), "a.b.exe");
    EXPECT_EQ(ReadTextFile(quarantine_ + name), content);
}

TEST_F(QuarantineTest, FilesOfOneNameNeverReplaceEachOther) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(WriteTextFile(threats_ + "\\autorun.inf", "copy " + std::to_string(i)));
        ASSERT_TRUE(RemoveThreatFileTo(threats_ + "\\autorun.inf", false, quarantine_));
    }
    EXPECT_EQ(Quarantined().size(), 20u);
}

TEST_F(QuarantineTest, DestroyDeletesAndAddsNothingToTheQuarantine) {
    ASSERT_TRUE(WriteTextFile(threats_ + "\\run.exe", "x"));
    ASSERT_TRUE(RemoveThreatFileTo(threats_ + "\\run.exe", true, quarantine_));
    EXPECT_FALSE(test::FileExists(threats_ + "\\run.exe"));
    EXPECT_TRUE(Quarantined().empty());
}

TEST_F(QuarantineTest, HealResetsAttributesAndTellsWhatHappened) {
    const std::string hidden = threats_ + "\\hidden.exe";
    ASSERT_TRUE(WriteTextFile(hidden, "x"));
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(HealThreatFile(hidden, false, quarantine_), FileHealOutcome::Removed);
    EXPECT_EQ(HealThreatFile(hidden, false, quarantine_), FileHealOutcome::AlreadyGone);
    EXPECT_EQ(HealThreatFile(kRoot + "\\no such folder\\x.exe", false, quarantine_), FileHealOutcome::NotHealed);

    // A file held open without sharing cannot be moved or deleted: it stays and is not healed.
    const std::string busy = threats_ + "\\busy.exe";
    ASSERT_TRUE(WriteTextFile(busy, "busy"));
    {
        const UniqueFile holder(CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_EQ(HealThreatFile(busy, false, quarantine_), FileHealOutcome::NotHealed);
        EXPECT_EQ(HealThreatFile(busy, true, quarantine_), FileHealOutcome::NotHealed);
    }
    EXPECT_EQ(ReadTextFile(busy), "busy");
}

// ---- counter ------------------------------------------------------------------------------------

class CounterTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(kRoot);
        MakeFolders(kRoot);
    }
    void TearDown() override { DeleteTree(kRoot); }
    const std::string counter_ = kRoot + "\\count.uas";
};

TEST_F(CounterTest, AFreshFileShowsZeroThenHoldsFourLittleEndianBytes) {
    EXPECT_EQ(UpdateCounterFile(counter_, 0), 0);
    EXPECT_TRUE(test::FileExists(counter_));
    EXPECT_EQ(ReadTextFile(counter_), "");
    EXPECT_EQ(UpdateCounterFile(counter_, 1), 1);
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(UpdateCounterFile(counter_, 1), 2);
    EXPECT_EQ(UpdateCounterFile(counter_, 0), 2);
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x02\x00\x00\x00", 4));
}

TEST_F(CounterTest, AShortFileGivesItsLowBytes) {
    ASSERT_TRUE(WriteTextFile(counter_, std::string("\x05\x01", 2)));
    EXPECT_EQ(UpdateCounterFile(counter_, 0), 0x105);
    EXPECT_EQ(UpdateCounterFile(counter_, 1), 0x106);
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x06\x01\x00\x00", 4));
}

TEST_F(CounterTest, AFileHeldOpenIsWaitedForAndNeverMadeUp) {
    ASSERT_TRUE(WriteTextFile(counter_, std::string("\x07\x00\x00\x00", 4)));
    {
        const UniqueFile holder(CreateFileA(counter_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(UpdateCounterFile(counter_, 1)) << "no count may be claimed that is not stored";
        EXPECT_FALSE(UpdateCounterFile(counter_, 0));
    }
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x07\x00\x00\x00", 4));

    // Held only for a moment: the update waits and goes through.
    HANDLE held = CreateFileA(counter_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(100);
        CloseHandle(held);
    });
    EXPECT_EQ(UpdateCounterFile(counter_, 1), 8);
    release.join();
}

TEST_F(CounterTest, ACountSomeoneElseIsReadingIsShownButNotIncremented) {
    ASSERT_TRUE(WriteTextFile(counter_, std::string("\x03\x00\x00\x00", 4)));
    const UniqueFile reader(CreateFileA(counter_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(UpdateCounterFile(counter_, 0), 3);
    EXPECT_FALSE(UpdateCounterFile(counter_, 1));
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x03\x00\x00\x00", 4));
}

// ---- processes and list rows --------------------------------------------------------------------

std::string WaiterProgram() { return test::DosPathOfUnix(std::getenv("TOLLIVAR_WAITER")); }

RunningApp StartWaiterAs(const std::string& path) {
    CopyFileA(WaiterProgram().c_str(), path.c_str(), FALSE);
    return RunningApp::Start(path);
}

class ProcessHealTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("TOLLIVAR_WAITER"), nullptr) << "run through ctest";
        DeleteTree(kRoot);
        MakeFolders(procs_);
    }
    void TearDown() override { DeleteTree(kRoot); }
    const std::string procs_ = kRoot + "\\procs";
};

TEST_F(ProcessHealTest, TheListedProcessEndsAndItsFileStays) {
    RunningApp target = StartWaiterAs(procs_ + "\\TvHealTarget.exe");
    ASSERT_TRUE(target.Running());
    EXPECT_EQ(TerminateListedProcess(target.Pid(), "tvhealtarget.EXE"), TerminateOutcome::Terminated);
    EXPECT_TRUE(target.WaitForExit(2000));
    EXPECT_TRUE(test::FileExists(procs_ + "\\TvHealTarget.exe"));
    EXPECT_EQ(TerminateListedProcess(target.Pid(), "TvHealTarget.exe"), TerminateOutcome::NotRunning);
}

TEST_F(ProcessHealTest, AnIdNowHeldByAProcessOfAnotherNameIsLeftAlone) {
    RunningApp other = StartWaiterAs(procs_ + "\\TvInnocent.exe");
    ASSERT_TRUE(other.Running());
    EXPECT_EQ(TerminateListedProcess(other.Pid(), "TvHealTarget.exe"), TerminateOutcome::NotRunning);
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(TerminateListedProcess(GetCurrentProcessId(), "heal_store_tests.exe"), TerminateOutcome::Failed);
}

// A hidden window with a check-box list view, filled the way the detection lists are.
class ListHealTest : public ProcessHealTest {
  protected:
    void SetUp() override {
        ProcessHealTest::SetUp();
        MakeFolders(stick_);
        MakeFolders(kRoot + "\\install");
        INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, window_, nullptr,
                                nullptr, nullptr);
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 300;
        column.pszText = const_cast<char*>("Infection");
        SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    }
    void TearDown() override {
        DestroyWindow(window_);
        ProcessHealTest::TearDown();
    }
    void AddRow(const std::string& text, bool checked) {
        const int row = AppendListRow(list_, {text});
        SetRowCheckAndSelection(list_, row, checked ? kRowChecked : kRowUnchecked);
    }
    ThreatRemoval Removal() {
        ThreatRemoval removal;
        removal.quarantineFolder = kRoot + "\\install\\quarantine\\";
        removal.countRemoval = [this] { ++counted_; };
        return removal;
    }
    const std::string stick_ = kRoot + "\\stick";
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    int counted_ = 0;
};

TEST_F(ListHealTest, CheckedRowsAreHealedOnceEachAndFailuresAreCounted) {
    RunningApp evil = StartWaiterAs(procs_ + "\\TvEvil.exe");
    RunningApp innocent = StartWaiterAs(procs_ + "\\TvInnocent.exe");
    ASSERT_TRUE(evil.Running() && innocent.Running());
    ASSERT_TRUE(WriteTextFile(stick_ + "\\autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\run.exe", "run"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\keep.exe", "keep"));

    AddRow(FormatProcessText(evil.Pid(), "TvEvil.exe"), true);
    AddRow(FormatProcessText(innocent.Pid(), "TvEvil.exe"), true); // the id now belongs to another program
    AddRow(stick_ + "\\autorun.inf", true);
    AddRow(stick_ + "\\keep.exe", false);
    AddRow(stick_ + "\\run.exe", true);
    AddRow(stick_ + "\\AUTORUN.INF", true); // a second row for the same file
    AddRow(kRoot + "\\pulled\\run.exe", true);

    const HealTally tally = HealCheckedRows(list_, true, Removal());
    EXPECT_EQ(tally.checkedRows, 6);
    EXPECT_EQ(tally.filesRemoved, 2);
    EXPECT_EQ(tally.notHealed, 1) << "only the file on the missing folder is still there";
    EXPECT_EQ(counted_, 2);

    EXPECT_TRUE(evil.WaitForExit(2000));
    EXPECT_TRUE(test::FileExists(procs_ + "\\TvEvil.exe")) << "ending a process leaves its file";
    EXPECT_TRUE(innocent.Running());
    EXPECT_FALSE(test::FileExists(stick_ + "\\autorun.inf"));
    EXPECT_FALSE(test::FileExists(stick_ + "\\run.exe"));
    EXPECT_TRUE(test::FileExists(stick_ + "\\keep.exe"));
    EXPECT_EQ(ListRowCount(list_), 7) << "emptying the list is the caller's part";
}

TEST_F(ListHealTest, ProcessRowsAreFilesInTheShieldList) {
    AddRow("[1A4] - EVIL.EXE", true);
    const HealTally tally = HealCheckedRows(list_, false, Removal());
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(counted_, 0);
}

TEST_F(ListHealTest, AFileInUseIsNotCountedAndTheNextRowsGoOn) {
    ASSERT_TRUE(WriteTextFile(stick_ + "\\busy.exe", "busy"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\free.exe", "free"));
    const UniqueFile holder(
        CreateFileA((stick_ + "\\busy.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    AddRow(stick_ + "\\busy.exe", true);
    AddRow(stick_ + "\\free.exe", true);
    const HealTally tally = HealCheckedRows(list_, false, Removal());
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(tally.filesRemoved, 1);
    EXPECT_EQ(counted_, 1);
}

// The program an autorun.inf names is taken only from the drive that named it, and never from the
// Windows folder or the install folder; the autorun file itself and the definitions' files keep
// their rules.
TEST_F(ListHealTest, AnAutorunTargetIsTakenOnlyFromItsOwnDriveAndOutsideTheSystemsFolders) {
    test::SimulatedDrive& stick = test::RemovableStick();
    stick.Clear();
    char windowsFolder[MAX_PATH] = {};
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    const std::string inWindows = std::string(windowsFolder) + "\\tollivar-victim.exe";
    const std::string installFolder = kRoot + "\\install\\";
    const std::string inInstall = installFolder + "victim.exe";
    const std::string elsewhere = kRoot + "\\victim.exe";
    const std::string onStick = stick.Path("run.exe");
    for (const std::string& file : {inWindows, inInstall, elsewhere, onStick}) {
        ASSERT_TRUE(WriteTextFile(file, file));
    }

    const struct {
        std::string target;
        std::string namedBy; // the drive whose autorun.inf named it
        bool taken;
    } cases[] = {
        {onStick, "E:\\", true},
        {elsewhere, "E:\\", false},   // "open=C:\\..." on a stick
        {inWindows, "C:\\", false},   // a fixed drive's autorun.inf naming a system file
        {inInstall, "C:\\", false},
        {elsewhere, "C:\\", true},    // on the fixed drive that named it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target + " named by " + c.namedBy);
        for (const std::string& file : {inWindows, inInstall, elsewhere, onStick})
            if (!test::FileExists(file)) {
                ASSERT_TRUE(WriteTextFile(file, file));
            }
        SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
        counted_ = 0;
        AutorunFinding finding;
        finding.infPath = AutorunInfPath(c.namedBy);
        finding.targetPath = c.target;
        finding.targetName = c.target.substr(c.target.rfind('\\') + 1);
        for (const ScanRow& row : AutorunScanRows(finding, "")) AddScanRow(list_, row);
        ASSERT_EQ(ListRowCount(list_), 2);

        ThreatRemoval removal = Removal();
        removal.installFolder = installFolder;
        const HealTally tally = HealCheckedRows(list_, true, removal);
        EXPECT_EQ(test::FileExists(c.target), !c.taken);
        EXPECT_EQ(tally.notHealed, c.taken ? 0 : 1) << "a target left in place is reported";
        EXPECT_EQ(counted_, c.taken ? 1 : 0) << "the autorun file is missing, so only the target can count";
    }

    // The same file as a plain row (found by the definitions) keeps its rules: it is taken.
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    AddRow(inInstall, true);
    EXPECT_EQ(HealCheckedRows(list_, true, Removal()).filesRemoved, 1);
    EXPECT_FALSE(test::FileExists(inInstall));
    DeleteFileA(inWindows.c_str());
    stick.Pull();
}

TEST_F(ListHealTest, TheShieldListTakesTheStickProgramButNotWhatTheStickNamesElsewhere) {
    test::SimulatedDrive& stick = test::RemovableStick();
    stick.Clear();
    const std::string elsewhere = kRoot + "\\victim.exe";
    ASSERT_TRUE(WriteTextFile(elsewhere, "victim"));
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=x\r\n"));
    ASSERT_TRUE(stick.Write("run.exe", "run"));
    AutorunFinding outside{"E:\\autorun.inf", elsewhere, "victim.exe"};
    AutorunFinding inside{"E:\\autorun.inf", "E:\\run.exe", "run.exe"};
    // Two passes over one drive list it once: the first finding counts.
    ASSERT_TRUE(AddShieldDetection(list_, outside));
    ASSERT_FALSE(AddShieldDetection(list_, inside));
    HealTally tally = HealCheckedRows(list_, false, Removal());
    EXPECT_EQ(tally.filesRemoved, 1);
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(ReadTextFile(elsewhere), "victim");
    EXPECT_FALSE(test::FileExists("E:\\autorun.inf"));

    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(AddShieldDetection(list_, inside));
    tally = HealCheckedRows(list_, false, Removal());
    EXPECT_EQ(tally.filesRemoved, 2);
    EXPECT_EQ(tally.notHealed, 0);
    EXPECT_FALSE(test::FileExists("E:\\run.exe"));
    stick.Pull();
}

// A folder link on the stick leads to a file elsewhere: by its listed name it is on the stick, by
// where it really is it is not.
TEST_F(ListHealTest, AnAutorunTargetReachedThroughALinkOnTheStickStays) {
    test::SimulatedDrive& stick = test::RemovableStick();
    stick.Clear();
    const std::string outsideFolder = kRoot + "\\linked";
    MakeFolders(outsideFolder);
    ASSERT_TRUE(WriteTextFile(outsideFolder + "\\victim.exe", "victim"));
    if (!CreateSymbolicLinkA("E:\\link", outsideFolder.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !test::FileExists("E:\\link\\victim.exe")) {
        stick.Pull();
        GTEST_SKIP() << "this platform makes no folder links";
    }
    AutorunFinding finding{"E:\\autorun.inf", "E:\\link\\victim.exe", "victim.exe"};
    for (const ScanRow& row : AutorunScanRows(finding, "")) AddScanRow(list_, row);
    const HealTally tally = HealCheckedRows(list_, true, Removal());
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(ReadTextFile(outsideFolder + "\\victim.exe"), "victim");
    RemoveDirectoryA("E:\\link");
    stick.Pull();
}

} // namespace
} // namespace tollivar
