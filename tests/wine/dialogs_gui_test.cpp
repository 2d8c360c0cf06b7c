// The shell's secondary dialogs on the real program: the splash at start-up, the tray notice before
// every hide, and help and support with the programs its buttons start.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui_session_win.h"

namespace tollivar::test {
namespace {

constexpr int kSplashPicture = 1111;
constexpr char kNoticeCaption[] = "Tollivar Tray Notification";
constexpr int kNoticeText = 1150;
constexpr int kNoticeCheck = 1151;
constexpr int kNoticeOk = 1152;
constexpr int kNoticeHint = 1153;
constexpr int kNoticePicture = 1154;
constexpr char kHelpCaption[] = "Help and Support";

// The program's splash: a top-level dialog without caption holding the splash picture.
HWND FindSplash(DWORD pid) {
    HWND found = nullptr;
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->pid || !IsWindowVisible(window) || !GetDlgItem(window, kSplashPicture)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    found = search.found;
    return found;
}

using SplashTest = GuiSession;

TEST_F(SplashTest, ShowsAloneForItsWholeTimeWhateverTheUserDoes) {
    WriteSetting("SETTINGS", "S2", "1");
    app_.emplace(RunningApp::Start(folder_.ExePath()));
    ASSERT_TRUE(app_->Started());
    HWND splash = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (splash = FindSplash(Pid())) != nullptr; }, 10000));
    const ULONGLONG shown = GetTickCount64();

    const LONG style = GetWindowLongA(splash, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_BORDER) << "a thin border and no caption";
    EXPECT_NE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(SendMessageA(GetDlgItem(splash, kSplashPicture), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_FALSE(FindTopWindow(Pid(), "#32770", "Tollivar", true)) << "the splash is alone on screen";
    SaveScreenshot("splash", splash);

    // Escape, Enter, Alt+F4, the close message and clicks do not end it early.
    PressKey(splash, VK_ESCAPE);
    PressKey(splash, VK_RETURN);
    PressAltF4(splash);
    PressCloseBox(splash);
    PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Sleep(3000);
    EXPECT_TRUE(IsWindow(splash) && IsWindowVisible(splash)) << "ended before its time";

    ASSERT_TRUE(Gone(splash, 8000));
    const ULONGLONG lasted = GetTickCount64() - shown;
    std::printf("splash shown for about %llu ms\n", static_cast<unsigned long long>(lasted));
    main_ = app_->WaitForMainWindow(true);
    EXPECT_NE(main_, nullptr);
}

TEST_F(SplashTest, NoSplashWhenSwitchedOff) {
    WriteSetting("SETTINGS", "S2", "0");
    app_.emplace(RunningApp::Start(folder_.ExePath()));
    ASSERT_TRUE(app_->Started());
    bool splashSeen = false;
    HWND window = nullptr;
    WaitUntil(
        [&] {
            splashSeen = splashSeen || FindSplash(Pid()) != nullptr;
            window = FindTopWindow(Pid(), "#32770", "Tollivar", true);
            return window != nullptr;
        },
        10000, 5);
    EXPECT_NE(window, nullptr);
    EXPECT_FALSE(splashSeen);
}

// The tray notice: "Ok" keeps the box's state in TRAY/1; the close box keeps nothing.
struct NoticeCase {
    const char* name;
    bool tick;
    bool pressOk;
    const char* stored;   // TRAY/1 afterwards
    bool comesAgain;      // shown at the next hide
};

class TrayNoticeTest : public GuiSession, public testing::WithParamInterface<NoticeCase> {
  protected:
    HWND HideAndWaitForNotice() {
        PressCloseBox(main_);
        return WaitForDialog(kNoticeCaption, 5000);
    }
};

TEST_P(TrayNoticeTest, ComesBeforeTheHideAsTheUserLeftIt) {
    const NoticeCase& c = GetParam();
    Start();
    HWND notice = HideAndWaitForNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(IsWindowVisible(main_)) << "the window hides only after the notice";
    EXPECT_EQ(GetWindow(notice, GW_OWNER), main_);
    EXPECT_EQ(ControlText(notice, kNoticeText),
              "Tollivar will now hide to the System Tray and will continue to work in the background. The Resident "
              "Shield is still active and is monitoring your system to provide you with 100% protection. You are "
              "safe and secure.");
    EXPECT_EQ(ControlText(notice, kNoticeHint),
              "To reopen the Tollivar dialog window, simply click the icon in the system tray as illustrated below.");
    EXPECT_EQ(ControlText(notice, kNoticeCheck), " Do not show this message again.");
    EXPECT_EQ(ControlText(notice, kNoticeOk), "Ok");
    EXPECT_NE(SendMessageA(Control(notice, kNoticePicture), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageA(Control(notice, kNoticeCheck), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    if (std::string(c.name) == "TickedOk") SaveScreenshot("tray-notification", notice);

    if (c.tick) {
        ClickButton(notice, kNoticeCheck);
        ASSERT_TRUE(WaitUntil(
            [&] { return SendMessageA(Control(notice, kNoticeCheck), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000));
    }
    if (c.pressOk) ClickButton(notice, kNoticeOk);
    else PressCloseBox(notice);
    ASSERT_TRUE(Gone(notice));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));
    EXPECT_EQ(ReadSetting("TRAY", "1"), c.stored);

    PostTrayClick(main_, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsShown(main_); }, 3000));
    notice = HideAndWaitForNotice();
    EXPECT_EQ(notice != nullptr, c.comesAgain);
    if (notice) PressCloseBox(notice);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000));
    EXPECT_TRUE(app_->Running());
}

INSTANTIATE_TEST_SUITE_P(Answers, TrayNoticeTest,
                         testing::Values(NoticeCase{"TickedOk", true, true, "1", false},
                                         NoticeCase{"UntickedOk", false, true, "0", true},
                                         NoticeCase{"TickedCloseBox", true, false, "<missing>", true}),
                         [](const testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });

// Help and support: every button starts its target through the shell. For the test's duration the
// shell's open commands for compiled help, web and mail links start a recorder program instead; the
// bench's own commands come back afterwards.
class ShellHandlers {
  public:
    explicit ShellHandlers(const std::string& command) {
        for (const char* key : {"Software\\Classes\\chm.file\\shell\\open\\command",
                                "Software\\Classes\\https\\shell\\open\\command",
                                "Software\\Classes\\mailto\\shell\\open\\command"}) {
            char old[1024] = {};
            DWORD size = sizeof old;
            const bool had =
                RegGetValueA(HKEY_LOCAL_MACHINE, key, nullptr, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
            saved_.push_back({key, had, old});
            Set(key, command);
        }
    }
    ~ShellHandlers() {
        for (const Saved& s : saved_) {
            if (s.had) Set(s.key, s.value);
            else RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, s.key.c_str(), nullptr);
        }
    }
    ShellHandlers(const ShellHandlers&) = delete;
    ShellHandlers& operator=(const ShellHandlers&) = delete;

  private:
    struct Saved {
        std::string key;
        bool had;
        std::string value;
    };
    static void Set(const std::string& key, const std::string& value) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>(value.size() + 1));
    }
    std::vector<Saved> saved_;
};

using HelpDialogTest = GuiSession;

TEST_F(HelpDialogTest, ShowsItsTopicsAndEveryButtonOpensItsTarget) {
    const char* recorder = std::getenv("TOLLIVAR_RECORDER");
    ASSERT_NE(recorder, nullptr) << "TOLLIVAR_RECORDER is not set: run through ctest";
    const std::string handler = folder_.File("handler.exe");
    ASSERT_TRUE(CopyFileA(DosPathOfUnix(recorder).c_str(), handler.c_str(), FALSE));
    const std::string log = handler + ".log";
    const ShellHandlers handlers("\"" + handler + "\" \"%1\"");
    ASSERT_TRUE(WriteTextFile(folder_.File("Tollivar Help.chm"), "help"));

    Start();
    PostCommand(main_, 1015);
    HWND help = WaitForDialog(kHelpCaption);
    ASSERT_NE(help, nullptr);
    const struct {
        int id;
        const char* text;
    } texts[] = {
        {1113, "Help Topics"},
        {1114, "Dear valued client, this HELP file has been created to assist and help you better understand the "
               "product. View help file to read more."},
        {1115, "View Help"},
        {1117, "Customer Support"},
        {1119, "Customer satisfaction is important to us. If the above Help file fails to provide you with answers "
               "you can mail to us, we will definitely help you out."},
        {1120, "Use online Form"},
        {1122, "OR"},
        {1121, "Use e-mail client"},
        {1123, "Latest News"},
        {1124, "For the latest News >"},
        {1126, "Visit Website"},
    };
    for (const auto& t : texts) EXPECT_EQ(ControlText(help, t.id), t.text) << t.id;
    for (int icon : {1116, 1118, 1125})
        EXPECT_NE(SendMessageA(Control(help, icon), STM_GETICON, 0, 0), 0) << icon;
    SaveScreenshot("help-dialog", help);

    // Enter and Escape leave it open.
    PressKey(Control(help, 1115), VK_RETURN);
    PressKey(help, VK_ESCAPE);
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(help));

    const struct {
        int button;
        std::string target;
    } targets[] = {
        {1115, folder_.File("Tollivar Help.chm")},
        {1120, "https://www.example.org/support.html"},
        {1121, "support@example.org"},
        {1126, "https://www.example.org/"},
    };
    std::size_t lines = 0;
    for (const auto& t : targets) {
        SCOPED_TRACE(t.button);
        ClickButton(help, t.button);
        ASSERT_TRUE(WaitUntil(
            [&] {
                const std::string text = ReadTextFile(log);
                return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) > lines;
            },
            8000))
            << "nothing was started";
        ++lines;
        const std::string text = ReadTextFile(log);
        const std::size_t start = text.rfind('\n', text.size() - 2);
        const std::string last = text.substr(start == std::string::npos ? 0 : start + 1);
        EXPECT_NE(last.find(t.target), std::string::npos) << last;
        EXPECT_TRUE(IsWindowVisible(help)) << "the dialog stays open";
    }

    PressCloseBox(help);
    EXPECT_TRUE(Gone(help));
    EXPECT_TRUE(IsShown(main_));
    EXPECT_TRUE(app_->Running());
}

} // namespace
} // namespace tollivar::test
