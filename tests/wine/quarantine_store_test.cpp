// The quarantine store and the removed-threats counter on real files.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench_win.h"
#include "heal/quarantine_names.h"
#include "heal/quarantine_record.h"
#include "heal/sha256.h"
#include "heal/quarantine_store_win.h"
#include "heal/removed_count_win.h"
#include "ui_driver_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

using test::DeleteTree;
using test::MakeFolders;
using test::ReadTextFile;
using test::WriteTextFile;

const std::string kRoot = "C:\\Tollivar Tests\\heal";

// ---- quarantine store ---------------------------------------------------------------------------

class QuarantineTest : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(kRoot);
        MakeFolders(threats_);
        MakeFolders(kRoot + "\\install"); // the quarantine folder inside it is made when needed
    }
    void TearDown() override { DeleteTree(kRoot); }

    // The quarantined files, without their records.
    std::vector<std::string> Quarantined() const {
        std::vector<std::string> names;
        for (const std::string& name : FolderNames())
            if (!IsQuarantineRecordName(name)) names.push_back(name);
        return names;
    }
    std::vector<std::string> FolderNames() const {
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

// Each quarantined file has its record beside it: the original path, the threat it was taken for, its
// size and the SHA-256 of its content (computed here from the bytes the test wrote).
TEST_F(QuarantineTest, EachFileGetsItsRecordWithPathThreatSizeAndHash) {
    const std::string content("MZ\x90\0payload\r\n\xff", 14);
    const std::string path = threats_ + "\\run.exe";
    ASSERT_TRUE(WriteTextFile(path, content));
    SYSTEMTIME before{};
    GetSystemTime(&before);
    const ThreatFileRemoval removal = TakeThreatFile(path, false, quarantine_, "Win32.Autoit.CC");
    ASSERT_TRUE(removal.removed);
    EXPECT_FALSE(test::FileExists(path));
    ASSERT_EQ(Quarantined().size(), 1u);
    EXPECT_EQ(removal.quarantinedPath, quarantine_ + Quarantined()[0]);
    EXPECT_EQ(FolderNames().size(), 2u) << "the file and its record, no pending record";

    const auto record = ParseQuarantineRecord(ReadTextFile(removal.quarantinedPath + ".qrec"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->originalPath, path);
    EXPECT_EQ(record->threat, "Win32.Autoit.CC");
    EXPECT_EQ(record->size, content.size());
    EXPECT_EQ(record->sha256, Sha256HexOf(content));
    EXPECT_EQ(record->utc.year, before.wYear);
    EXPECT_EQ(ReadTextFile(removal.quarantinedPath), content);
}

TEST_F(QuarantineTest, FilesOfOneNameNeverReplaceEachOther) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(WriteTextFile(threats_ + "\\autorun.inf", "copy " + std::to_string(i)));
        ASSERT_TRUE(RemoveThreatFileTo(threats_ + "\\autorun.inf", false, quarantine_));
    }
    EXPECT_EQ(Quarantined().size(), 20u);
    EXPECT_EQ(FolderNames().size(), 40u) << "each with its own record";
}

TEST_F(QuarantineTest, DestroyDeletesAndAddsNothingToTheQuarantine) {
    ASSERT_TRUE(WriteTextFile(threats_ + "\\run.exe", "x"));
    ASSERT_TRUE(RemoveThreatFileTo(threats_ + "\\run.exe", true, quarantine_));
    EXPECT_FALSE(test::FileExists(threats_ + "\\run.exe"));
    EXPECT_TRUE(FolderNames().empty()) << "no record either";
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

    // Held open by a program that lets others read and write but not delete: the move fails after the
    // record was written, and the record goes again.
    const std::string shared = threats_ + "\\shared.exe";
    ASSERT_TRUE(WriteTextFile(shared, "shared"));
    {
        const UniqueFile holder(CreateFileA(shared.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        const auto before = FolderNames();
        EXPECT_EQ(HealThreatFile(shared, false, quarantine_, "suspicious."), FileHealOutcome::NotHealed);
        EXPECT_EQ(FolderNames(), before) << "no file, record or pending record left in quarantine";
    }
    EXPECT_EQ(ReadTextFile(shared), "shared");
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

// A removal that could not be stored is not dropped: it is stored with the next one that can be.
TEST_F(CounterTest, ARemovalThatCannotBeStoredWaitsForTheNextWrite) {
    ASSERT_TRUE(WriteTextFile(counter_, std::string("\x07\x00\x00\x00", 4)));
    RemovedCounter counter(counter_);
    {
        const UniqueFile holder(CreateFileA(counter_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(counter.Add(1));
        EXPECT_EQ(counter.Pending(), 1);
    }
    EXPECT_EQ(counter.Add(1), 9) << "the pending removal and the new one";
    EXPECT_EQ(counter.Pending(), 0);
    EXPECT_EQ(ReadTextFile(counter_), std::string("\x09\x00\x00\x00", 4));
    EXPECT_EQ(counter.Add(0), 9);
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

} // namespace
} // namespace tollivar
