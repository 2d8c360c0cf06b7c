// The definitions walk and the process lookup on real def.uas files, real files and real processes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/definitions_scan_win.h"
#include "engine/process_lookup_win.h"
#include "engine/process_text.h"
#include "ui_driver_win.h"

namespace tollivar {
namespace {

using test::DeleteTree;
using test::MakeFolders;
using test::RunningApp;
using test::WriteTextFile;

const std::string kRoot = "C:\\Tollivar Tests\\engine";
const std::string kFiles = kRoot + "\\files";
const std::string kProcs = kRoot + "\\procs";

std::string WaiterProgram() { return test::DosPathOfUnix(std::getenv("TOLLIVAR_WAITER")); }

// Starts a copy of the waiting test program under the given file name.
RunningApp StartWaiterAs(const std::string& path) {
    CopyFileA(WaiterProgram().c_str(), path.c_str(), FALSE);
    return RunningApp::Start(path);
}

struct ScanResult {
    std::vector<ScanRow> rows;
    std::vector<std::string> statuses;
};

ScanResult Scan(const std::string& defText) {
    const std::string def = kRoot + "\\def.uas";
    WriteTextFile(def, defText);
    ScanResult result;
    RunDefinitionScan(
        def, [&](const std::string& s) { result.statuses.push_back(s); },
        [&](const ScanRow& r) { result.rows.push_back(r); });
    return result;
}

ScanRow Row(const std::string& infection, const char* kind, const char* identification) {
    return ScanRow{infection, kind, identification};
}

class DefinitionScanTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        DeleteTree(kRoot);
        MakeFolders(kFiles + "\\%B%");
        MakeFolders(kProcs);
        WriteTextFile(kFiles + "\\a.exe", "a");
        WriteTextFile(kFiles + "\\b.exe", "b");
        WriteTextFile(kFiles + "\\%B%\\x.exe", "x");
        SetEnvironmentVariableA("TV_FILES", kFiles.c_str());
        SetEnvironmentVariableA("TV_UNDEFINED", nullptr);
        waiters_ = new std::vector<RunningApp>();
        waiters_->push_back(StartWaiterAs(kProcs + "\\TvWaiter.exe"));
        waiters_->push_back(StartWaiterAs(kProcs + "\\TvWaiter.exe"));
        waiters_->push_back(StartWaiterAs(kProcs + "\\tvother.exe"));
        // Let the copies appear in the process list.
        test::WaitUntil([] { return !FindRunningProcess("tvother.exe").empty(); }, 5000);
    }
    static void TearDownTestSuite() {
        delete waiters_;
        DeleteTree(kRoot);
    }
    static std::vector<RunningApp>* waiters_;
};

std::vector<RunningApp>* DefinitionScanTest::waiters_ = nullptr;

bool IsWaiterText(const std::string& text, const char* listedName) {
    const auto parts = ParseProcessText(text);
    if (!parts || parts->imageName != listedName) return false;
    return text == FormatProcessText(parts->processId, listedName);
}

TEST_F(DefinitionScanTest, ThreatsAreReadUpToTheFirstGap) {
    const ScanResult r = Scan("[1]\r\nTh=One\r\nF1=%TV_FILES%\\a.exe\r\n"
                              "[2]\r\nTh=Two\r\nF1=%TV_FILES%\\b.exe\r\n"
                              "[4]\r\nTh=Four\r\nF1=%TV_FILES%\\a.exe\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(kFiles + "\\a.exe", "F", "One"), Row(kFiles + "\\b.exe", "F", "Two")}));
    ASSERT_FALSE(r.statuses.empty());
    EXPECT_EQ(r.statuses.front(), " Analyzing >>  One");
    EXPECT_EQ(r.statuses.back(), " Analyzing >>  Seeking...");
}

TEST_F(DefinitionScanTest, AnEmptyNameEndsTheWalk) {
    const ScanResult r = Scan("[1]\r\nTh=One\r\nF1=%TV_FILES%\\a.exe\r\n[2]\r\nTh=\r\nF1=%TV_FILES%\\a.exe\r\n"
                              "[3]\r\nTh=Three\r\nF1=%TV_FILES%\\b.exe\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(kFiles + "\\a.exe", "F", "One")}));
}

TEST_F(DefinitionScanTest, ProcessesThenFilesWithNumberingGaps) {
    // P1 and P3 without P2: only P1 is looked up; lower-case keys are found.
    const ScanResult r = Scan("[1]\r\nth=Worm.A\r\np1=TVWAITER.EXE\r\nP3=tvother.exe\r\nf1=%TV_FILES%\\a.exe\r\n"
                              "F3=%TV_FILES%\\b.exe\r\n");
    ASSERT_EQ(r.rows.size(), 2u);
    // Two copies run: one row, with the name as the process list shows it.
    EXPECT_TRUE(IsWaiterText(r.rows[0].infection, "TvWaiter.exe")) << r.rows[0].infection;
    EXPECT_EQ(r.rows[0].kind, "P");
    EXPECT_EQ(r.rows[0].identification, "Worm.A");
    EXPECT_EQ(r.rows[1], Row(kFiles + "\\a.exe", "F", "Worm.A"));
}

TEST_F(DefinitionScanTest, ProcessesAreLookedUpWithoutFileEntries) {
    const ScanResult r = Scan("[1]\r\nTh=Worm.B\r\nP1=tvother.exe\r\nP2=missing.exe\r\n");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_TRUE(IsWaiterText(r.rows[0].infection, "tvother.exe"));
}

TEST_F(DefinitionScanTest, FileEntriesExpandOnlyTheirFirstReference) {
    SetEnvironmentVariableA("B", "nothing-here");
    const ScanResult r = Scan("[1]\r\nTh=Ref\r\nF1=%TV_FILES%\\%B%\\x.exe\r\nF2=D:\\%TV_FILES%\\b.exe\r\n"
                              "F3=%TV_UNDEFINED%\\a.exe\r\nF4=%TV_FILES\r\nF5=" + kFiles + "\\a.exe\r\n"
                              "F6=%TV_FILES%\\\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(kFiles + "\\%B%\\x.exe", "F", "Ref"),
                                            Row(kFiles + "\\b.exe", "F", "Ref"), Row(kFiles + "\\a.exe", "F", "Ref")}));
}

TEST_F(DefinitionScanTest, FilesAreFoundUnderAnyNameTheFileSystemKnows) {
    // Folders are listed once and absent names need no open; short names and other cases still match.
    const std::string longName = kFiles + "\\A Long Program Name.exe";
    ASSERT_TRUE(WriteTextFile(longName, "x"));
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(longName.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::string(shortPath), longName);
    const ScanResult r = Scan("[1]\r\nTh=Names\r\nF1=" + std::string(shortPath) + "\r\nF2=%TV_FILES%\\A.EXE\r\n"
                              "F3=%TV_FILES%\\absent.exe\r\nF4=C:\\No Such Folder\\a.exe\r\nF5=%TV_FILES%\\%B%\r\n"
                              "F6=%TV_FILES%\\..\\files\\b.exe\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(shortPath, "F", "Names"), Row(kFiles + "\\A.EXE", "F", "Names"),
                                            Row(kFiles + "\\..\\files\\b.exe", "F", "Names")}));
    DeleteFileA(longName.c_str());
}

TEST_F(DefinitionScanTest, OneFileUnderTwoThreatsGivesTwoRows) {
    const ScanResult r = Scan("[1]\r\nTh=First\r\nF1=%TV_FILES%\\a.exe\r\n[2]\r\nTh=Second\r\nF1=%TV_FILES%\\a.exe\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(kFiles + "\\a.exe", "F", "First"),
                                            Row(kFiles + "\\a.exe", "F", "Second")}));
}

TEST_F(DefinitionScanTest, AValueIsUsedCutTo511Characters) {
    // A real file whose path is exactly 511 characters; the entry names it and goes on past 511.
    std::string folder = kRoot + "\\long";
    while (folder.size() < 511 - 12) folder += "\\" + std::string(std::min<std::size_t>(100, 511 - 13 - folder.size()), 'd');
    const std::string name = std::string(511 - folder.size() - 1, 'f');
    const std::string path = folder + "\\" + name;
    ASSERT_EQ(path.size(), 511u);
    ASSERT_TRUE(MakeFolders(folder));
    HANDLE f = CreateFileW(test::LongPathW(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    const ScanResult r = Scan("[1]\r\nTh=Long\r\nF1=" + path + "TAIL-BEYOND-511\r\n");
    EXPECT_EQ(r.rows, (std::vector<ScanRow>{Row(path, "F", "Long")}));
}

TEST_F(DefinitionScanTest, AMissingOrEmptyFileOnlySeeks) {
    DeleteFileA((kRoot + "\\def.uas").c_str());
    std::vector<std::string> statuses;
    std::vector<ScanRow> rows;
    RunDefinitionScan(
        kRoot + "\\def.uas", [&](const std::string& s) { statuses.push_back(s); },
        [&](const ScanRow& row) { rows.push_back(row); });
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(statuses, (std::vector<std::string>{" Analyzing >>  Seeking..."}));
    const ScanResult empty = Scan("");
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.statuses, (std::vector<std::string>{" Analyzing >>  Seeking..."}));
}

TEST_F(DefinitionScanTest, ReadsTheFileAsThePlatformReaderDoes) {
    // Every key of a tricky file: what the walk reports must match what the platform's reader returns.
    const std::string text = "[1]\r\n  Th  =  \"Quoted Name\"  \r\nP1='tvother.exe'\r\n[1]\r\nF1=%TV_FILES%\\a.exe\r\n"
                             "[ 2 ]\r\nTh=Spaced Section\r\nF1 = %TV_FILES%\\b.exe\r\nF1=%TV_FILES%\\a.exe\r\n";
    const ScanResult r = Scan(text);
    char th1[512], p1[512], f1of1[512], th2[512], f1of2[512];
    const std::string def = kRoot + "\\def.uas";
    GetPrivateProfileStringA("1", "Th", "", th1, 512, def.c_str());
    GetPrivateProfileStringA("1", "P1", "", p1, 512, def.c_str());
    GetPrivateProfileStringA("1", "F1", "", f1of1, 512, def.c_str());
    GetPrivateProfileStringA("2", "Th", "", th2, 512, def.c_str());
    GetPrivateProfileStringA("2", "F1", "", f1of2, 512, def.c_str());
    EXPECT_STREQ(th1, "Quoted Name");
    std::vector<std::string> expectedStatuses = {std::string(" Analyzing >>  ") + th1};
    if (*th2) expectedStatuses.push_back(std::string(" Analyzing >>  ") + th2);
    expectedStatuses.push_back(" Analyzing >>  Seeking...");
    EXPECT_EQ(r.statuses, expectedStatuses);
    std::vector<std::string> infections;
    for (const ScanRow& row : r.rows) infections.push_back(row.kind + ":" + row.identification);
    std::vector<std::string> expected;
    if (*p1) expected.push_back(std::string("P:") + th1);
    if (*f1of1) expected.push_back(std::string("F:") + th1);
    if (*th2 && *f1of2) expected.push_back(std::string("F:") + th2);
    EXPECT_EQ(infections, expected);
}

TEST_F(DefinitionScanTest, FindRunningProcessMatchesWholeNamesInAnyCase) {
    struct Case {
        const char* name;
        const char* listed; // nullptr: no match
    } cases[] = {{"tvwaiter.exe", "TvWaiter.exe"}, {"TVWAITER.EXE", "TvWaiter.exe"}, {"tvother.exe", "tvother.exe"},
                 {"TvWaiter", nullptr},            {"waiter.exe", nullptr},          {"procs\\TvWaiter.exe", nullptr},
                 {"C:\\Tollivar Tests\\engine\\procs\\TvWaiter.exe", nullptr},        {"*.exe", nullptr},
                 {"", nullptr}};
    for (const Case& c : cases) {
        const std::string text = FindRunningProcess(c.name);
        if (c.listed) EXPECT_TRUE(IsWaiterText(text, c.listed)) << c.name << " -> " << text;
        else EXPECT_EQ(text, "") << c.name;
    }
    // Of two copies, the one reported is one of them.
    const auto parts = ParseProcessText(FindRunningProcess("tvwaiter.exe"));
    ASSERT_TRUE(parts);
    EXPECT_TRUE(parts->processId == (*waiters_)[0].Pid() || parts->processId == (*waiters_)[1].Pid());
}

TEST_F(DefinitionScanTest, AnAutorunTargetIsReportedOnlyForItsOwnImage) {
    // A program named like the target but started from elsewhere is not the target.
    RunningApp svc = StartWaiterAs(kProcs + "\\svchost.exe");
    AutorunFinding itself{"E:\\autorun.inf", kProcs + "\\svchost.exe", "svchost.exe"};
    std::string text;
    ASSERT_TRUE(test::WaitUntil([&] { return !(text = FindRunningAutorunTarget(itself)).empty(); }));
    AutorunFinding elsewhere{"E:\\autorun.inf", "E:\\svchost.exe", "svchost.exe"};
    EXPECT_EQ(FindRunningAutorunTarget(elsewhere), "");
    const auto parts = ParseProcessText(text);
    ASSERT_TRUE(parts) << text;
    EXPECT_EQ(parts->processId, svc.Pid());
    AutorunFinding none;
    EXPECT_EQ(FindRunningAutorunTarget(none), "");
}

} // namespace
} // namespace tollivar
