// The program's shell as a user meets it: start-up, the main window, the tray, hiding, one copy at
// a time and shutdown. Every case starts the real tollguard.exe from a throw-away install folder.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "gui_session_win.h"

namespace tollivar::test {
namespace {

constexpr char kTrayTip[] = "USB Resident Shield [monitoring...]";

// The tray menu's choosable items in order (separators cannot be chosen).
enum TrayItem {
    kShowMainWindow,
    kHideMainWindow,
    kTrayThreatShield,
    kTrayThreatScan,
    kTrayHealSystem,
    kTraySettings,
    kTrayQuarantine,
    kTrayUpdate,
    kTrayHelp,
    kTrayAbout,
    kShutdownSecurity,
};

class ShellTest : public GuiSession {
  protected:
    ShellTest() : GuiSession("Tollivar Test") {}
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GuiSession::SetUp());
        // The tray notice before every hide has its own tests; here hiding goes straight to the tray.
        WriteTextFile(folder_.File("settings.ini"), "[TRAY]\r\n1=1\r\n");
    }

    // Starts the program from a folder with a blank in its name and waits for its window.
    HWND StartAndWait(const std::string& arguments = "", bool visible = true) {
        Start(visible, {}, arguments);
        return main_;
    }

    void ShutDown(HWND window) {
        ASSERT_TRUE(PickTrayMenuItem(window, app_->Pid(), kShutdownSecurity));
        auto box = WaitForMessageBox(app_->Pid(), kWarning);
        ASSERT_TRUE(box);
        AnswerMessageBox(box->window, IDYES);
        const auto code = app_->WaitForExit();
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
    }
};

TEST_F(ShellTest, StartsWithItsWindowStatusBarAndTrayIcon) {
    WriteTextFile(folder_.File("def.uas"), "[INFO]\r\nVersion=1\r\n");
    SetFileAttributesA(folder_.File("def.uas").c_str(), FILE_ATTRIBUTE_NORMAL);

    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowText(window), "Tollivar");
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZEBOX, 0);

    const struct {
        int id;
        const char* text;
    } buttons[] = {{1003, "Home"},     {1008, "Threat Shield"}, {1009, "Threat Scan"}, {1012, "Heal System"},
                   {1013, "Settings"}, {1109, "Quarantine"},    {1018, "Update"},      {1015, "Help Support"}};
    for (const auto& b : buttons) {
        HWND button = Control(window, b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(ClassOf(button), "Button") << b.id;
        EXPECT_EQ(WindowText(button), b.text) << b.id;
        EXPECT_TRUE(IsWindowVisible(button)) << b.id;
    }
    HWND banner = Control(window, 1005);
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(GetWindowLongA(banner, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    EXPECT_NE(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    HWND statusBar = Control(window, kStatusBar);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(ClassOf(statusBar), "msctls_statusbar32");
    EXPECT_EQ(StatusBarRightEdges(statusBar), (std::vector<int>{520, -1}));
    // Set up with " [ NO INFECTIONS FOUND, SYSTEM IS PROTECTED ]", then rewritten by the shield pass
    // that ends start-up, just after the window first shows.
    EXPECT_TRUE(WaitUntil(
        [&] { return StatusBarTexts(statusBar).at(0) == " NO THREAT DETECTED, RESIDENT SHIELD IS MONITORING..."; },
        3000));
    const auto parts = StatusBarTexts(statusBar);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1], "");

    EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(window); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return TrayIconTip(window) == std::optional<std::string>(kTrayTip); }, 3000))
        << (TrayIconTip(window) ? *TrayIconTip(window) : std::string("no tip"));

    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(Attributes(folder_.File("def.uas")) & marks, marks);
    EXPECT_FALSE(SaveScreenshot("main-window", window).empty());
    EXPECT_FALSE(SaveScreenshot("desktop-with-tray").empty());
    ShutDown(window);
}

TEST_F(ShellTest, AMissingDefinitionsFileStaysMissing) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    EXPECT_FALSE(FileExists(folder_.File("def.uas")));
    ShutDown(window);
}

// A start with " /b" shows the window for a moment and leaves only the tray icon, also when the
// machine is too busy for the window to appear before the first monitor tick.
class HiddenStartTest : public ShellTest, public testing::WithParamInterface<bool> {};

TEST_P(HiddenStartTest, ShowsTheWindowBrieflyThenHidesIt) {
    const bool busyMachine = GetParam();
    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    if (busyMachine)
        for (int i = 0; i < 6; ++i)
            load.emplace_back([&] {
                while (!stop) {
                }
            });

    HWND window = StartAndWait(" /b", false);
    ASSERT_TRUE(window);
    // Hidden within a second or two of the first tick, and it stays hidden.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    stop = true;
    for (auto& t : load) t.join();
    Sleep(1500);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(TrayIconExists(window));

    // The tray brings it back.
    PostTrayClick(window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(window); }, 3000));
    ShutDown(window);
}

INSTANTIATE_TEST_SUITE_P(IdleAndBusy, HiddenStartTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Busy" : "Idle"; });

TEST_F(ShellTest, CapitalBDoesNotStartHidden) {
    HWND window = StartAndWait(" /B");
    ASSERT_TRUE(window);
    Sleep(1500);
    EXPECT_TRUE(IsShown(window));
    ShutDown(window);
}

// Every way of closing hides the window to the tray; the process and the icon stay.
struct CloseCase {
    const char* name;
    void (*close)(HWND window, DWORD pid);
};

class CloseToTrayTest : public ShellTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseToTrayTest, HidesAndTheTrayBringsItBack) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    ClickButton(window, 1013); // leave the Home page: "Show Main Window" goes back to it
    GetParam().close(window, app_->Pid());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    Sleep(1200); // a monitor tick later it is still hidden
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(TrayIconExists(window));

    ASSERT_TRUE(PickTrayMenuItem(window, app_->Pid(), kShowMainWindow));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(window); }, 3000));
    ShutDown(window);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseToTrayTest,
    testing::Values(CloseCase{"CloseBox", [](HWND w, DWORD) { PressCloseBox(w); }},
                    CloseCase{"AltF4", [](HWND w, DWORD) { PressAltF4(w); }},
                    CloseCase{"TrayHide", [](HWND w, DWORD pid) { PickTrayMenuItem(w, pid, kHideMainWindow); }}),
    [](const testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

TEST_F(ShellTest, MinimiseLeavesTheWindowOnTheTaskbar) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    // A user's click comes after start-up has settled, not within its first moments: the dialog's
    // own first show (when its queue first runs empty) would undo an earlier minimise.
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, app_->Pid())) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
    Sleep(300);
    Minimise(window);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 3000));
    Sleep(1200);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window));
    PostTrayClick(window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsShown(window); }, 3000));
    ShutDown(window);
}

TEST_F(ShellTest, EnterEscapeAndUnknownCommandsLeaveTheWindowAlone) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    for (int id : {IDOK, IDCANCEL, 110, 4999}) PostCommand(window, id);
    // A command with another notification code than a click is not a command.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(102, 1), 0);
    PostMessageA(window, kTrayCallbackMessage, 1, WM_LBUTTONDOWN); // another icon id
    Sleep(800);
    EXPECT_TRUE(IsShown(window));
    EXPECT_TRUE(app_->Running());
    EXPECT_FALSE(FindTopWindow(app_->Pid(), "#32770", kWarning, true));
    ShutDown(window);
}

TEST_F(ShellTest, ASecondCopyWarnsAndEndsLeavingTheFirstAlone) {
    HWND first = StartAndWait();
    ASSERT_TRUE(first);
    RunningApp second = RunningApp::Start(folder_.ExePath());
    ASSERT_TRUE(second.Started());
    auto box = WaitForMessageBox(second.Pid(), "[ WARNING ]");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text,
              "Another instance of Tollivar is already running.\n\rPlease click in icon in the system tray to "
              "restore it..");
    EXPECT_EQ(box->buttons, (std::vector<std::string>{"OK"}));
    EXPECT_FALSE(box->hasIcon);
    // The second copy's own window was never shown.
    EXPECT_FALSE(FindTopWindow(second.Pid(), "#32770", "Tollivar", true));
    AnswerMessageBox(box->window, IDOK);
    const auto code = second.WaitForExit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);

    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(IsShown(first));
    EXPECT_TRUE(TrayIconExists(first));
    ShutDown(first);
}

TEST_F(ShellTest, ACopyUnderAnotherNameIsNotCounted) {
    HWND first = StartAndWait();
    ASSERT_TRUE(first);
    const std::string renamed = folder_.File("guard copy.exe");
    ASSERT_TRUE(CopyFileA(folder_.ExePath().c_str(), renamed.c_str(), FALSE));
    RunningApp other = RunningApp::Start(renamed);
    // The renamed copy counts only the first one, so it starts normally beside it.
    EXPECT_TRUE(other.WaitForMainWindow(true, 10000));
    EXPECT_FALSE(FindTopWindow(other.Pid(), "#32770", "[ WARNING ]", true));
    other.Kill();
    ShutDown(first);
}

TEST_F(ShellTest, ShutdownAsksFirstAndNoKeepsRunning) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    ASSERT_TRUE(PickTrayMenuItem(window, app_->Pid(), kShutdownSecurity));
    auto box = WaitForMessageBox(app_->Pid(), kWarning);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Do you wish to shutdown the Security System ?");
    EXPECT_EQ(box->buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_TRUE(box->hasIcon);
    AnswerMessageBox(box->window, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->window); }, 3000));
    Sleep(500);
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(TrayIconExists(window));

    // Shutting down from the tray while hidden: the icon goes and the process ends with 0.
    ASSERT_NO_FATAL_FAILURE(HideToTray());
    ASSERT_NO_FATAL_FAILURE(ShutDown(window));
    EXPECT_FALSE(TrayIconExists(window));
}

TEST_F(ShellTest, TrayMenuOpensAndClosesWithoutACommand) {
    HWND window = StartAndWait();
    ASSERT_TRUE(window);
    PressCloseBox(window);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    ASSERT_TRUE(OpenAndCancelTrayMenu(window, app_->Pid()));
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(app_->Running());
    ShutDown(window);
}

} // namespace
} // namespace tollivar::test
