// What healing may take, judged on the final path of the file it opened.
#include "engine/final_path_rules.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

TEST(FinalPathRulesTest, OnlyAVerbatimDrivePathOnTheNamingLetterIsOnTheStick) {
    const struct {
        const char* finalPath;
        const char* root;
        bool onDrive;
    } cases[] = {
        {"\\\\?\\E:\\run.exe", "E:\\", true},
        {"\\\\?\\e:\\bin\\run.exe", "E:\\", true},
        {"\\\\?\\E:\\run.exe", "e:\\", true},
        {"\\\\?\\E:\\run.exe", "E:", false}, // not a root
        {"\\\\?\\E:\\run.exe", "", false},
        {"\\\\?\\F:\\run.exe", "E:\\", false}, // a link on the stick to another drive
        {"\\\\?\\C:\\Windows\\System32\\cmd.exe", "E:\\", false},
        {"\\\\?\\UNC\\server\\share\\report.exe", "E:\\", false}, // a link or device path to a share
        {"\\\\?\\Volume{0b1e7e57-0000-0000-0000-100000000000}\\x.exe", "E:\\", false}, // no letter
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\x.exe", "E:\\", false},
        {"", "E:\\", false},            // could not be resolved
        {"\\\\?\\E:\\", "E:\\", false}, // the root is no file
        {"\\\\?\\E:\\dir\\", "E:\\", false},
        {"E:\\run.exe", "E:\\", false}, // not a final path
        {"\\\\.\\E:\\run.exe", "E:\\", false},
        {"/\\?\\E:\\run.exe", "E:\\", false},
        {"\\\\?\\E:\\..\\run.exe", "E:\\", false}, // the platform never gives these; they are not judged
        {"\\\\?\\E:\\a/b.exe", "E:\\", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FinalPathIsOnDrive(c.finalPath, c.root), c.onDrive) << c.finalPath;
}

TEST(FinalPathRulesTest, AListedPathIsTakenOnlyWhenNoLinkLedElsewhere) {
    const struct {
        const char* finalPath;
        const char* listed;
        bool same;
    } cases[] = {
        {"\\\\?\\F:\\RECYCLER\\ttt\\ttt.exe", "F:\\recycler\\ttt\\ttt.exe", true},
        {"\\\\?\\F:\\recycler\\recycler.exe", "F:/recycler/./recycler.exe", true},
        {"\\\\?\\F:\\recycler\\recycler.exe", "\\\\?\\F:\\recycler\\recycler.exe", true},
        // "F:\recycler" is a junction to C:\Windows, or a mount point of another volume.
        {"\\\\?\\C:\\Windows\\recycler.exe", "F:\\recycler\\recycler.exe", false},
        {"\\\\?\\Volume{0b1e7e57-0000-0000-0000-100000000000}\\recycler.exe", "F:\\recycler\\recycler.exe",
         false},
        {"\\\\?\\UNC\\server\\share\\recycler.exe", "F:\\recycler\\recycler.exe", false},
        // A link inside the stick still leads elsewhere than the listed path.
        {"\\\\?\\F:\\other\\recycler.exe", "F:\\recycler\\recycler.exe", false},
        {"", "F:\\recycler\\recycler.exe", false},
        {"\\\\?\\F:\\recycler\\recycler.exe", "", false},
        {"\\\\?\\F:\\recycler", "F:\\recycler\\", false},             // a folder is no threat file
        {"\\\\?\\F:\\RECYCLER\\x.exe", "F:\\RECYCL~1\\x.exe", false}, // a short name is not the path
    };
    for (const auto& c : cases)
        EXPECT_EQ(FinalPathIsListedPath(c.finalPath, c.listed), c.same) << c.finalPath << " vs " << c.listed;
}

} // namespace
} // namespace tollivar
