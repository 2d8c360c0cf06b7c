// autorun.inf files written the way USB worms write them, on a real stick: every launch entry, the
// encodings and the padding, host programs seen through to their payload, and clean sticks.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/autorun_analysis_win.h"
#include "ui_driver_win.h"

namespace tollivar {
namespace {

using test::RemovableStick;

// UTF-16 little-endian with its byte-order mark, from ASCII text.
std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::string Utf16BeWithoutMark(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) {
        bytes += '\0';
        bytes += c;
    }
    return bytes;
}

// Lines of junk and binary comments around the entries, tabs and blanks everywhere, a header without
// its "]".
std::string Padded(const std::string& entries) {
    std::string junk;
    for (int i = 0; i < 40; ++i) {
        junk += ";";
        for (int j = 0; j < 30; ++j) junk += static_cast<char>(0x80 + ((i * 31 + j * 7) % 120));
        junk += "\r\n";
        for (int j = 0; j < 25; ++j) junk += static_cast<char>('A' + ((i * 13 + j * 5) % 26));
        junk += "\r\n";
    }
    return junk + " \t[AutoRun\r\n" + junk + entries + junk;
}

struct WormCase {
    const char* name;
    std::string inf;
    std::vector<std::string> targets; // in file order
};

class WormAutorun : public testing::TestWithParam<WormCase> {
  protected:
    void SetUp() override { RemovableStick().Clear(); }
    void TearDown() override { RemovableStick().Pull(); }
};

TEST_P(WormAutorun, FindsEveryTargetTheShellWouldStart) {
    const WormCase& c = GetParam();
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", c.inf));
    std::vector<std::string> found;
    for (const AutorunFinding& f : AnalyzeAutorunFindings("E:\\")) {
        EXPECT_EQ(f.infPath, "E:\\autorun.inf");
        found.push_back(f.targetPath);
    }
    EXPECT_EQ(found, c.targets);
}

const std::string kRundll = "rundll32.exe .\\RECYCLER\\S-1-5-21-1482476501\\jwgkvsq.vmx,ahaezedrn";

INSTANTIATE_TEST_SUITE_P(
    Cases, WormAutorun,
    testing::Values(
        WormCase{"PaddedWithUnclosedHeader",
                 Padded("\t sHeLlExEcUtE  =\t" + kRundll + "\r\n  ACTION = Open folder to view files\r\n"),
                 {"E:\\RECYCLER\\S-1-5-21-1482476501\\jwgkvsq.vmx"}},
        WormCase{"Utf16WithMark",
                 Utf16Le(Padded("open=" + kRundll + "\r\nshell\\explore\\command=" + kRundll + "\r\n")),
                 {"E:\\RECYCLER\\S-1-5-21-1482476501\\jwgkvsq.vmx"}},
        WormCase{"Utf16WithoutMark", Utf16BeWithoutMark("[autorun]\r\nopen=wscript.exe //e:vbscript x.dat\r\n"),
                 {"E:\\x.dat"}},
        WormCase{"Utf8WithMark", "\xEF\xBB\xBF[autorun]\r\nshell\\open\\command=RECYCLER\\boot.exe\r\n",
                 {"E:\\RECYCLER\\boot.exe"}},
        WormCase{"OnlyShellOpenCommand", "[autorun]\r\nshell\\open\\command=tmp.exe\r\n", {"E:\\tmp.exe"}},
        WormCase{"SeveralEntriesOneProgram",
                 "[autorun]\r\nopen=run.exe\r\nshellexecute=RUN.EXE\r\nshell\\open\\command=.\\run.exe\r\n"
                 "shell\\explore\\command=run.exe\r\nshell\\autoplay\\command=run.exe\r\n",
                 {"E:\\run.exe"}},
        WormCase{"ShellChoosesACustomVerb",
                 "[autorun]\r\nshell=verb1\r\nshell\\verb1=Open\r\nshell\\verb1\\command=ms32.exe\r\n",
                 {"E:\\ms32.exe"}},
        WormCase{"HostsSeenThroughToPayloads",
                 "[autorun]\r\nopen=C:\\WINDOWS\\system32\\cmd.exe /c start .\\x\\a.bat\r\n"
                 "shell\\open\\command=\"mshta.exe\" \\x\\b.hta\r\nshell\\explore\\command=regsvr32 /s c.ocx\r\n"
                 "shell\\find\\command=powershell.exe -ExecutionPolicy Bypass -File .\\d.ps1\r\n",
                 {"E:\\x\\a.bat", "E:\\x\\b.hta", "E:\\c.ocx", "E:\\d.ps1"}},
        // A setup disc still names a program: the plain rule keeps it a finding.
        WormCase{"SetupDisc", "[autorun]\r\nopen=setup.exe\r\nicon=setup.exe,0\r\nlabel=Office\r\n",
                 {"E:\\setup.exe"}},
        WormCase{"IconAndLabelOnly", "[autorun]\r\nicon=photos.ico\r\nlabel=Holiday 2026\r\n", {}},
        WormCase{"EmptyFile", "", {}}),
    [](const testing::TestParamInfo<WormCase>& info) { return info.param.name; });

TEST(WormAutorunClean, AnAutorunFolderIsNoFindingAndNoError) {
    RemovableStick().Clear();
    ASSERT_TRUE(test::MakeFolders("E:\\autorun.inf"));
    SetFileAttributesA("E:\\autorun.inf", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(AnalyzeAutorunFindings("E:\\").empty());
    SetFileAttributesA("E:\\autorun.inf", FILE_ATTRIBUTE_NORMAL);
    RemovableStick().Pull();
}

// A 20 MB autorun.inf: only its first mebibyte is read, so an entry past it is never seen.
TEST(WormAutorunClean, AHugeFileIsReadOnlyToItsBoundedPrefix) {
    RemovableStick().Clear();
    std::string junk(20u * 1024 * 1024, 'j');
    for (std::size_t i = 80; i < junk.size(); i += 81) junk[i] = '\n';
    const std::string early = "[autorun]\r\nopen=early.exe\r\n";
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", early + junk + "\r\n[autorun]\r\nopen=late.exe\r\n"));
    const ULONGLONG start = GetTickCount64();
    const std::vector<AutorunFinding> findings = AnalyzeAutorunFindings("E:\\");
    const ULONGLONG took = GetTickCount64() - start;
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].targetPath, "E:\\early.exe");
    std::printf("20 MB autorun.inf analysed in %llu ms\n", took);
    RemovableStick().Pull();
}

} // namespace
} // namespace tollivar
