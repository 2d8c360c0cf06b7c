// The Resident Shield as a user meets it: a stick inserted while the program runs, the alert and its
// three choices, and the count rule, on the real tollguard.exe with the window hidden in the tray.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bench_win.h"
#include "program_ids.h"
#include "ui_driver_win.h"

namespace tollivar::test {
namespace {

constexpr int kAlertHeal = 1102;
constexpr int kAlertIgnore = 1104;
constexpr int kAlertFullScan = 1141;

constexpr char kAlertCaption[] = "Resident Shield - Alert";
constexpr char kNoShieldThreat[] = " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...";
constexpr char kNoThreat[] = " NO THREAT DETECTED, RESIDENT SHIELD IS MONITORING...";

class ShieldTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(ProgramUnderTest().empty()) << "TOLLIVAR_EXE is not set: run through ctest";
        RemovableStick().Pull();
    }
    void TearDown() override {
        if (app_) app_->Kill();
        RemovableStick().Pull();
        SecondStick().Pull();
    }
    // Starts with the alert setting given; the tray notice is switched off, so hiding is immediate.
    void Start(int alert) {
        WriteTextFile(folder_.File("settings.ini"),
                      "[SETTINGS]\r\nS3=" + std::to_string(alert) + "\r\n[TRAY]\r\n1=1\r\n");
        app_.emplace(RunningApp::Start(folder_.ExePath()));
        ASSERT_TRUE(app_->Started());
        main_ = app_->WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        panel_ = Control(Control(main_, kMainTab), kPagePanel);
        ASSERT_NE(panel_, nullptr);
    }
    void HideToTray() {
        PressCloseBox(main_);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000)) << "the window did not hide";
    }
    // An infected stick: its autorun.inf opens a program on it.
    void InsertInfectedStick() {
        SimulatedDrive& stick = RemovableStick();
        stick.Insert();
        ASSERT_TRUE(stick.Write("evil.exe", "MZ evil"));
        ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=evil.exe /go\r\n"));
    }
    std::vector<ListRow> ShieldRows() const { return ReadListView(Control(panel_, kShieldList)); }
    bool WaitForShieldRows(std::size_t n, DWORD timeoutMs = 3000) const {
        return WaitUntil([&] { return ShieldRows().size() == n; }, timeoutMs, 10);
    }
    HWND WaitForAlert(DWORD timeoutMs = 3000) const {
        HWND alert = nullptr;
        WaitUntil([&] { return (alert = FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true)) != nullptr; },
                  timeoutMs);
        return alert;
    }
    int Tab() const { return TabSelection(Control(main_, kMainTab)); }
    std::string StatusBarPart0() const { return StatusBarTexts(Control(main_, kStatusBar)).at(0); }

    InstallFolder folder_{"Tollivar Shield"};
    std::optional<RunningApp> app_;
    HWND main_ = nullptr;
    HWND panel_ = nullptr;
};

TEST_F(ShieldTest, AStickInsertedWhileHiddenIsListedAlertedAndHealedFromTheAlert) {
    Start(1);
    // The start-up pass writes both texts just after the window first shows.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kShieldStatus) == kNoShieldThreat; }, 3000));
    EXPECT_EQ(StatusBarPart0(), kNoThreat);
    HideToTray();
    InsertInfectedStick();

    ASSERT_TRUE(WaitForShieldRows(2)) << "two rows within about a second";
    const std::vector<ListRow> rows = ShieldRows();
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"E:\\autorun.inf", "evil.exe", "suspicious."}));
    EXPECT_EQ(rows[1].columns, (std::vector<std::string>{"E:\\evil.exe", "possible malware.", "suspicious."}));
    EXPECT_TRUE(rows[0].checked && rows[1].checked);
    EXPECT_EQ(ControlText(panel_, kShieldStatus), " 2 THREAT(S)  DETECTED, HEAL NOW...");
    EXPECT_EQ(StatusBarPart0(), " 2 THREAT(S)  DETECTED, IMMEDIATE ACTION IS REQUIRED...");
    EXPECT_EQ(Tab(), 1) << "the Threat Shield page is brought forward";

    HWND alert = WaitForAlert();
    ASSERT_NE(alert, nullptr) << "no alert";
    EXPECT_FALSE(IsWindowVisible(main_)) << "the alert alone shows; the window stays in the tray";
    EXPECT_NE(GetWindowLongA(alert, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongA(alert, GWL_STYLE) & WS_SYSMENU, 0) << "no close box";
    for (const auto& [id, text] : std::vector<std::pair<int, std::string>>{
             {kAlertHeal, "Heal"}, {kAlertIgnore, "Ignore"}, {kAlertFullScan, "Full Scan >"}, {1108, "Threat Risk"}})
        EXPECT_EQ(ControlText(alert, id), text) << id;
    EXPECT_NE(ControlText(alert, 1107).find("Click \"Heal\" to Automatically clean"), std::string::npos);
    EXPECT_FALSE(SaveScreenshot("shield-alert").empty());
    EXPECT_FALSE(SaveScreenshot("shield-alert-window", alert).empty());
    Sleep(1500);
    EXPECT_EQ(ShieldRows().size(), 2u) << "later passes add nothing";
    EXPECT_EQ(FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true), alert) << "and open no second alert";

    ClickButton(alert, kAlertHeal);
    auto question = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, kHealQuestion);
    EXPECT_TRUE(IsShown(main_)) << "Heal brings the window back";
    EXPECT_EQ(Tab(), 1);
    EXPECT_FALSE(IsWindow(alert));
    AnswerMessageBox(question->window, IDYES);

    // The success text lasts until the next pass: watch closely.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kShieldStatus) == " All Infections Successfully Healed..."; },
                          3000, 2));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kRemovedCount) == "2"; }, 3000));
    EXPECT_TRUE(ShieldRows().empty());
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_FALSE(FileExists("E:\\evil.exe"));
    EXPECT_EQ(FileNamesIn(folder_.File("quarantine\\")).size(), 4u) << "two files, each with its record";
    EXPECT_EQ(ReadTextFile(folder_.File("count.uas")), std::string("\x02\x00\x00\x00", 4));

    // The next pass finds the autorun file gone and writes the no-threat texts again.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kShieldStatus) == kNoShieldThreat; }, 3000));
    EXPECT_EQ(StatusBarPart0(), kNoThreat);
    EXPECT_FALSE(FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true));
}

// Ignore, Full Scan, closing the alert, Enter and Escape, each from the tray.
TEST_F(ShieldTest, TheAlertsOtherAnswers) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool ends;        // the alert closes
        bool windowShown; // after it closed
        int tab;
    } cases[] = {
        {"Ignore", WM_COMMAND, kAlertIgnore, true, false, 1},
        {"Full Scan", WM_COMMAND, kAlertFullScan, true, true, 2},
        {"close", WM_CLOSE, 0, true, false, 1},
        {"Enter", WM_COMMAND, IDOK, false, false, 1},
        {"Escape", WM_COMMAND, IDCANCEL, false, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(1);
        HideToTray();
        InsertInfectedStick();
        HWND alert = WaitForAlert();
        ASSERT_NE(alert, nullptr);
        PostMessageA(alert, c.message, c.wParam, 0);
        if (c.ends) {
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(alert); }, 3000));
        } else {
            Sleep(500);
            EXPECT_TRUE(IsWindowVisible(alert)) << "the alert stays open";
        }
        Sleep(1300); // a pass or more after the answer
        EXPECT_EQ(IsShown(main_), c.windowShown);
        EXPECT_EQ(Tab(), c.tab);
        EXPECT_FALSE(FindTopWindow(app_->Pid(), "#32770", kWarning, true)) << "nothing is healed";
        EXPECT_EQ(ShieldRows().size(), 2u);
        EXPECT_TRUE(FileExists("E:\\evil.exe"));
        if (c.tab == 2) {
            EXPECT_EQ(ControlText(panel_, kScanStatus), "PLEASE RUN A SCAN FIRST...") << "no scan is started";
            EXPECT_TRUE(ReadListView(Control(panel_, kScanList)).empty());
        }
        if (!c.ends) {
            EXPECT_EQ(FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true), alert) << "only one alert";
        }
        app_->Kill();
        app_.reset();
        RemovableStick().Pull();
    }
}

TEST_F(ShieldTest, WithoutTheAlertSettingThePageSwitchesAndNothingOpens) {
    Start(0);
    HideToTray();
    InsertInfectedStick();
    ASSERT_TRUE(WaitForShieldRows(2));
    EXPECT_TRUE(WaitUntil([&] { return Tab() == 1; }, 2000));
    EXPECT_EQ(WaitForAlert(1500), nullptr);
    EXPECT_FALSE(IsWindowVisible(main_));
}

// lastAlertCount: a heal empties the list but the count stays; the same count again neither switches
// nor alerts.
TEST_F(ShieldTest, AfterAHealTheOldCountNeitherSwitchesNorAlerts) {
    Start(1);
    InsertInfectedStick();
    HWND alert = WaitForAlert();
    ASSERT_NE(alert, nullptr);
    ClickButton(alert, kAlertHeal);
    auto question = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(panel_, kRemovedCount) == "2"; }, 3000));
    ASSERT_TRUE(ShieldRows().empty());
    PostCommand(main_, 1003); // Home
    ASSERT_TRUE(WaitUntil([&] { return Tab() == 0; }, 2000));

    InsertInfectedStick(); // two rows again: the count of the last alert
    ASSERT_TRUE(WaitForShieldRows(2));
    EXPECT_EQ(WaitForAlert(1500), nullptr);
    EXPECT_EQ(Tab(), 0) << "the page stays where the user put it";
}

TEST_F(ShieldTest, TwoSticksBetweenTwoPassesGiveFourRowsAndOneAlert) {
    Start(1);
    HideToTray();
    const std::vector<std::pair<std::string, std::string>> infected = {
        {"evil.exe", "MZ evil"}, {"autorun.inf", "[autorun]\r\nopen=evil.exe /go\r\n"}};
    ASSERT_TRUE(RemovableStick().Stage(infected));
    ASSERT_TRUE(SecondStick().Stage(infected));
    ASSERT_TRUE(RemovableStick().InsertStaged());
    ASSERT_TRUE(SecondStick().InsertStaged());

    ASSERT_TRUE(WaitForShieldRows(4));
    const std::vector<ListRow> rows = ShieldRows();
    std::vector<std::string> infectors;
    for (const ListRow& row : rows) infectors.push_back(row.columns.at(0));
    EXPECT_NE(std::find(infectors.begin(), infectors.end(), "E:\\autorun.inf"), infectors.end());
    EXPECT_NE(std::find(infectors.begin(), infectors.end(), "G:\\autorun.inf"), infectors.end());
    HWND alert = WaitForAlert();
    ASSERT_NE(alert, nullptr);
    ClickButton(alert, kAlertIgnore);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(alert); }, 3000));
    Sleep(2500); // two more passes: the count has not changed, so no second alert
    EXPECT_EQ(FindTopWindow(app_->Pid(), "#32770", kAlertCaption, true), nullptr);
    EXPECT_EQ(ShieldRows().size(), 4u);
}

// A worm's autorun.inf as it is found on sticks: UTF-16, padded with junk, the header unclosed, the
// payload handed to rundll32 deep in a hidden fake recycle bin, a second payload through a verb.
TEST_F(ShieldTest, AWormStickInUtf16IsListedWithEveryPayloadAndHealedOutOfItsHiddenFolder) {
    Start(0);
    std::string junk;
    for (int i = 0; i < 30; ++i) junk += ";" + std::string(40, static_cast<char>('a' + i % 26)) + "\r\n";
    const std::string text = junk + "\t[AuToRuN\r\n" + junk +
                             " sHeLlExEcUtE =  rundll32.exe .\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx,ahaezedrn\r\n" +
                             "shell\\explore\\command = wscript.exe //e:vbscript RECYCLER\\S-1-5-21\\x.dat\r\n" +
                             "icon=%SystemRoot%\\system32\\SHELL32.dll,4\r\n" + junk;
    std::string inf = "\xFF\xFE";
    for (char c : text) {
        inf += c;
        inf += '\0';
    }
    SimulatedDrive& stick = RemovableStick();
    ASSERT_TRUE(stick.Stage({{"autorun.inf", inf},
                             {"RECYCLER\\S-1-5-21\\jwgkvsq.vmx", "MZ payload"},
                             {"RECYCLER\\S-1-5-21\\x.dat", "script payload"},
                             {"Photos\\holiday.jpg", "a photo"}}));
    ASSERT_TRUE(stick.InsertStaged());
    stick.WaitUntilResolvable();
    SetFileAttributesA("E:\\RECYCLER", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    ASSERT_TRUE(WaitForShieldRows(3)) << "the autorun file once and each payload, within a pass";
    const std::vector<ListRow> rows = ShieldRows();
    EXPECT_EQ(rows[0].columns[0], "E:\\autorun.inf");
    EXPECT_EQ(rows[1].columns[0], "E:\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx");
    EXPECT_EQ(rows[2].columns[0], "E:\\RECYCLER\\S-1-5-21\\x.dat");
    EXPECT_EQ(ControlText(panel_, kShieldStatus), " 3 THREAT(S)  DETECTED, HEAL NOW...");
    Sleep(1500);
    EXPECT_EQ(ShieldRows().size(), 3u) << "later passes add nothing";

    PostCommand(main_, kHealShieldSelected);
    auto question = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    // The status text tells the heal is over.
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kShieldStatus) == " All Infections Successfully Healed..."; },
                          5000, 2));
    EXPECT_FALSE(FileExists("E:\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx"));
    EXPECT_FALSE(FileExists("E:\\RECYCLER\\S-1-5-21\\x.dat"));
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_EQ(ReadTextFile("E:\\Photos\\holiday.jpg"), "a photo") << "the user's files stay";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kRemovedCount) == "3"; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel_, kShieldStatus) == kNoShieldThreat; }, 3000));
}

// Rows a pass adds while the heal question is open were never shown to the user when asked: they
// are not healed with the rows the user said yes to, and they stay listed.
TEST_F(ShieldTest, RowsListedWhileTheHealQuestionIsOpenAreNotHealedWithTheAskedRows) {
    Start(0);
    InsertInfectedStick();
    ASSERT_TRUE(WaitForShieldRows(2));
    PostCommand(main_, kHealShieldSelected);
    auto question = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(question);
    SimulatedDrive& second = SecondStick();
    second.Insert();
    ASSERT_TRUE(second.Write("worm.exe", "MZ worm"));
    ASSERT_TRUE(second.Write("autorun.inf", "[autorun]\r\nopen=worm.exe\r\n"));
    ASSERT_TRUE(WaitForShieldRows(4)) << "passes go on while the question is open";
    AnswerMessageBox(question->window, IDYES);

    EXPECT_TRUE(WaitUntil([&] { return !FileExists("E:\\evil.exe"); }, 5000));
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_EQ(ReadTextFile("G:\\worm.exe"), "MZ worm") << "never asked about";
    EXPECT_TRUE(FileExists("G:\\autorun.inf"));
    ASSERT_TRUE(WaitForShieldRows(2));
    EXPECT_EQ(ShieldRows()[0].columns[0], "G:\\autorun.inf");
}

} // namespace
} // namespace tollivar::test
