#include "heal/autorun_target_rule.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

using Place = AutorunTargetPlace;

TEST(AutorunTargetRule, OnlyAProgramOnTheNamingDriveAndOutsideBothFoldersMayBeTaken) {
    const char* windows = "C:\\windows";
    const char* install = "C:\\Program Files\\Tollivar\\";
    const struct {
        const char* target;
        const char* root;
        Place place;
    } cases[] = {
        {"E:\\run.exe", "E:\\", Place::OnItsDrive},
        {"e:/deep/Run.EXE", "E:\\", Place::OnItsDrive},
        {"E:\\RECYCLER\\..\\run.exe", "E:\\", Place::OnItsDrive},
        {"\\\\?\\E:\\run.exe", "E:\\", Place::OnItsDrive},
        // Device forms: the platform's root is the prefix alone, so ".." can drop "E:" for a share.
        {"/\\?\\E:\\..\\UNC\\server\\share\\report.exe", "E:\\", Place::OutsideItsDrive},
        {"\\/?\\E:\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"//?/E:/run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\.\\E:\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\??\\E:\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\?\\UNC\\server\\share\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume3\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\?\\Volume{0b1e7e57-0000-0000-0000-100000000000}\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\?\\E:\\..\\run.exe", "E:\\", Place::OutsideItsDrive}, // taken literally: not known
        {"E:\\bin\\con", "E:\\", Place::OutsideItsDrive},               // the console, not a file
        {"E:\\run.exe", "\\\\?\\E:\\", Place::OnItsDrive},
        {"E:\\run.exe", "/\\?\\E:\\", Place::OutsideItsDrive},
        // What a stick's autorun.inf may name elsewhere is not the stick's to give away.
        {"C:\\WINDOWS\\system32\\cmd.exe", "E:\\", Place::OutsideItsDrive},
        {"D:\\data\\report.exe", "E:\\", Place::OutsideItsDrive},
        {"\\\\server\\share\\run.exe", "E:\\", Place::OutsideItsDrive},
        {"E:run.exe", "E:\\", Place::OutsideItsDrive},  // relative to some folder on E:, not known
        {"EX:\\run.exe", "E:\\", Place::OutsideItsDrive}, // a prefix of the root is not the root
        {"E:\\", "E:\\", Place::OutsideItsDrive},         // the root itself is no program
        {"E:\\..\\..\\", "E:\\", Place::OutsideItsDrive},
        {"svchost.exe", "E:\\", Place::OutsideItsDrive},
        {"E:\\run.exe", "", Place::OutsideItsDrive},
        {"E:\\run.exe", "\\\\server\\share\\", Place::OutsideItsDrive},
        // A fixed drive's autorun.inf may name files in the system's own folders.
        {"C:\\WINDOWS\\system32\\cmd.exe", "C:\\", Place::InWindowsFolder},
        {"c:/windows/./explorer.exe", "C:\\", Place::InWindowsFolder},
        {"C:\\temp\\..\\Windows\\notepad.exe", "C:\\", Place::InWindowsFolder},
        {"C:\\Windows", "C:\\", Place::InWindowsFolder},
        {"C:\\Windows.old\\run.exe", "C:\\", Place::OnItsDrive}, // a sibling with a longer name
        {"C:\\Program Files\\Tollivar\\tollguard.exe", "C:\\", Place::InInstallFolder},
        {"C:\\PROGRAM FILES\\TOLLIVAR\\quarantine\\x.exe", "C:\\", Place::InInstallFolder},
        {"C:\\Program Files\\Tollivar Tools\\run.exe", "C:\\", Place::OnItsDrive},
        {"C:\\run.exe", "C:\\", Place::OnItsDrive},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceOfAutorunTarget(c.target, c.root, windows, install), c.place) << c.target << " from " << c.root;
}

TEST(AutorunTargetRule, AnUnknownFolderRulesNothingOut) {
    EXPECT_EQ(PlaceOfAutorunTarget("C:\\windows\\cmd.exe", "C:\\", "", ""), Place::OnItsDrive);
    EXPECT_FALSE(PathIsInsideFolder("C:\\x.exe", ""));
    EXPECT_TRUE(PathIsInsideFolder("C:\\Tollivar\\x.exe", "c:\\tollivar"));
}

} // namespace
} // namespace tollivar
