#include "config/install_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivar {
namespace {

struct CommandLineCase {
    const char* commandLine;
    const char* installFolder;
    bool hideAtStart;
};

class CommandLineRules : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineRules, FolderAndHiddenStart) {
    const CommandLineCase& c = GetParam();
    EXPECT_EQ(InstallFolderFromCommandLine(c.commandLine), c.installFolder);
    EXPECT_EQ(HideAtStartFromCommandLine(c.commandLine), c.hideAtStart);
}

INSTANTIATE_TEST_SUITE_P(
    StartCommands, CommandLineRules,
    testing::Values(CommandLineCase{"\"C:\\A B\\tollguard.exe\"", "C:\\A B\\", false},
                    CommandLineCase{"\"C:\\A B\\tollguard.exe\" /b", "C:\\A B\\", true},
                    CommandLineCase{"\"C:\\A B\\tollguard.exe\" /B", "C:\\A B\\", false},
                    CommandLineCase{"\"C:\\Tools\\Guard\\tollguard.exe\"", "C:\\Tools\\Guard\\", false},
                    // Only the very last character counts: a trailing blank ends the hidden start.
                    CommandLineCase{"\"C:\\A B\\tollguard.exe\" /b ", "C:\\A B\\", false},
                    CommandLineCase{"\"C:\\A B\\tollguard.exe\" -verb", "C:\\A B\\", true},
                    CommandLineCase{"\"C:\\tollguard.exe\"", "C:\\", false},
                    CommandLineCase{"tollguard.exe", "", false}, CommandLineCase{"", "", false},
                    // The command-line rule takes the last backslash of the arguments too.
                    CommandLineCase{"\"C:\\A\\tollguard.exe\" D:\\x\\y", "C:\\A\\tollguard.exe\" D:\\x\\", false}));

struct ModuleCase {
    const char* modulePath;
    const char* commandLine; // the quoted start of the same program, for the equality check
};

class ModulePathRule : public testing::TestWithParam<ModuleCase> {};

TEST_P(ModulePathRule, GivesTheQuotedCommandLinesFolder) {
    const ModuleCase& c = GetParam();
    EXPECT_EQ(InstallFolderFromModulePath(c.modulePath), InstallFolderFromCommandLine(c.commandLine));
}

INSTANTIATE_TEST_SUITE_P(QuotedStarts, ModulePathRule,
                         testing::Values(ModuleCase{"C:\\A B\\tollguard.exe", "\"C:\\A B\\tollguard.exe\""},
                                         ModuleCase{"C:\\A B\\tollguard.exe", "\"C:\\A B\\tollguard.exe\" /b"},
                                         ModuleCase{"C:\\Program Files\\Tollivar\\guard copy.exe",
                                                    "\"C:\\Program Files\\Tollivar\\guard copy.exe\""},
                                         ModuleCase{"C:\\tollguard.exe", "\"C:\\tollguard.exe\""}));

TEST(ModulePathRule, KeepsTheFolderWhenArgumentsHaveBackslashes) {
    EXPECT_EQ(InstallFolderFromModulePath("C:\\A\\tollguard.exe"), "C:\\A\\");
    EXPECT_EQ(InstallFolderFromModulePath("tollguard.exe"), "");
}

TEST(BuildInstallPaths, EveryPathNamedAfterTheFolder) {
    const PathsResult r = BuildInstallPaths("C:\\Tools\\Guard\\", "C:\\Users\\me\\Desktop");
    ASSERT_EQ(r.error, PathsError::None);
    const InstallPaths& p = r.paths;
    EXPECT_EQ(p.installFolder, "C:\\Tools\\Guard\\");
    EXPECT_EQ(p.definitionsFile, "C:\\Tools\\Guard\\def.uas");
    EXPECT_EQ(p.counterFile, "C:\\Tools\\Guard\\count.uas");
    EXPECT_EQ(p.settingsFile, "C:\\Tools\\Guard\\settings.ini");
    EXPECT_EQ(p.quarantineFolder, "C:\\Tools\\Guard\\quarantine\\");
    EXPECT_EQ(p.binFolder, "C:\\Tools\\Guard\\bin\\");
    EXPECT_EQ(p.startupCommand, "\"C:\\Tools\\Guard\\tollguard.exe\" /b");
    EXPECT_EQ(p.desktopFolder, "C:\\Users\\me\\Desktop\\");
}

TEST(BuildInstallPaths, StartupCommandNamesTheProgramWhateverTheExecutableIsCalled) {
    const std::string folder = InstallFolderFromModulePath("C:\\A B\\renamed guard.exe");
    const PathsResult r = BuildInstallPaths(folder, "");
    ASSERT_EQ(r.error, PathsError::None);
    EXPECT_EQ(r.paths.startupCommand, "\"C:\\A B\\tollguard.exe\" /b");
    // A failed desktop lookup leaves the bare backslash.
    EXPECT_EQ(r.paths.desktopFolder, "\\");
}

TEST(BuildInstallPaths, RefusesFoldersWhosePathsWouldNotFit) {
    // The longest text built on the folder is the quoted start command: 1 + folder + 13 + 4 characters.
    ASSERT_EQ(MaxInstallFolderLength(), 511u - 18u);
    std::string fits = "C:\\" + std::string(MaxInstallFolderLength() - 4, 'x') + "\\";
    ASSERT_EQ(fits.size(), MaxInstallFolderLength());
    const PathsResult ok = BuildInstallPaths(fits, "C:\\Desk");
    ASSERT_EQ(ok.error, PathsError::None);
    for (const std::string* s : {&ok.paths.definitionsFile, &ok.paths.counterFile, &ok.paths.settingsFile,
                                 &ok.paths.quarantineFolder, &ok.paths.binFolder, &ok.paths.startupCommand})
        EXPECT_LE(s->size(), kMaxPathText) << *s;
    EXPECT_EQ(ok.paths.startupCommand.size(), kMaxPathText);

    const std::string tooLong = "C:\\" + std::string(MaxInstallFolderLength() - 3, 'x') + "\\";
    EXPECT_EQ(BuildInstallPaths(tooLong, "C:\\Desk").error, PathsError::TooLong);
}

TEST(BuildInstallPaths, RefusesAMissingFolder) {
    EXPECT_EQ(BuildInstallPaths("", "C:\\Desk").error, PathsError::NoFolder);
    EXPECT_EQ(BuildInstallPaths("C:\\no-backslash-at-end", "C:\\Desk").error, PathsError::NoFolder);
}

TEST(BuildInstallPaths, ADesktopTooLongToHoldIsLeftAsAFailedLookup) {
    const PathsResult r = BuildInstallPaths("C:\\T\\", std::string(511, 'd'));
    ASSERT_EQ(r.error, PathsError::None);
    EXPECT_EQ(r.paths.desktopFolder, "\\");
    const PathsResult fits = BuildInstallPaths("C:\\T\\", std::string(510, 'd'));
    EXPECT_EQ(fits.paths.desktopFolder.size(), 511u);
}

} // namespace
} // namespace tollivar
