// Whether healing may take the program a drive's autorun.inf names, judged on real files: the name
// as listed, its long form and where a link leads.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "bench_win.h"
#include "engine/file_access_win.h"
#include "heal/autorun_target_check_win.h"
#include "ui_driver_win.h"

namespace tollivar {
namespace {

const std::string kRoot = "C:\\Tollivar Tests\\target";

class AutorunTargetCheckTest : public testing::Test {
  protected:
    void SetUp() override {
        test::DeleteTree(kRoot);
        test::MakeFolders(kRoot + "\\install");
        stick_.Clear();
    }
    void TearDown() override {
        RemoveDirectoryA("E:\\link");
        stick_.Pull();
        test::DeleteTree(kRoot);
    }
    test::SimulatedDrive& stick_ = test::RemovableStick();
};

TEST_F(AutorunTargetCheckTest, OnlyAProgramOnTheDriveThatNamedItAndOutsideTheSystemsFoldersMayBeTaken) {
    ASSERT_TRUE(stick_.Write("run.exe", "run"));
    ASSERT_TRUE(test::WriteTextFile(kRoot + "\\victim.exe", "victim"));
    char windowsFolder[MAX_PATH] = {};
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    const std::string installFolder = kRoot + "\\install\\";
    const struct {
        std::string target;
        std::string namedBy;
        bool mayBeTaken;
    } cases[] = {
        {"E:\\run.exe", "E:\\", true},
        {"E:\\RECYCLER\\..\\run.exe", "E:\\", true},
        {kRoot + "\\victim.exe", "E:\\", false},              // "open=C:\..." on a stick
        {"G:\\run.exe", "E:\\", false},                       // another stick
        {std::string(windowsFolder) + "\\system32\\cmd.exe", "C:\\", false},
        {installFolder + "tollguard.exe", "C:\\", false},
        {kRoot + "\\victim.exe", "C:\\", true},               // on the fixed drive that named it
        {"\\\\server\\share\\run.exe", "E:\\", false},
        // A device path whose root is its prefix: ".." drops "E:" and leads to a share.
        {"/\\?\\E:\\..\\UNC\\server\\share\\report.exe", "E:\\", false},
        {"\\\\.\\E:\\run.exe", "E:\\", false},
        {"\\\\?\\E:\\run.exe", "E:\\", true},
        {"E:\\gone.exe", "E:\\", false}, // nothing there: it cannot be resolved
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutorunTargetMayBeTaken(c.target, c.namedBy, installFolder), c.mayBeTaken)
            << c.target << " named by " << c.namedBy;
    }
}

// A folder link on the stick leads to a file elsewhere: by its listed name it is on the stick, by
// where it really is it is not.
TEST_F(AutorunTargetCheckTest, AProgramReachedThroughAFolderLinkOnTheStickStays) {
    const std::string outsideFolder = kRoot + "\\linked";
    test::MakeFolders(outsideFolder);
    ASSERT_TRUE(test::WriteTextFile(outsideFolder + "\\victim.exe", "victim"));
    if (!CreateSymbolicLinkA("E:\\link", outsideFolder.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
        !test::FileExists("E:\\link\\victim.exe"))
        GTEST_SKIP() << "this platform makes no folder links";
    EXPECT_FALSE(AutorunTargetMayBeTaken("E:\\link\\victim.exe", "E:\\", kRoot + "\\install\\"));
    // A fixed threat path reached through the link is not where it is listed either.
    EXPECT_EQ(CheckListedPlace("E:\\link\\victim.exe"), TargetCheck::Refused);
    EXPECT_FALSE(FileIsWhereListed("E:\\link\\victim.exe"));
    ASSERT_TRUE(stick_.Write("run.exe", "run"));
    EXPECT_TRUE(AutorunTargetMayBeTaken("E:\\run.exe", "E:\\", kRoot + "\\install\\"));
    EXPECT_EQ(CheckListedPlace("E:\\run.exe"), TargetCheck::MayBeTaken);
    EXPECT_TRUE(FileIsWhereListed("E:\\run.exe"));
    EXPECT_EQ(CheckListedPlace("E:\\gone.exe"), TargetCheck::Gone);
}

} // namespace
} // namespace tollivar
