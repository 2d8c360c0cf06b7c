// Shortcut worms as a user meets them in the Resident Shield: a stick laid out as such a worm leaves
// it (real shortcuts made by the shell link object), its rows, Heal from the alert, the user's items
// given back, and a clean stick with ordinary shortcuts that gives nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "gui_session_win.h"
#include "shell_links_win.h"

namespace tollivar::test {
namespace {

std::wstring Root() {
    return Widen(RemovableStick().Root());
}

DWORD AttributesW(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

class ShortcutShieldTest : public GuiSession {
  protected:
    ShortcutShieldTest() : GuiSession("Tollivar Shortcuts") {}
    void Start(const std::string& settings = "[SETTINGS]\r\nS3=1\r\n[TRAY]\r\n1=1\r\n") {
        ASSERT_NO_FATAL_FAILURE(StartWith(settings));
        ASSERT_TRUE(WaitForShieldIdle());
    }
    std::vector<ListRow> Rows() const { return ListRows(kShieldList); }
};

TEST_F(ShortcutShieldTest, AWormStickIsListedHealedAndItsItemsGivenBack) {
    Start();
    RemovableStick().Insert();
    ASSERT_TRUE(WormStick::Lay(Root()));

    ASSERT_TRUE(WaitUntil([&] { return Rows().size() >= 7; }, 3000, 10)) << Rows().size() << " rows";
    Sleep(600); // later passes add nothing
    const std::vector<ListRow> rows = Rows();
    ASSERT_EQ(rows.size(), 7u) << "four shortcuts and three payloads, each once";
    std::vector<std::string> infectors;
    for (const ListRow& r : rows) {
        infectors.push_back(r.columns.at(0));
        EXPECT_EQ(r.columns.at(2), "shortcut worm.") << r.columns.at(0);
        EXPECT_TRUE(r.checked);
    }
    for (const char* expected :
         {"E:\\Photos.lnk", "E:\\Music.lnk", "E:\\Setup.lnk", "E:\\x.vbs", "E:\\x.dat", "E:\\x.dll"})
        EXPECT_NE(std::find(infectors.begin(), infectors.end(), expected), infectors.end()) << expected;
    const auto photos = std::find(infectors.begin(), infectors.end(), "E:\\Photos.lnk") - infectors.begin();
    EXPECT_EQ(rows[photos].columns.at(1), "E:\\x.vbs") << "what the shortcut runs";
    const auto setup = std::find(infectors.begin(), infectors.end(), "E:\\Setup.lnk") - infectors.begin();
    EXPECT_EQ(rows[setup].columns.at(1), "http://bad.example/p.msi");
    EXPECT_EQ(ControlText(panel_, kShieldStatus), " 7 THREAT(S)  DETECTED, HEAL NOW...");

    ASSERT_NO_FATAL_FAILURE(HealFromTheAlert());

    EXPECT_TRUE(WaitUntil(
        [&] {
            return ControlText(panel_, kShieldStatus) ==
                   " All Infections Successfully Healed... 4 items unhidden.";
        },
        3000, 2))
        << ControlText(panel_, kShieldStatus);
    // The user's folders and document are visible again, with their names and contents.
    for (const std::wstring& item :
         {Root() + L"Photos", Root() + WormStick::kBlank, Root() + L"Music", Root() + WormStick::kReport}) {
        const DWORD a = AttributesW(item);
        ASSERT_NE(a, INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(a & kHiddenSystem, 0u);
    }
    EXPECT_EQ(ReadWide(Root() + L"Photos\\beach.jpg"), "JPEG beach");
    EXPECT_EQ(ReadWide(Root() + WormStick::kBlank + L"\\notes.txt"), "my notes");
    EXPECT_EQ(ReadWide(Root() + L"Music\\song.mp3"), "ID3 song");
    EXPECT_EQ(ReadWide(Root() + WormStick::kReport), "report text");
    // The bait and its payloads are in the quarantine.
    for (const wchar_t* gone : {L"Photos.lnk", L"Music.lnk", L"Setup.lnk", L"x.vbs", L"x.dat", L"x.dll"})
        EXPECT_EQ(AttributesW(Root() + gone), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(AttributesW(Root() + WormStick::kReport + L".lnk"), INVALID_FILE_ATTRIBUTES);
    // Seven files quarantined, each with its record beside it (names beyond the code page too).
    const std::vector<std::string> quarantined = FileNamesIn(folder_.File("quarantine\\"));
    EXPECT_EQ(quarantined.size(), 14u);
    EXPECT_EQ(std::count_if(quarantined.begin(), quarantined.end(),
                            [](const std::string& n) { return n.size() > 5 && n.compare(n.size() - 5, 5, ".qrec") == 0; }),
              7);
    EXPECT_EQ(ControlText(panel_, kRemovedCount), "7");

    // The next pass finds nothing.
    EXPECT_TRUE(WaitForShieldIdle());
    Sleep(600);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(ShortcutShieldTest, TheScanListsTheWormStickAndHealsIt) {
    MakeFolders(folder_.File("bin"));
    WriteTextFile(folder_.File("bin\\unscript.bat"), "@echo off\r\n");
    WriteTextFile(folder_.File("bin\\unstart.reg"), "REGEDIT4\r\n\r\n");
    Start("[SCAN]\r\nLD=0\r\nRM=1\r\n[SETTINGS]\r\nS3=0\r\n[TRAY]\r\n1=1\r\n");
    RemovableStick().Insert();
    ASSERT_TRUE(WormStick::Lay(Root()));
    PostCommand(main_, 1009); // the Threat Scan page
    ClickButton(main_, kStartScan);
    const auto status = [&] { return ControlText(panel_, kScanStatus); };
    ASSERT_TRUE(WaitUntil([&] { return status().find("DETECTED.") != std::string::npos; }, 20000))
        << status();
    std::vector<std::string> shortcuts;
    for (const ListRow& r : ReadListView(Control(panel_, kScanList)))
        if (r.columns.at(2) == "shortcut worm." && r.columns.at(0).size() > 4 &&
            r.columns.at(0).compare(r.columns.at(0).size() - 4, 4, ".lnk") == 0) {
            EXPECT_EQ(r.columns.at(1), "F");
            shortcuts.push_back(r.columns.at(0));
        }
    EXPECT_EQ(shortcuts.size(), 4u);
    for (const char* expected : {"E:\\Photos.lnk", "E:\\Music.lnk", "E:\\Setup.lnk"})
        EXPECT_NE(std::find(shortcuts.begin(), shortcuts.end(), expected), shortcuts.end()) << expected;

    PostCommand(main_, kHealScanSelected);
    auto question = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return status() == " All Infections Healed... 4 items unhidden."; }, 5000))
        << status();
    for (const std::wstring& item :
         {Root() + L"Photos", Root() + WormStick::kBlank, Root() + L"Music", Root() + WormStick::kReport})
        EXPECT_EQ(AttributesW(item) & kHiddenSystem, 0u);
    EXPECT_EQ(AttributesW(Root() + L"Photos.lnk"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(AttributesW(Root() + L"x.vbs"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ShortcutShieldTest, OrdinaryShortcutsGiveNoRow) {
    Start();
    RemovableStick().Insert();
    ASSERT_TRUE(LayCleanStick(Root()));
    Sleep(1500);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(ControlText(panel_, kShieldStatus), kNoShieldThreat);
    EXPECT_FALSE(FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true));
}

} // namespace
} // namespace tollivar::test
