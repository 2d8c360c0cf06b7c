// A fixture for tests that drive the real program: a throw-away install folder, the running copy, its
// main window and the controls of its pages.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

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
    }

    void WriteSetting(const char* section, const char* key, const char* value) {
        WritePrivateProfileStringA(section, key, value, folder_.File("settings.ini").c_str());
    }
    std::string ReadSetting(const char* section, const char* key) {
        char value[256] = {};
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, folder_.File("settings.ini").c_str());
        return value;
    }

    // Starts the program and waits for its window (visible unless told otherwise).
    // With wineDebug set, the program runs with those Wine debug channels (e.g. "+eventlog").
    void Start(bool visible = true, const std::string& wineDebug = {}) {
        if (wineDebug.empty())
            app_.emplace(RunningApp::Start(folder_.ExePath()));
        else
            app_.emplace(RunningApp::StartWithWineDebug(folder_.ExePath(), wineDebug));
        ASSERT_TRUE(app_->Started());
        main_ = app_->WaitForMainWindow(visible);
        ASSERT_NE(main_, nullptr) << "no main window";
        panel_ = Control(Control(main_, kMainTab), kPagePanel);
        ASSERT_NE(panel_, nullptr);
    }

    HWND Tab() const { return Control(main_, kMainTab); }
    HWND Panel(int id) const { return Control(panel_, id); }
    DWORD Pid() const { return app_->Pid(); }

    // A visible top-level dialog of the program with this caption, once it appears.
    HWND WaitForDialog(const char* caption, DWORD timeoutMs = kDefaultWaitMs) const {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindTopWindow(Pid(), "#32770", caption, true)) != nullptr; }, timeoutMs);
        return found;
    }
    bool Gone(HWND window, DWORD timeoutMs = 5000) const {
        return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
    }

    InstallFolder folder_;
    std::optional<RunningApp> app_;
    HWND main_ = nullptr;
    HWND panel_ = nullptr;
};

} // namespace tollivar::test
