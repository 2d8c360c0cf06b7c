// The bench and the driver themselves: simulated drives behave as the program will see them, and
// the driver reads list views, status bars and message boxes of another process correctly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench_win.h"
#include "ui_driver_win.h"

namespace tollivar::test {
namespace {

bool DriveListed(char letter) {
    char drives[512] = {};
    GetLogicalDriveStringsA(sizeof drives, drives);
    for (const char* d = drives; *d; d += lstrlenA(d) + 1)
        if ((d[0] & ~0x20) == letter) return true;
    return false;
}

TEST(Bench, TheStickIsRemovableAndCanBeInsertedAndPulled) {
    SimulatedDrive& stick = RemovableStick();
    stick.Pull();
    EXPECT_TRUE(DriveListed('E'));
    EXPECT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(GetFileAttributesA("E:\\"), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));

    stick.Insert();
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(stick.Write("deep\\er\\file.txt", "x"));
    EXPECT_NE(GetFileAttributesA("E:\\") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ReadTextFile("E:\\autorun.inf"), "[autorun]\r\nopen=run.exe\r\n");
    char value[64] = {};
    GetPrivateProfileStringA("autorun", "open", "", value, sizeof value, "E:\\autorun.inf");
    EXPECT_STREQ(value, "run.exe");
    // Hidden marks persist on the stick as the program will read them.
    ASSERT_TRUE(SetFileAttributesA("E:\\autorun.inf", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_NE(Attributes("E:\\autorun.inf") & FILE_ATTRIBUTE_HIDDEN, 0u);

    stick.Pull();
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
}

TEST(Bench, OnlyTheSimulatedDrivesAndCAreListed) {
    FixedDrive().Insert();
    EXPECT_EQ(GetDriveTypeA("F:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_FALSE(DriveListed('Z')) << "the Unix root must not be a drive";
    ASSERT_TRUE(FixedDrive().Write("autorun.inf", "[autorun]\r\n"));
    EXPECT_TRUE(FileExists("F:\\autorun.inf"));
    FixedDrive().Clear();
    EXPECT_FALSE(FileExists("F:\\autorun.inf"));
}

class DriverTest : public testing::Test {
  protected:
    void SetUp() override {
        const char* target = std::getenv("TOLLIVAR_DRIVER_TARGET");
        ASSERT_TRUE(target);
        app_.emplace(RunningApp::Start(DosPathOfUnix(target)));
        ASSERT_TRUE(app_->Started());
        ASSERT_TRUE(WaitUntil([&] { return (window_ = FindTopWindow(app_->Pid(), nullptr, "Driver Target", true)); }));
    }
    std::optional<RunningApp> app_;
    HWND window_ = nullptr;
};

TEST_F(DriverTest, ReadsListRowsWithTheirChecksAndSelection) {
    HWND list = Control(window_, 100);
    ASSERT_TRUE(list);
    EXPECT_EQ(ListColumnCount(list), 2);
    const std::vector<ListRow> rows = ReadListView(list);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].columns, (std::vector<std::string>{"E:\\autorun.inf", "1"}));
    EXPECT_TRUE(rows[0].checked);
    EXPECT_FALSE(rows[0].selected);
    EXPECT_EQ(rows[1].columns, (std::vector<std::string>{"E:\\run.exe", "2"}));
    EXPECT_FALSE(rows[1].checked);
    EXPECT_TRUE(rows[1].selected);
    EXPECT_EQ(rows[2].columns[0], std::string(600, 'x'));
    EXPECT_TRUE(rows[2].checked);
}

TEST_F(DriverTest, ReadsStatusBarPartsAndAnswersMessageBoxes) {
    HWND status = Control(window_, 101);
    EXPECT_EQ(StatusBarRightEdges(status), (std::vector<int>{200, -1}));
    EXPECT_EQ(StatusBarTexts(status), (std::vector<std::string>{" left part", ""}));

    for (int answer : {IDYES, IDNO}) {
        ClickButton(window_, 102);
        auto box = WaitForMessageBox(app_->Pid(), "Target Box");
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text, "Line one\n\rline two ?");
        EXPECT_EQ(box->buttons, (std::vector<std::string>{"&Yes", "&No"}));
        EXPECT_TRUE(box->hasIcon);
        AnswerMessageBox(box->window, answer);
        EXPECT_TRUE(WaitUntil([&] { return StatusBarTexts(status).at(1) == "answer=" + std::to_string(answer); }));
    }
    EXPECT_FALSE(SaveScreenshot("driver-target", window_).empty());
}

} // namespace
} // namespace tollivar::test
