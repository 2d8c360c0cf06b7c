// A fixture for tests that drive the real program: a throw-away install folder, the running copy, its
// main window and the controls of its pages, and the sticks of the bench pulled before and after.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "bench_win.h"
#include "program_ids.h"
#include "ui_driver_win.h"

namespace tollivar::test {

class GuiSession : public testing::Test {
  protected:
    explicit GuiSession(const std::string& folderName = "Tollivar Dialogs") : folder_(folderName) {}

    void SetUp() override {
        ASSERT_FALSE(ProgramUnderTest().empty()) << "TOLLIVAR_EXE is not set: run through ctest";
        RemovableStick().Pull();
    }
    void TearDown() override {
        if (app_ && app_->Running()) app_->Kill();
        RemovableStick().Pull();
        SecondStick().Pull();
    }

    void WriteSetting(const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, folder_.File("settings.ini").c_str());
    }
    std::string ReadSetting(const char* section, const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, folder_.File("settings.ini").c_str());
        return value;
    }

    // Starts the program and waits for its window (visible unless told otherwise); a copy already
    // running is ended first, so that the new one is not refused as a second copy.
    // With wineDebug set, the program runs with those Wine debug channels (e.g. "+eventlog").
    void Start(bool visible = true, const std::string& wineDebug = {}, const std::string& arguments = {}) {
        if (app_) app_->Kill();
        app_.reset();
        main_ = panel_ = nullptr;
        if (wineDebug.empty())
            app_.emplace(RunningApp::Start(folder_.ExePath(), arguments));
        else
            app_.emplace(RunningApp::StartWithWineDebug(folder_.ExePath(), wineDebug, arguments));
        ASSERT_TRUE(app_->Started());
        main_ = app_->WaitForMainWindow(visible);
        ASSERT_NE(main_, nullptr) << "no main window";
        panel_ = Control(Control(main_, kMainTab), kPagePanel);
        ASSERT_NE(panel_, nullptr);
    }
    // The same from a settings.ini with this text (the whole file).
    void StartWith(const std::string& settings, bool visible = true) {
        ASSERT_TRUE(WriteTextFile(folder_.File("settings.ini"), settings));
        Start(visible);
    }

    HWND Tab() const { return Control(main_, kMainTab); }
    int ShownPage() const { return TabSelection(Tab()); }
    HWND Panel(int id) const { return Control(panel_, id); }
    std::string Text(int id) const { return ControlText(panel_, id); }
    std::string StatusBarText() const { return StatusBarTexts(Control(main_, kStatusBar)).at(0); }
    DWORD Pid() const { return app_->Pid(); }

    std::vector<ListRow> ListRows(int list) const { return ReadListView(Panel(list)); }
    bool WaitForRowCount(int list, std::size_t n, DWORD timeoutMs = 3000) const {
        return WaitUntil([&] { return ListRows(list).size() == n; }, timeoutMs, 10);
    }
    // The shield pass that ends start-up (and every clean pass after it) writes this text.
    bool WaitForShieldIdle(DWORD timeoutMs = 3000) const {
        return WaitUntil([&] { return Text(kShieldStatus) == kNoShieldThreat; }, timeoutMs);
    }

    void HideToTray() {
        PressCloseBox(main_);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, 5000)) << "the window did not hide";
    }

    // A visible top-level dialog of the program with this caption, once it appears.
    HWND WaitForDialog(const char* caption, DWORD timeoutMs = kDefaultWaitMs) const {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindTopWindow(Pid(), "#32770", caption, true)) != nullptr; }, timeoutMs);
        return found;
    }
    HWND WaitForAlert(DWORD timeoutMs = 3000) const { return WaitForDialog(kAlertCaption, timeoutMs); }
    // Heal on the shield's alert, and Yes to the question that follows.
    void HealFromTheAlert() {
        HWND alert = WaitForAlert();
        ASSERT_NE(alert, nullptr) << "no alert";
        ClickButton(alert, kAlertHeal);
        auto question = WaitForMessageBox(Pid(), kWarning);
        ASSERT_TRUE(question);
        AnswerMessageBox(question->window, IDYES);
    }
    bool Gone(HWND window, DWORD timeoutMs = 5000) const {
        return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
    }
    // Waits for the box with this caption, answers it and waits for it to close; the box as it was shown.
    MessageBoxView AnswerBox(const char* caption, int answer) {
        auto box = WaitForMessageBox(Pid(), caption);
        EXPECT_TRUE(box) << "no " << caption << " box";
        if (!box) return {};
        AnswerMessageBox(box->window, answer);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->window); }, 5000));
        return *box;
    }

    InstallFolder folder_;
    std::optional<RunningApp> app_;
    HWND main_ = nullptr;
    HWND panel_ = nullptr;
};

} // namespace tollivar::test
