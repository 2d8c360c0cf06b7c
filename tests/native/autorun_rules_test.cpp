#include "engine/autorun_rules.h"
#include "engine/detection_rows.h"
#include "engine/profile_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tollivar {
namespace {

std::optional<std::string> TestEnvironment(const std::string& name) {
    static const std::map<std::string, std::string> vars = {
        {"WINDIR", "C:\\WINDOWS"}, {"SUB", "tools\\"}, {"A", "C:\\a"}, {"EMPTY", ""}};
    const auto v = vars.find(name);
    if (v == vars.end()) return std::nullopt;
    return v->second;
}

// What the analysis of drive E:\ finds for a stick whose autorun.inf holds this text.
AutorunFinding AnalyzeStick(const std::string& autorunInf) {
    const ProfileText inf = ProfileText::Parse(autorunInf);
    return ResolveAutorunOpen("E:\\", inf.Read("autorun", "open"), TestEnvironment);
}

struct AutorunCase {
    const char* label;
    const char* autorunInf;
    const char* targetPath; // nullptr: no finding
    const char* targetName;
};

class AutorunAnalysis : public testing::TestWithParam<AutorunCase> {};

TEST_P(AutorunAnalysis, FindsTheProgramTheStickWouldStart) {
    const AutorunCase& c = GetParam();
    const AutorunFinding f = AnalyzeStick(c.autorunInf);
    if (c.targetPath == nullptr) {
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

INSTANTIATE_TEST_SUITE_P(
    Sticks, AutorunAnalysis,
    testing::Values(
        AutorunCase{"PlainName", "[autorun]\nopen=setup.exe\n", "E:\\setup.exe", "setup.exe"},
        AutorunCase{"SwitchCut", "[autorun]\r\nopen=bin\\run.exe /auto\r\n", "E:\\bin\\run.exe", "run.exe"},
        // The cut keeps the character before "/" when no blank separates the switch.
        AutorunCase{"SwitchWithoutBlank", "[autorun]\nopen=run.exe/x\n", "E:\\run.exe", "run.exe"},
        AutorunCase{"FullPath", "[autorun]\nopen=C:\\WINDOWS\\x.exe\n", "C:\\WINDOWS\\x.exe", "x.exe"},
        AutorunCase{"VariableToFullPath", "[autorun]\nopen=%WINDIR%\\x.exe\n", "C:\\WINDOWS\\x.exe", "x.exe"},
        AutorunCase{"VariableRelativeToDrive", "[autorun]\nopen=%SUB%x.exe\n", "E:\\tools\\x.exe", "x.exe"},
        AutorunCase{"TextBeforeVariableDropped", "[autorun]\nopen=pre%SUB%x.exe\n", "E:\\tools\\x.exe",
                    "x.exe"},
        AutorunCase{"OnlyFirstReference", "[autorun]\nopen=%A%\\%SUB%\\x.exe\n", "C:\\a\\%SUB%\\x.exe",
                    "x.exe"},
        AutorunCase{"UndefinedVariableKeptUnexpanded", "[autorun]\nopen=%NOPE%\\x.exe\n", "E:\\%NOPE%\\x.exe",
                    "x.exe"},
        AutorunCase{"EmptyNameIsUndefined", "[autorun]\nopen=%%x.exe\n", "E:\\%%x.exe", "%%x.exe"},
        AutorunCase{"UnclosedPercentUsedUnchanged", "[autorun]\nopen=50%off.exe\n", "E:\\50%off.exe",
                    "50%off.exe"},
        AutorunCase{"VariableExpandingToNothing", "[autorun]\nopen=%EMPTY%\n", nullptr, nullptr},
        AutorunCase{"NamesInOtherCase", "[AutoRun]\nOpen=x.exe\n", "E:\\x.exe", "x.exe"},
        AutorunCase{"EmptyValueInOtherCase", "[AUTORUN]\nOPEN=\n", nullptr, nullptr},
        AutorunCase{"BlankValue", "[autorun]\nopen=    \n", nullptr, nullptr},
        AutorunCase{"QuotedValue", "[autorun]\nopen=\"x.exe\"\n", "E:\\x.exe", "x.exe"},
        AutorunCase{"SingleQuotedValue", "[autorun]\nopen = 'x.exe' \n", "E:\\x.exe", "x.exe"},
        AutorunCase{"QuotedProgramWithSwitch", "[autorun]\nopen=\"my prog.exe\" /s\n", "E:\\my prog.exe",
                    "my prog.exe"},
        AutorunCase{"QuotedFullPathWithSwitch", "[autorun]\nopen=\"C:\\Program Files\\p.exe\" /s\n",
                    "C:\\Program Files\\p.exe", "p.exe"},
        AutorunCase{"QuotedProgramWithOtherArguments", "[autorun]\nopen=\"my prog.exe\" -s x\n",
                    "E:\\my prog.exe", "my prog.exe"},
        AutorunCase{"QuotesAroundNothing", "[autorun]\nopen=\"\" /s\n", nullptr, nullptr},
        AutorunCase{"OnlyASwitchAfterOneCharacter", "[autorun]\nopen=x/\n", "E:\\x", "x"},
        // A "/" in the first position has nothing before it and cuts nothing.
        AutorunCase{"LeadingSlash", "[autorun]\nopen=/x.exe\n", "E:\\/x.exe", "/x.exe"},
        AutorunCase{"NoAutorunFile", "", nullptr, nullptr},
        AutorunCase{"OtherSection", "[setup]\nopen=x.exe\n[autorun]\nicon=x.ico\nshellexecute=y.exe\n",
                    nullptr, nullptr}),
    [](const testing::TestParamInfo<AutorunCase>& info) { return std::string(info.param.label); });

TEST(AutorunAnalysis, AnyRootIsUsedAsGiven) {
    const AutorunFinding f = ResolveAutorunOpen("G:\\", "setup.exe", TestEnvironment);
    EXPECT_EQ(f.infPath, "G:\\autorun.inf");
    EXPECT_EQ(f.targetPath, "G:\\setup.exe");
    EXPECT_FALSE(ResolveAutorunOpen("G:\\", "", TestEnvironment).Found());
}

TEST(AutorunAnalysis, LongExpansionsAreKeptWholeAndRowsCut) {
    const std::string longValue(600, 'v');
    const auto lookup = [&](const std::string& name) -> std::optional<std::string> {
        if (name == "LONG") return longValue;
        return std::nullopt;
    };
    const AutorunFinding f = ResolveAutorunOpen("E:\\", "%LONG%\\x.exe", lookup);
    EXPECT_EQ(f.targetPath, "E:\\" + longValue + "\\x.exe");
    EXPECT_EQ(f.targetName, "x.exe");
    for (const ShieldRow& row : ShieldRowsFor(f))
        EXPECT_LE(row.infector.size(), 511u);
    EXPECT_EQ(ShieldRowsFor(f)[1].infector, f.targetPath.substr(0, 511));
}

TEST(AutorunRows, ShieldPairAndScanRowsInListOrder) {
    const AutorunFinding f = AnalyzeStick("[autorun]\nopen=bin\\run.exe /auto\n");
    const auto pair = ShieldRowsFor(f);
    EXPECT_EQ(pair[0], (ShieldRow{"E:\\autorun.inf", "run.exe", "suspicious."}));
    // Only the program's row carries the drive that named it: healing takes it from that drive only.
    EXPECT_EQ(pair[1], (ShieldRow{"E:\\bin\\run.exe", "possible malware.", "suspicious.", "E:\\"}));

    const std::vector<ScanRow> withProcess = AutorunScanRows(f, "[1A4] - run.exe");
    ASSERT_EQ(withProcess.size(), 3u);
    // The process row names the very file its image must be: healing ends no other run.exe.
    EXPECT_EQ(withProcess[0], (ScanRow{"[1A4] - run.exe", "P", "suspicious.", "", "E:\\bin\\run.exe"}));
    EXPECT_EQ(withProcess[1], (ScanRow{"E:\\autorun.inf", "F", "suspicious."}));
    EXPECT_EQ(withProcess[2], (ScanRow{"E:\\bin\\run.exe", "F", "suspicious.", "E:\\"}));
    EXPECT_EQ(AutorunScanRows(f, "").size(), 2u);
    EXPECT_TRUE(AutorunScanRows(AutorunFinding{}, "").empty());
}

TEST(FixedThreatPaths, InTestOrderWithTheirIdentifications) {
    const auto paths = FixedThreatPaths("F:\\");
    EXPECT_EQ(paths[0].path, "F:\\recycler\\ttt\\ttt.exe");
    EXPECT_EQ(paths[0].identification, "Win32.Autoit.CC");
    EXPECT_EQ(paths[1].path, "F:\\recycler\\recycler.exe");
    EXPECT_EQ(paths[1].identification, "Win32.Autoit.CC");
    EXPECT_EQ(paths[2].path, "F:\\system\\security\\driveguard.exe");
    EXPECT_EQ(paths[2].identification, "Win32.Autorun.TZ");
}

struct ImageCase {
    const char* imagePath;
    const char* targetPath;
    bool same;
};

class ProcessImageRule : public testing::TestWithParam<ImageCase> {};

TEST_P(ProcessImageRule, OnlyTheTargetItselfIsItsProcess) {
    const ImageCase& c = GetParam();
    EXPECT_EQ(ProcessImageIsTarget(c.imagePath, c.targetPath), c.same)
        << c.imagePath << " vs " << c.targetPath;
    EXPECT_EQ(ProcessImageIsTarget(c.targetPath, c.imagePath), c.same) << "not symmetric";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProcessImageRule,
    testing::Values(ImageCase{"E:\\run.exe", "E:\\run.exe", true},
                    ImageCase{"e:\\RUN.EXE", "E:\\run.exe", true},
                    // The system's own program of the same name is not the stick's target.
                    ImageCase{"C:\\Windows\\System32\\svchost.exe", "E:\\svchost.exe", false},
                    ImageCase{"E:\\run.exe", "F:\\run.exe", false},
                    ImageCase{"E:\\run.exe", "E:\\run.ex", false},
                    ImageCase{"E:\\a\\run.exe", "E:\\run.exe", false},
                    ImageCase{"\\\\?\\E:\\run.exe", "E:\\run.exe", true},
                    ImageCase{"E:\\bin\\run.exe", "E:\\bin\\..\\bin\\.\\run.exe", true},
                    ImageCase{"E:\\run.exe", "E:\\x\\..\\..\\run.exe", true},
                    ImageCase{"E:\\bin\\run.exe", "E:\\\\bin\\run.exe", true},
                    ImageCase{"E:\\bin\\run.exe", "E:/bin/run.exe", true},
                    ImageCase{"E:\\run.exe", "E:\\run.exe. ", true}, ImageCase{"", "", false},
                    ImageCase{"E:\\run.exe", "", false},
                    ImageCase{"\\\\srv\\share\\a.exe", "\\\\srv\\share\\a.exe", true},
                    ImageCase{"\\\\srv\\share\\a.exe", "\\srv\\share\\a.exe", false},
                    // A device form of the target is not the drive path the process runs from.
                    ImageCase{"E:\\run.exe", "/\\?\\E:\\run.exe", false},
                    ImageCase{"E:\\run.exe", "\\\\.\\E:\\run.exe", false},
                    ImageCase{"\\\\?\\UNC\\srv\\share\\a.exe", "/\\?\\E:\\..\\UNC\\srv\\share\\a.exe", false},
                    ImageCase{"E:\\con", "F:\\con", false},
                    ImageCase{"E:\\run.exe", "E:run.exe", false}, // relative to some folder of E:
                    ImageCase{"run.exe", "run.exe", false},
                    ImageCase{"E:\\", "E:\\", false}));

TEST(ProcessImageRule, NativeImagePathsMatchThroughTheVolumesLetters) {
    const std::vector<VolumeDrive> volumes = {{"\\Device\\HarddiskVolume3", "E:"},
                                              {"\\Device\\HarddiskVolume31", "F:"}};
    const struct {
        const char* image;
        const char* target;
        bool same;
    } cases[] = {
        {"\\Device\\HarddiskVolume3\\bin\\run.exe", "E:\\bin\\run.exe", true},
        {"\\DEVICE\\harddiskvolume3\\RUN.EXE", "e:\\run.exe", true},
        {"\\Device\\HarddiskVolume31\\run.exe", "E:\\run.exe", false}, // a longer device name, another volume
        {"\\Device\\HarddiskVolume31\\run.exe", "F:\\run.exe", true},
        {"\\Device\\HarddiskVolume4\\run.exe", "E:\\run.exe", false},  // no letter known for it
        {"\\Device\\HarddiskVolume3", "E:\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ProcessImageIsTarget(c.image, c.target, volumes), c.same) << c.image;
    EXPECT_FALSE(ProcessImageIsTarget("\\Device\\HarddiskVolume3\\run.exe", "E:\\run.exe"));
}

} // namespace
} // namespace tollivar
