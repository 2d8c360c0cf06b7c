// The Threat Scan as a user meets it: "Start Scan >" on the real tollguard.exe over a fixed drive with
// an autorun entry and an infected stick; the rows, their order, the progress steps, the greyed
// controls, a second start request, and healing what an autorun entry names elsewhere.
#include <gtest/gtest.h>

#include <cstdlib>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "gui_session_win.h"

namespace tollivar::test {
namespace {

constexpr int kRemovable = 4206;
constexpr int kProgress = 4209;
constexpr int kSelectAll = 4211;
constexpr int kDeselectAll = 4212;
constexpr int kShieldSelectAll = 4105;

using Row = std::vector<std::string>;

class ScanTest : public GuiSession {
  protected:
    ScanTest() : GuiSession("Tollivar Scan") {}
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GuiSession::SetUp());
        FixedDrive().Clear();
    }
    void TearDown() override {
        GuiSession::TearDown();
        FixedDrive().Clear();
    }
    void Start(bool localDrives, bool removable) {
        ASSERT_NO_FATAL_FAILURE(StartWith(std::string("[SCAN]\r\nLD=") + (localDrives ? "1" : "0") +
                                          "\r\nRM=" + (removable ? "1" : "0") +
                                          "\r\n[SETTINGS]\r\nS3=0\r\n[TRAY]\r\n1=1\r\n"));
        PostCommand(main_, 1009); // the Threat Scan page
    }
    HWND Button(int id) const { return Control(main_, id); }
    std::string Status() const { return ControlText(panel_, kScanStatus); }
    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (const ListRow& r : ReadListView(Panel(kScanList))) rows.push_back(r.columns);
        return rows;
    }

    // What the user sees while a scan runs, sampled every few milliseconds until it ends.
    struct Watch {
        std::vector<int> progress;       // each new position of the bar
        bool controlsGreyed = false;     // area boxes and Start Scan seen disabled
        bool controlEnabledDuring = false;
        bool rowButtonEnabledDuring = false;
        bool rowsSeenDuring = false;
        bool finished = false;
    };
    Watch RunAndWatch(int extraStartRequests) {
        Watch w;
        w.progress.push_back(static_cast<int>(SendMessageA(Panel(kProgress), PBM_GETPOS, 0, 0)));
        ClickButton(main_, kStartScan);
        for (int i = 0; i < extraStartRequests; ++i) PostCommand(main_, kStartScan);
        const DWORD begin = GetTickCount();
        bool scanning = false;
        while (GetTickCount() - begin < 30000) {
            const int pos = static_cast<int>(SendMessageA(Panel(kProgress), PBM_GETPOS, 0, 0));
            if (pos != w.progress.back()) w.progress.push_back(pos);
            const std::string status = Status();
            if (status == "SCANNING, PLEASE WAIT...") scanning = true;
            const bool greyed = !IsWindowEnabled(Panel(kLocalDrives)) && !IsWindowEnabled(Panel(kRemovable)) &&
                                !IsWindowEnabled(Button(kStartScan));
            if (scanning && status == "SCANNING, PLEASE WAIT...") {
                if (greyed) w.controlsGreyed = true;
                if (w.controlsGreyed) {
                    if (!greyed) w.controlEnabledDuring = true;
                    for (int id : {kSelectAll, kDeselectAll, kHealScanSelected})
                        if (IsWindowEnabled(Button(id))) w.rowButtonEnabledDuring = true;
                    if (SendMessageA(Panel(kScanList), LVM_GETITEMCOUNT, 0, 0) > 0) w.rowsSeenDuring = true;
                }
            }
            if (scanning && status.find("DETECTED.") != std::string::npos) {
                // The bar reached 100 just before the result line: it may have moved since it was read.
                const int last = static_cast<int>(SendMessageA(Panel(kProgress), PBM_GETPOS, 0, 0));
                if (last != w.progress.back()) w.progress.push_back(last);
                w.finished = true;
                break;
            }
            Sleep(3);
        }
        return w;
    }
};

TEST_F(ScanTest, AFixedDriveAndAnInfectedStickAreListedInPhaseOrder) {
    SimulatedDrive& fixed = FixedDrive();
    ASSERT_TRUE(fixed.Write("autorun.inf", "[autorun]\r\nopen=tools\\setup.exe /q\r\n"));
    ASSERT_TRUE(fixed.Write("tools\\setup.exe", "setup"));
    ASSERT_TRUE(fixed.Write("docs\\hidden.vbs", "never walked")); // a fixed drive is never walked
    SetFileAttributesA("F:\\docs\\hidden.vbs", FILE_ATTRIBUTE_HIDDEN);

    SimulatedDrive& stick = RemovableStick();
    stick.Insert();
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(stick.Write("run.exe", "run"));
    ASSERT_TRUE(stick.Write("docs\\x.vbs", "hidden script"));
    SetFileAttributesA("E:\\docs\\x.vbs", FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(stick.Write("docs\\shown.vbs", "not hidden"));
    ASSERT_TRUE(stick.Write("photos\\photos .exe", "folder-named"));
    ASSERT_TRUE(stick.Write("recycler\\ttt\\ttt.exe", "t"));
    ASSERT_TRUE(stick.Write("recycler\\recycler.exe", "r"));
    ASSERT_TRUE(stick.Write("system\\security\\driveguard.exe", "d"));

    Start(true, true);
    ASSERT_TRUE(WaitUntil([&] { return ReadListView(Control(panel_, 4103)).size() == 2; }, 3000))
        << "the shield lists the stick as well";
    const bool shieldButtonsBefore = IsWindowEnabled(Button(kShieldSelectAll)) != FALSE;

    const Watch w = RunAndWatch(2); // two more start requests before the button greys out
    ASSERT_TRUE(w.finished) << Status();
    EXPECT_EQ(w.progress, (std::vector<int>{0, 30, 60, 100}));
    EXPECT_TRUE(w.controlsGreyed);
    EXPECT_FALSE(w.controlEnabledDuring);
    EXPECT_TRUE(w.rowsSeenDuring);
    EXPECT_FALSE(w.rowButtonEnabledDuring) << "the scan's row buttons stay greyed while rows arrive";

    const std::vector<Row> rows = Rows();
    const std::vector<Row> head = {
        {"F:\\autorun.inf", "F", "suspicious."},
        {"F:\\tools\\setup.exe", "F", "suspicious."},
        {"E:\\autorun.inf", "F", "suspicious."},
        {"E:\\run.exe", "F", "suspicious."},
    };
    const std::set<Row> walk = {
        {"E:\\docs\\x.vbs", "F", "suspicious."},
        {"E:\\photos\\photos .exe", "F", "Win32.Autoit.CC"},
    };
    const std::vector<Row> tail = {
        {"E:\\recycler\\ttt\\ttt.exe", "F", "Win32.Autoit.CC"},
        {"E:\\recycler\\recycler.exe", "F", "Win32.Autoit.CC"},
        {"E:\\system\\security\\driveguard.exe", "F", "Win32.Autorun.TZ"},
    };
    ASSERT_EQ(rows.size(), head.size() + walk.size() + tail.size()) << "one scan, each row once";
    EXPECT_TRUE(std::equal(head.begin(), head.end(), rows.begin()));
    EXPECT_EQ(std::set<Row>(rows.begin() + 4, rows.begin() + 6), walk) << "the walk comes between";
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), rows.end() - 3));
    for (const ListRow& r : ReadListView(Panel(kScanList))) EXPECT_TRUE(r.checked);

    EXPECT_EQ(Status(), "9 THREAT(S)  DETECTED.");
    for (int id : {kSelectAll, kDeselectAll, kHealScanSelected}) EXPECT_TRUE(IsWindowEnabled(Button(id))) << id;
    for (int id : {kLocalDrives, kRemovable}) EXPECT_TRUE(IsWindowEnabled(Panel(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(Button(kStartScan)));
    EXPECT_EQ(IsWindowEnabled(Button(kShieldSelectAll)) != FALSE, shieldButtonsBefore);
    // The closing shield pass counts both lists.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return StatusBarTexts(Control(main_, kStatusBar)).at(0) ==
                   " 11 THREAT(S)  DETECTED, IMMEDIATE ACTION IS REQUIRED...";
        },
        3000))
        << StatusBarTexts(Control(main_, kStatusBar)).at(0);
    // A second scan would have restarted: the result stays.
    Sleep(1200);
    EXPECT_EQ(Status(), "9 THREAT(S)  DETECTED.");
    EXPECT_EQ(Rows().size(), 9u);
    EXPECT_FALSE(SaveScreenshot("scan-finished", main_).empty());
}

TEST_F(ScanTest, WithBothDriveBoxesClearedOnlyTheDefinitionsAreWalked) {
    ASSERT_TRUE(FixedDrive().Write("autorun.inf", "[autorun]\r\nopen=setup.exe\r\n"));
    ASSERT_TRUE(FixedDrive().Write("setup.exe", "setup"));
    Start(false, false);
    const Watch w = RunAndWatch(0);
    ASSERT_TRUE(w.finished) << Status();
    EXPECT_EQ(w.progress, (std::vector<int>{0, 30, 60, 100}));
    EXPECT_EQ(Status(), "NO THREAT(S)  DETECTED.");
    EXPECT_TRUE(Rows().empty());
    for (int id : {kSelectAll, kDeselectAll, kHealScanSelected}) EXPECT_FALSE(IsWindowEnabled(Button(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(Button(kStartScan)));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return StatusBarTexts(Control(main_, kStatusBar)).at(0) ==
                   " NO THREAT DETECTED, RESIDENT SHIELD IS MONITORING...";
        },
        3000));
}

// A fixed drive's autorun.inf may name a file of the system: the scan lists it, healing leaves it.
TEST_F(ScanTest, HealingLeavesASystemProgramThatAnAutorunEntryNames) {
    // A stick may name any program, a running one in the Windows folder too: neither the file nor the
    // process may be taken because a drive's autorun.inf names it.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string victim = std::string(windows) + "\\tollivar-scan-victim.exe";
    ASSERT_TRUE(CopyFileA(DosPathOfUnix(std::getenv("TOLLIVAR_WAITER")).c_str(), victim.c_str(), FALSE));
    RunningApp running = RunningApp::Start(victim);
    ASSERT_TRUE(running.Started());
    ASSERT_TRUE(FixedDrive().Write("autorun.inf", "[autorun]\r\nopen=" + victim + "\r\n"));
    MakeFolders(folder_.File("bin"));
    WriteTextFile(folder_.File("bin\\unscript.bat"), "@echo off\r\n");
    WriteTextFile(folder_.File("bin\\unstart.reg"), "REGEDIT4\r\n\r\n");
    Start(true, false);
    ASSERT_TRUE(RunAndWatch(0).finished);
    // No process row: the running program is not the stick's to name.
    ASSERT_EQ(Rows(), (std::vector<Row>{{"F:\\autorun.inf", "F", "suspicious."}, {victim, "F", "suspicious."}}));

    PostCommand(main_, kHealScanSelected);
    auto question = WaitForMessageBox(app_->Pid(), "[ WARNiNG ]");
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Status() == " 1 Infection NOT Healed..."; }, 5000)) << Status();
    EXPECT_TRUE(FileExists(victim));
    EXPECT_TRUE(running.Running());
    EXPECT_FALSE(FileExists("F:\\autorun.inf"));
    EXPECT_EQ(ControlText(panel_, 4017), "1");
    running.Kill();
    DeleteFileA(victim.c_str());
}

} // namespace
} // namespace tollivar::test
