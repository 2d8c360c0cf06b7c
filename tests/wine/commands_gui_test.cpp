// The command table as a user meets it: every button and tray-menu id, the tray icon's clicks,
// Enter and Escape, and the Update command with and without an update program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gui_session_win.h"

namespace tollivar::test {
namespace {

constexpr int kHealList = 4304;
constexpr int kScanMemoryCheck = 4204;

// One control that only its own page shows, by page index.
constexpr int kPageMarks[] = {4017, kShieldList, kScanList, kHealList, 4404};

constexpr char kUpdateCaption[] = "Update Tollivar";
constexpr char kUpdateQuestion[] =
    "Tollivar has been designed to work without regular updates.\n\rThis is why it protects both Offline and "
    "Online systems effectively.\n\r \n\rIn order to Update itself, Tollivar will now terminate itself.\n\rAfter "
    "the Update Wizard has finished updating Tollivar,\n\ryou must restart Tollivar. Continue ?";

enum class Does { ShowPage, Hide, OpenDialog, Ask, TickAll, StartScan };

struct CommandRow {
    int id;
    Does does;
    int page = 0;                  // ShowPage
    const char* caption = nullptr; // OpenDialog, Ask
    const char* text = nullptr;    // Ask: the question or report
    int answer = IDNO;             // Ask
    int list = 0;                  // TickAll
    bool tick = false;             // TickAll
};

bool FromTray(int id) { return id >= 100 && id < 200; }

// Successive page rows go to different pages, so each one has to switch.
const CommandRow kCommandTable[] = {
    {1013, Does::ShowPage, 4},
    {1003, Does::ShowPage, 0},
    {1008, Does::ShowPage, 1},
    {101, Does::ShowPage, 0},
    {103, Does::ShowPage, 1},
    {111, Does::ShowPage, 0},
    {1009, Does::ShowPage, 2},
    {1012, Does::ShowPage, 3},
    {104, Does::ShowPage, 2},
    {105, Does::ShowPage, 3},
    {106, Does::ShowPage, 4},
    {4009, Does::ShowPage, 2},
    {4014, Does::ShowPage, 3},
    {102, Does::Hide},
    {1015, Does::OpenDialog, 0, "Help and Support"},
    {109, Does::OpenDialog, 0, "Help and Support"},
    {1109, Does::OpenDialog, 0, "Quarantine Threats"},
    {107, Does::OpenDialog, 0, "Quarantine Threats"},
    {1018, Does::Ask, 0, kUpdateCaption, kUpdateQuestion},
    {108, Does::Ask, 0, kUpdateCaption, kUpdateQuestion},
    {112, Does::Ask, 0, kWarning, "Do you wish to shutdown the Security System ?"},
    {4107, Does::Ask, 0, kWarning, kHealQuestion},
    {4215, Does::Ask, 0, kWarning, kHealQuestion},
    {4307, Does::Ask, 0, kWarning, "Continue healing the system of the selected infections ?"},
    {4410, Does::Ask, 0, "[ DONE ]", "Your settings have been modified successfully!", IDOK},
    {4106, Does::TickAll, 0, nullptr, nullptr, IDNO, kShieldList, false},
    {4105, Does::TickAll, 0, nullptr, nullptr, IDNO, kShieldList, true},
    {4212, Does::TickAll, 0, nullptr, nullptr, IDNO, kScanList, false},
    {4211, Does::TickAll, 0, nullptr, nullptr, IDNO, kScanList, true},
    {4306, Does::TickAll, 0, nullptr, nullptr, IDNO, kHealList, false},
    {4305, Does::TickAll, 0, nullptr, nullptr, IDNO, kHealList, true},
    {4213, Does::StartScan}, // last: the scan empties the Scan list
};

class CommandsTest : public GuiSession {
  protected:
    void SetUp() override {
        GuiSession::SetUp();
        WriteSetting("TRAY", "1", "1"); // the tray notice has tests of its own
        WriteTextFile(folder_.File("def.uas"), "[INFO]\r\nVersion=7\r\n");
    }

    void Show() {
        if (IsShown(main_)) return;
        PostTrayClick(main_, WM_LBUTTONDOWN);
        ASSERT_TRUE(WaitUntil([&] { return IsShown(main_); }, 3000));
    }

    // The page shown: the tab's selection and only that page's controls.
    void ExpectPage(int page) {
        EXPECT_TRUE(WaitUntil([&] { return TabSelection(Tab()) == page; }, 3000)) << "tab " << TabSelection(Tab());
        for (int p = 0; p < 5; ++p) EXPECT_EQ(IsWindowVisible(Panel(kPageMarks[p])) != FALSE, p == page) << p;
    }

    void ExpectRows(int list, bool ticked) {
        const auto rows = ReadListView(Panel(list));
        ASSERT_FALSE(rows.empty());
        for (const ListRow& row : rows) EXPECT_EQ(row.checked, ticked) << row.columns[0];
    }

    void Run(const CommandRow& row);
};

void CommandsTest::Run(const CommandRow& row) {
    switch (row.does) {
    case Does::ShowPage:
        // From the tray every page command brings the window back; a button is clicked on a shown window.
        if (FromTray(row.id)) HideToTray();
        else Show();
        PostCommand(main_, row.id);
        EXPECT_TRUE(WaitUntil([&] { return IsShown(main_); }, 3000));
        ExpectPage(row.page);
        break;
    case Does::Hide:
        Show();
        PostCommand(main_, row.id);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));
        EXPECT_TRUE(app_->Running());
        break;
    case Does::OpenDialog: {
        // Opened from the tray, the dialog comes on its own and the window stays in the tray.
        if (FromTray(row.id)) HideToTray();
        else Show();
        PostCommand(main_, row.id);
        HWND dialog = WaitForDialog(row.caption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_);
        EXPECT_EQ(IsWindowVisible(main_) != FALSE, !FromTray(row.id));
        PressCloseBox(dialog);
        EXPECT_TRUE(Gone(dialog));
        EXPECT_EQ(IsWindowVisible(main_) != FALSE, !FromTray(row.id));
        break;
    }
    case Does::Ask: {
        if (FromTray(row.id)) HideToTray();
        else Show();
        PostCommand(main_, row.id);
        auto box = WaitForMessageBox(Pid(), row.caption);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, row.text);
        AnswerMessageBox(box->window, row.answer);
        EXPECT_TRUE(Gone(box->window));
        Sleep(300);
        EXPECT_TRUE(app_->Running());
        EXPECT_EQ(IsWindowVisible(main_) != FALSE, !FromTray(row.id));
        break;
    }
    case Does::TickAll:
        Show();
        PostCommand(main_, row.id);
        EXPECT_TRUE(WaitUntil(
            [&] {
                const auto rows = ReadListView(Panel(row.list));
                for (const ListRow& r : rows)
                    if (r.checked != row.tick) return false;
                return !rows.empty();
            },
            3000));
        ExpectRows(row.list, row.tick);
        break;
    case Does::StartScan: {
        Show();
        const std::string before = ControlText(panel_, kScanStatus);
        PostCommand(main_, row.id);
        // A running scan greys its start button and rewrites its status text.
        EXPECT_TRUE(WaitUntil(
            [&] { return !IsWindowEnabled(Panel(kStartScan)) || ControlText(panel_, kScanStatus) != before; }, 5000));
        break;
    }
    }
}

TEST_F(CommandsTest, EveryCommandIdDoesWhatItsRowSays) {
    Start();
    // Rows to tick and untick in the two detection lists (the Heal System list has its own rows).
    ASSERT_TRUE(InsertListRow(Panel(kShieldList), "E:\\autorun.inf", false));
    ASSERT_TRUE(InsertListRow(Panel(kShieldList), "E:\\run.exe", true));
    ASSERT_TRUE(InsertListRow(Panel(kScanList), "F:\\autorun.inf", false));
    SendMessageA(Panel(kScanMemoryCheck), BM_SETCHECK, BST_UNCHECKED, 0); // a short scan
    for (const CommandRow& row : kCommandTable) {
        SCOPED_TRACE("command " + std::to_string(row.id));
        Run(row);
        if (HasFatalFailure()) return;
    }
}

TEST_F(CommandsTest, TrayClickKeepsThePageAndShowMainWindowGoesHome) {
    Start();
    ASSERT_TRUE(ClickTab(Tab(), 4));
    ASSERT_TRUE(WaitUntil([&] { return TabSelection(Tab()) == 4; }, 3000));

    // Enter and Escape change nothing.
    SetForegroundWindow(main_);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) PressKey(main_, key);
    Sleep(600);
    EXPECT_TRUE(IsShown(main_));
    ExpectPage(4);
    EXPECT_FALSE(FindTopWindow(Pid(), "#32770", kWarning, true));

    HideToTray();
    PostTrayClick(main_, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(main_); }, 3000));
    ExpectPage(4);

    HideToTray();
    ASSERT_TRUE(PickTrayMenuItem(main_, Pid(), 0)); // "Show Main Window"
    EXPECT_TRUE(WaitUntil([&] { return IsShown(main_); }, 3000));
    ExpectPage(0);
}

// The Update question: No changes nothing; Yes hands over to the update program and ends, unless it
// cannot be started.
constexpr DWORD kDefinitionsMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class UpdateTest : public CommandsTest {
  protected:
    std::optional<MessageBoxView> AskUpdate() {
        PostCommand(main_, 1018);
        return WaitForMessageBox(Pid(), kUpdateCaption);
    }
};

TEST_F(UpdateTest, NoLeavesTheDefinitionsFileAndTheProgramAlone) {
    Start();
    ASSERT_EQ(Attributes(folder_.File("def.uas")) & kDefinitionsMarks, kDefinitionsMarks);
    const auto box = AskUpdate();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, kUpdateQuestion);
    EXPECT_EQ(box->buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_FALSE(box->hasIcon);
    AnswerMessageBox(box->window, IDNO);
    ASSERT_TRUE(Gone(box->window));
    Sleep(500);
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(TrayIconExists(main_));
    EXPECT_EQ(Attributes(folder_.File("def.uas")) & kDefinitionsMarks, kDefinitionsMarks);
}

TEST_F(UpdateTest, YesWithoutAnUpdateProgramSaysSoAndKeepsRunning) {
    Start();
    const auto box = AskUpdate();
    ASSERT_TRUE(box);
    AnswerMessageBox(box->window, IDYES);
    ASSERT_TRUE(Gone(box->window));
    const auto report = WaitForMessageBox(Pid(), kUpdateCaption);
    ASSERT_TRUE(report);
    EXPECT_NE(report->text.find("could not be started"), std::string::npos) << report->text;
    EXPECT_NE(report->text.find(folder_.File("KVRUpdate.exe")), std::string::npos) << report->text;
    EXPECT_EQ(report->buttons, (std::vector<std::string>{"OK"}));
    AnswerMessageBox(report->window, IDOK);
    ASSERT_TRUE(Gone(report->window));
    Sleep(500);
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(IsShown(main_));
    EXPECT_TRUE(TrayIconExists(main_));
    // Nothing was handed over, so def.uas keeps its marks.
    EXPECT_EQ(Attributes(folder_.File("def.uas")) & kDefinitionsMarks, kDefinitionsMarks);
}

TEST_F(UpdateTest, YesStartsTheUpdateProgramAndEnds) {
    const char* recorder = std::getenv("TOLLIVAR_RECORDER");
    ASSERT_NE(recorder, nullptr) << "TOLLIVAR_RECORDER is not set: run through ctest";
    ASSERT_TRUE(CopyFileA(DosPathOfUnix(recorder).c_str(), folder_.File("KVRUpdate.exe").c_str(), FALSE));
    Start();
    const auto box = AskUpdate();
    ASSERT_TRUE(box);
    AnswerMessageBox(box->window, IDYES);
    const auto code = app_->WaitForExit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(TrayIconExists(main_));
    EXPECT_TRUE(WaitUntil([&] { return FileExists(folder_.File("KVRUpdate.exe.log")); }, 5000));
    // The update program may rewrite the definitions.
    EXPECT_EQ(Attributes(folder_.File("def.uas")) & kDefinitionsMarks, 0u);
}

} // namespace
} // namespace tollivar::test
