// Autorun analysis on the simulated stick E: with real autorun.inf files read by the platform's
// profile reader.
#include <gtest/gtest.h>

#include <windows.h>

#include "bench_win.h"
#include "engine/autorun_analysis_win.h"

namespace tollivar {
namespace {

using test::RemovableStick;

struct AutorunCase {
    const char* name;
    const char* inf; // nullptr: no autorun.inf on the stick
    const char* targetPath; // empty: no finding
    const char* targetName;
};

class AutorunOnStick : public testing::TestWithParam<AutorunCase> {
  protected:
    static void SetUpTestSuite() {
        SetEnvironmentVariableA("TV_WINDIR", "C:\\WINDOWS");
        SetEnvironmentVariableA("SUB", "tools\\");
        SetEnvironmentVariableA("TV_UNDEFINED", nullptr);
    }
    void SetUp() override { RemovableStick().Clear(); }
    void TearDown() override { RemovableStick().Pull(); }
};

TEST_P(AutorunOnStick, ResolvesTheProgramTheOpenEntryStarts) {
    const AutorunCase& c = GetParam();
    if (c.inf) {
        ASSERT_TRUE(RemovableStick().Write("autorun.inf", c.inf));
    }
    const AutorunFinding f = AnalyzeAutorun("E:\\");
    if (*c.targetPath == '\0') {
        EXPECT_FALSE(f.Found());
        EXPECT_EQ(f.infPath, "");
        EXPECT_EQ(f.targetPath, "");
        EXPECT_EQ(f.targetName, "");
        return;
    }
    ASSERT_TRUE(f.Found());
    EXPECT_EQ(f.infPath, "E:\\autorun.inf");
    EXPECT_EQ(f.targetPath, c.targetPath);
    EXPECT_EQ(f.targetName, c.targetName);
}

const AutorunCase kAutorunCases[] = {
    {"Plain", "[autorun]\r\nopen=setup.exe\r\n", "E:\\setup.exe", "setup.exe"},
    {"SwitchCut", "[autorun]\r\nopen=bin\\run.exe /auto\r\n", "E:\\bin\\run.exe", "run.exe"},
    {"SwitchWithoutBlank", "[autorun]\r\nopen=run.exe/x\r\n", "E:\\run.exe", "run.exe"},
    {"FullPath", "[autorun]\r\nopen=C:\\WINDOWS\\x.exe\r\n", "C:\\WINDOWS\\x.exe", "x.exe"},
    {"VariableToFullPath", "[autorun]\r\nopen=%TV_WINDIR%\\x.exe\r\n", "C:\\WINDOWS\\x.exe", "x.exe"},
    {"VariableRelativeToDrive", "[autorun]\r\nopen=%SUB%x.exe\r\n", "E:\\tools\\x.exe", "x.exe"},
    {"TextBeforeVariableDropped", "[autorun]\r\nopen=pre%SUB%x.exe\r\n", "E:\\tools\\x.exe", "x.exe"},
    {"UndefinedVariableKept", "[autorun]\r\nopen=%TV_UNDEFINED%\\x.exe\r\n", "E:\\%TV_UNDEFINED%\\x.exe", "x.exe"},
    {"UnclosedPercentKept", "[autorun]\r\nopen=50%off.exe\r\n", "E:\\50%off.exe", "50%off.exe"},
    {"SectionAndKeyInOtherCase", "[AutoRun]\r\nOpen=go.exe\r\n", "E:\\go.exe", "go.exe"},
    {"EmptyValueInOtherCase", "[AUTORUN]\r\nOPEN=\r\n", "", ""},
    {"QuotedValue", "[autorun]\r\nopen=\"x.exe\"\r\n", "E:\\x.exe", "x.exe"},
    {"QuotedProgramWithArguments", "[autorun]\r\nopen=\"my prog.exe\" /s\r\n", "E:\\my prog.exe", "my prog.exe"},
    {"BlanksOnly", "[autorun]\r\nopen=   \r\n", "", ""},
    {"CutAtTheSlash", "[autorun]\r\nopen=a/b\r\n", "E:\\a", "a"},
    {"NothingBeforeTheSwitch", "[autorun]\r\nopen=\"\" /s\r\n", "", ""},
    {"OtherKeysOnly", "[autorun]\r\nicon=x.ico\r\nlabel=Photos\r\naction=Open\r\nuseautoplay=1\r\n", "", ""},
    {"ShellExecuteIsALaunchEntry", "[autorun]\r\nicon=x.ico\r\nshellexecute=x.exe\r\n", "E:\\x.exe", "x.exe"},
    {"OtherSection", "[setup]\r\nopen=x.exe\r\n", "", ""},
    {"NoFile", nullptr, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, AutorunOnStick, testing::ValuesIn(kAutorunCases),
                         [](const testing::TestParamInfo<AutorunCase>& info) { return info.param.name; });

TEST(AutorunOnPulledStick, AListedDriveWithoutMediaHasNoFinding) {
    RemovableStick().Pull();
    EXPECT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_FALSE(AnalyzeAutorun("E:\\").Found());
}

TEST(AutorunOnFixedDrive, ReadsTheSameWayOnAnyDrive) {
    test::FixedDrive().Clear();
    ASSERT_TRUE(test::FixedDrive().Write("autorun.inf", "[autorun]\r\nopen=F:\\x\\start.exe /q\r\n"));
    const AutorunFinding f = AnalyzeAutorun("F:\\");
    EXPECT_EQ(f.infPath, "F:\\autorun.inf");
    EXPECT_EQ(f.targetPath, "F:\\x\\start.exe");
    test::FixedDrive().Clear();
}

} // namespace
} // namespace tollivar
