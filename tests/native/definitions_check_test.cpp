// The update program's checks on a new def.uas: version rule, readability, and the decision.
#include <gtest/gtest.h>

#include <string>

#include "updater/definitions_check.h"
#include "test_computer.h"

namespace tollivar {
namespace {

TEST(DefinitionsVersionTest, ParsesNumbersAndDotsOnly) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"2026.12.1", true}, {"7", true},          {"0.0.1", true},    {"2026.012.1", true},
        {"", false},         {"2026.", false},     {".1", false},      {"2026..1", false},
        {"v2026", false},    {"2026.12.1b", false}, {"1 2", false},    {"-1", false},
        {"1234567890", false}, // too many digits for one number: refused, not wrapped round
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDefinitionsVersion(c.text).has_value(), c.valid) << c.text;
}

TEST(DefinitionsVersionTest, ComparesNumberByNumber) {
    const struct {
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {"2026.12.10", "2026.12.9", 1}, // numbers, not texts: 10 > 9
        {"2027.1", "2026.12.31", 1},
        {"2026.12", "2026.12.0", 0},    // a missing number counts as 0
        {"2026.12", "2026.12.1", -1},
        {"2026.012", "2026.12", 0},     // leading zeros do not count
        {"9", "10", -1},
    };
    for (const auto& c : cases) {
        const int order = CompareDefinitionsVersions(*ParseDefinitionsVersion(c.a), *ParseDefinitionsVersion(c.b));
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    }
}

constexpr char kGood[] = "[INFO]\r\nVersion=2026.12.1\r\n\r\n[1]\r\nTh=Worm.One\r\nP1=one.exe\r\nF1=%APPDATA%\\one.exe\r\n"
                         "[2]\r\nTh=Worm.Two\r\n";

TEST(DefinitionsCheckTest, AReadableFileGivesItsVersionAndThreatCount) {
    const DefinitionsCheck check = CheckDefinitionsText(kGood, TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
    EXPECT_EQ(check.version, "2026.12.1");
    EXPECT_EQ(check.threats, 2u);
}

TEST(DefinitionsCheckTest, ReadsLikeTheProgram) {
    // Lower-case names, blanks and quotes around the version, comments: all as the profile reader reads them.
    const DefinitionsCheck check =
        CheckDefinitionsText("; comment\n[ info ]\n version = \"2027.1\" \n[1]\nth=A\np1=a.exe\n", TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
    EXPECT_EQ(check.version, "2027.1");
    EXPECT_EQ(check.threats, 1u);
}

// An executable's first bytes, followed by what would otherwise be a readable file.
constexpr char kBinary[] = "MZ\x90\0\x03\0\0\0[INFO]\nVersion=9\n[1]\nTh=A\n";

TEST(DefinitionsCheckTest, RefusesWhatTheProgramCannotUse) {
    const struct {
        const char* name;
        std::string text;
        DefinitionsProblem problem;
    } cases[] = {
        {"empty", "", DefinitionsProblem::Empty},
        {"binary", std::string(kBinary, sizeof kBinary - 1), DefinitionsProblem::NotText},
        {"no version", "[INFO]\n[1]\nTh=A\n", DefinitionsProblem::NoVersion},
        {"version elsewhere", "[1]\nTh=A\nVersion=9\n", DefinitionsProblem::NoVersion},
        {"text version", "[INFO]\nVersion=December\n[1]\nTh=A\n", DefinitionsProblem::BadVersion},
        {"no threats", "[INFO]\nVersion=9\n", DefinitionsProblem::NoThreats},
        {"threat 1 unnamed", "[INFO]\nVersion=9\n[1]\nTh=\nP1=a.exe\n[2]\nTh=B\n", DefinitionsProblem::NoThreats},
        {"gap", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nTh=B\n[4]\nTh=D\n", DefinitionsProblem::UnreachableThreat},
        {"unnamed middle", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nP1=b.exe\n[3]\nTh=C\n", DefinitionsProblem::UnreachableThreat},
        {"leading zero", "[INFO]\nVersion=9\n[1]\nTh=A\n[02]\nTh=B\n", DefinitionsProblem::UnreachableThreat},
        {"threat 0", "[INFO]\nVersion=9\n[0]\nTh=Z\n[1]\nTh=A\n", DefinitionsProblem::UnreachableThreat},
        {"process path", "[INFO]\nVersion=9\n[1]\nTh=A\nP1=C:\\bad\\a.exe\n", DefinitionsProblem::ProcessWithFolder},
        {"system process", "[INFO]\nVersion=9\n[1]\nTh=A\nP1=a.exe\nP2=SvcHost.exe\n", DefinitionsProblem::ProtectedProcess},
        {"own process", "[INFO]\nVersion=9\n[1]\nTh=A\n[2]\nTh=B\nP1=tollguard.exe\n", DefinitionsProblem::ProtectedProcess},
        {"too large", "[INFO]\nVersion=9\n[1]\nTh=A\n" + std::string(kMaxDefinitionsFileSize, ' '),
         DefinitionsProblem::TooLarge},
    };
    for (const auto& c : cases) {
        const DefinitionsCheck check = CheckDefinitionsText(c.text, TestComputer());
        EXPECT_EQ(check.problem, c.problem) << c.name;
        EXPECT_FALSE(DescribeProblem(check).empty()) << c.name;
    }
}

TEST(DefinitionsCheckTest, EntriesAfterTheirListEndsAreNotChecked) {
    // The scan stops at P1 missing, so a P2 it never reads cannot harm anything.
    const DefinitionsCheck check = CheckDefinitionsText("[INFO]\nVersion=9\n[1]\nTh=A\nP2=svchost.exe\n", TestComputer());
    EXPECT_EQ(check.problem, DefinitionsProblem::None) << DescribeProblem(check);
}

// A file whose only threat has this one file entry.
std::string WithFileEntry(const std::string& value) {
    return "[INFO]\nVersion=9\n[1]\nTh=A\nF1=%APPDATA%\\a.exe\nF2=" + value + "\n";
}

TEST(DefinitionsCheckTest, FileEntriesNeverNameWhatHealingMustNotTake) {
    using P = DefinitionsProblem;
    const struct {
        const char* value;
        DefinitionsProblem problem;
    } cases[] = {
        // Where threats do drop their files: allowed.
        {"%APPDATA%\\Stickfly\\stickfly.exe", P::None},
        {"%WINDIR%\\system32\\sfly_loader32.exe", P::None}, // in the system folder, not Windows' own
        {"%windir%\\recyclebin-agent.exe", P::None},
        {"%USERPROFILE%\\agent.exe", P::None},
        {"%USERPROFILE%\\Desktop\\agent.exe", P::None},
        {"%TEMP%\\dropper.exe", P::None},
        {"C:\\Windows\\Temp\\svchost.exe", P::None}, // the platform cannot say; not a critical place
        {"%UNDEFINED%\\x.exe", P::None},             // names nothing the scan would read
        {"E:\\autorun.exe", P::None},
        // Not a full path of a file on a drive.
        {"def.uas", P::FileNotFullPath},
        {"tollguard.exe", P::FileNotFullPath},
        {"\\Windows\\explorer.exe", P::FileNotFullPath},
        {"C:Windows\\explorer.exe", P::FileNotFullPath},
        {"\\\\server\\share\\report.docx", P::FileNotFullPath},
        {"\\\\localhost\\C$\\Windows\\explorer.exe", P::FileNotFullPath},
        {"\\\\.\\C:\\Users\\ann\\Documents\\thesis.docx", P::FileNotFullPath},
        {"/\\?\\C:\\Users\\ann\\Documents\\thesis.docx", P::FileNotFullPath},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume2\\Windows\\explorer.exe", P::FileNotFullPath},
        {"C:\\x\\con", P::FileNotFullPath},
        // Drive roots and folders.
        {"C:\\", P::FileIsFolder},
        {"C:\\Data\\", P::FileIsFolder},
        {"C:\\Data\\.", P::FileIsFolder},
        {"%WINDIR%", P::FileIsFolder},
        {"C:\\WINDOWS\\System32", P::FileIsFolder},
        {"%ProgramFiles%", P::FileIsFolder},
        {"%ProgramData%", P::FileIsFolder},
        {"%TEMP%", P::FileIsFolder},
        {"C:\\Users", P::FileIsFolder},
        {"%APPDATA%\\..\\..", P::FileOfUser},
        // Tollivar's own.
        {"C:\\Program Files\\Tollivar", P::FileOfTollivar},
        {"C:\\Program Files\\Tollivar\\settings.ini", P::FileOfTollivar},
        {"%ProgramFiles%\\Tollivar\\quarantine\\x.exe", P::FileOfTollivar},
        {"c:/program files/tollivar/bin/unscript.bat", P::FileOfTollivar},
        {"\\\\?\\C:\\Program Files\\Tollivar\\def.uas", P::FileOfTollivar},
        {"C:\\Program Files\\Tollivar.\\uninstall.exe", P::FileOfTollivar},
        {"D:\\Portable\\tollguard.exe", P::FileOfTollivar},
        {"D:\\Backup\\def.uas", P::FileOfTollivar},
        {"C:\\Program Files\\Tollivar Tools\\run.exe", P::None},
        // The user's own.
        {"%USERPROFILE%", P::FileOfUser},
        {"%USERPROFILE%\\Documents", P::FileOfUser},
        {"%USERPROFILE%\\Downloads", P::FileOfUser},
        {"%USERPROFILE%\\Desktop", P::FileOfUser},
        {"%APPDATA%", P::FileOfUser},
        {"%LOCALAPPDATA%", P::FileOfUser},
        {"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup", P::FileOfUser},
        {"%USERPROFILE%\\Documents\\thesis.docx", P::FileOfUser},
        {"%APPDATA%\\..\\..\\Pictures\\holiday\\beach.jpg", P::FileOfUser},
        {"C:\\Users\\ann\\Music. \\song.mp3", P::FileOfUser},
        {"%OneDrive%\\taxes.xlsx", P::FileOfUser},
        // Windows' own, asked of the platform or known to be critical.
        {"%WINDIR%\\System32\\notepad.exe", P::FileOfWindows},
        {"%ProgramFiles%\\Windows Mail\\wab.exe", P::FileOfWindows},
        {"C:\\Windows\\System32\\ntoskrnl.exe", P::FileOfWindows},
        {"%SystemRoot%\\SysWOW64\\kernel32.dll", P::FileOfWindows},
        {"%windir%\\explorer.exe", P::FileOfWindows},
        {"C:\\Windows\\System32\\config\\SAM", P::FileOfWindows},
        {"C:\\bootmgr", P::FileOfWindows},
        {"C:\\Windows\\System32\\..\\System32\\.\\hal.dll", P::FileOfWindows},
        {"\\\\?\\C:\\Windows\\System32\\winload.exe", P::FileOfWindows},
        {"C:\\Windows\\System32\\svchost.exe. ", P::FileOfWindows},
        // A copy under a Windows name elsewhere is what threats do: allowed.
        {"%APPDATA%\\svchost.exe", P::None},
        {"C:\\Windows\\svchost.exe", P::None},
    };
    for (const auto& c : cases) {
        const DefinitionsCheck check = CheckDefinitionsText(WithFileEntry(c.value), TestComputer());
        EXPECT_EQ(check.problem, c.problem) << c.value << ": " << DescribeProblem(check);
        if (c.problem != P::None) {
            EXPECT_NE(DescribeProblem(check).find(c.value), std::string::npos) << c.value;
        }
    }
}

TEST(DefinitionsCheckTest, CriticalWindowsFilesAreRefusedEvenWhenThePlatformCannotAnswer) {
    DefinitionsSafety safety = TestComputer();
    safety.isProtectedSystemFile = nullptr;
    EXPECT_EQ(CheckDefinitionsText(WithFileEntry("%WINDIR%\\System32\\user32.dll"), safety).problem,
              DefinitionsProblem::FileOfWindows);
    EXPECT_EQ(CheckDefinitionsText(WithFileEntry("%WINDIR%\\System32\\notepad.exe"), safety).problem,
              DefinitionsProblem::None);
    // Without the Windows variables the usual folder is still Windows'.
    safety.environment = [](const std::string&) { return std::optional<std::string>(); };
    EXPECT_EQ(CheckDefinitionsText(WithFileEntry("C:\\WINDOWS\\system32\\lsass.exe"), safety).problem,
              DefinitionsProblem::FileOfWindows);
}

TEST(DefinitionsCheckTest, RefusesAFileTheScanWouldReadOtherwise) {
    using P = DefinitionsProblem;
    const std::string text = "[INFO]\r\nVersion=9\r\n[1]\r\nTh=A\r\nP1=a.exe\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += std::string{c, '\0'};
    const struct {
        const char* name;
        std::string bytes;
        DefinitionsProblem problem;
    } cases[] = {
        {"UTF-16 of ASCII", utf16, P::None},
        {"UTF-16 mark on 8-bit text", "\xFF\xFE" + text, P::NotUtf16},
        {"UTF-16 of odd length", utf16 + "A", P::NotUtf16},
        {"UTF-16 beyond ASCII", utf16 + "\xE9" + std::string(1, '\0'), P::WideUtf16},
    };
    for (const auto& c : cases) {
        const DefinitionsCheck check = CheckDefinitionsText(c.bytes, TestComputer());
        EXPECT_EQ(check.problem, c.problem) << c.name;
        if (c.problem == P::None) {
            EXPECT_EQ(check.version, "9") << c.name;
        }
    }
    // An installed UTF-16 file keeps its version: a same-version file does not replace it.
    EXPECT_EQ(DecideUpdate(utf16, text, TestComputer()).verdict, UpdateVerdict::SameVersion);
}

TEST(DefinitionsCheckTest, ProcessesTheSessionNeedsAreNeverListed) {
    for (const char* image : {"sihost.exe", "ctfmon.exe", "RuntimeBroker.exe", "dwm.exe", "fontdrvhost.exe",
                              "taskhostw.exe", "SearchHost.exe", "StartMenuExperienceHost.exe",
                              "ShellExperienceHost.exe", "conhost.exe", "wininit.exe", "audiodg.exe", "spoolsv.exe",
                              "dllhost.exe", "KVRUpdate.exe"}) {
        const std::string file = std::string("[INFO]\nVersion=9\n[1]\nTh=A\nP1=") + image + "\n";
        EXPECT_EQ(CheckDefinitionsText(file, TestComputer()).problem, DefinitionsProblem::ProtectedProcess) << image;
    }
    EXPECT_FALSE(IsNeverEndedProcess("sihost.exe.bak"));
    EXPECT_FALSE(IsNeverEndedProcess("stickfly-usbspread.exe"));
}

TEST(UpdateDecisionTest, ReplacesOnlyWithANewerReadableFile) {
    const std::string installed = "[INFO]\r\nVersion=2026.12.1\r\n[1]\r\nTh=A\r\n";
    const auto file = [](const char* version) { return std::string("[INFO]\nVersion=") + version + "\n[1]\nTh=A\n"; };
    const struct {
        const char* name;
        std::string installed;
        std::string candidate;
        UpdateVerdict verdict;
    } cases[] = {
        {"newer", installed, file("2026.12.2"), UpdateVerdict::Replace},
        {"newer by number", installed, file("2026.12.10"), UpdateVerdict::Replace},
        {"same", installed, file("2026.12.1"), UpdateVerdict::SameVersion},
        {"same written longer", installed, file("2026.12.1.0"), UpdateVerdict::SameVersion},
        {"older", installed, file("2026.9.30"), UpdateVerdict::Older},
        {"unreadable", installed, "[INFO]\nVersion=2030\n", UpdateVerdict::Unreadable},
        {"nothing installed", "", file("1"), UpdateVerdict::Replace},
        {"installed without version", "[1]\nTh=A\n", file("1"), UpdateVerdict::Replace},
        {"installed with a text version", "[INFO]\nVersion=beta\n", file("1"), UpdateVerdict::Replace},
        {"unreadable with nothing installed", "", "garbage", UpdateVerdict::Unreadable},
    };
    for (const auto& c : cases) {
        const UpdateDecision decision = DecideUpdate(c.installed, c.candidate, TestComputer());
        EXPECT_EQ(decision.verdict, c.verdict) << c.name;
        EXPECT_FALSE(DescribeDecision(decision).empty()) << c.name;
    }
}

TEST(UpdateDecisionTest, TellsBothVersions) {
    const UpdateDecision decision =
        DecideUpdate("[INFO]\nVersion=2026.12.1\n[1]\nTh=A\n", "[INFO]\nVersion=2027.2\n[1]\nTh=A\n[2]\nTh=B\n", TestComputer());
    ASSERT_EQ(decision.verdict, UpdateVerdict::Replace);
    const std::string text = DescribeDecision(decision);
    EXPECT_NE(text.find("2026.12.1"), std::string::npos) << text;
    EXPECT_NE(text.find("2027.2 (2 threats)"), std::string::npos) << text;
    EXPECT_EQ(decision.installedVersion, "2026.12.1");
}

} // namespace
} // namespace tollivar
