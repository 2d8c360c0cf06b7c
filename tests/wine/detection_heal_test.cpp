// Healing detection rows given as records: processes ended, files removed once each, and the autorun
// targets a drive names taken only from that drive. In process on real files and processes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/autorun_rules.h"
#include "engine/process_text.h"
#include "heal/detection_heal_win.h"
#include "heal/process_terminate_win.h"
#include "pages/detection_lists_win.h"
#include "ui_driver_win.h"
#include "win/handles_win.h"

namespace tollivar {
namespace {

using test::DeleteTree;
using test::MakeFolders;
using test::ReadTextFile;
using test::RunningApp;
using test::WriteTextFile;

const std::string kRoot = "C:\\Tollivar Tests\\heal";

std::string WaiterProgram() { return test::DosPathOfUnix(std::getenv("TOLLIVAR_WAITER")); }

RunningApp StartWaiterAs(const std::string& path) {
    CopyFileA(WaiterProgram().c_str(), path.c_str(), FALSE);
    return RunningApp::Start(path);
}

class ProcessHealTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("TOLLIVAR_WAITER"), nullptr) << "run through ctest";
        DeleteTree(kRoot);
        MakeFolders(procs_);
    }
    void TearDown() override { DeleteTree(kRoot); }
    const std::string procs_ = kRoot + "\\procs";
};

TEST_F(ProcessHealTest, TheListedProcessEndsAndItsFileStays) {
    RunningApp target = StartWaiterAs(procs_ + "\\TvHealTarget.exe");
    ASSERT_TRUE(target.Running());
    EXPECT_EQ(TerminateListedProcess(target.Pid(), "tvhealtarget.EXE"), TerminateOutcome::Terminated);
    EXPECT_TRUE(target.WaitForExit(2000));
    EXPECT_TRUE(test::FileExists(procs_ + "\\TvHealTarget.exe"));
    EXPECT_EQ(TerminateListedProcess(target.Pid(), "TvHealTarget.exe"), TerminateOutcome::NotRunning);
}

TEST_F(ProcessHealTest, AnIdNowHeldByAProcessOfAnotherNameIsLeftAlone) {
    RunningApp other = StartWaiterAs(procs_ + "\\TvInnocent.exe");
    ASSERT_TRUE(other.Running());
    EXPECT_EQ(TerminateListedProcess(other.Pid(), "TvHealTarget.exe"), TerminateOutcome::NotRunning);
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(TerminateListedProcess(GetCurrentProcessId(), "heal_tests.exe"), TerminateOutcome::Failed);
}

// Records as the pages read them out of the lists; a hidden list view where a test shows that a row's
// kind and drive travel with the row.
class RecordHealTest : public ProcessHealTest {
  protected:
    void SetUp() override {
        ProcessHealTest::SetUp();
        MakeFolders(stick_);
        MakeFolders(kRoot + "\\install");
        INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, window_, nullptr,
                                nullptr, nullptr);
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
        for (const char* title : {"Infection", "#", "Identification"}) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 120;
            column.pszText = const_cast<char*>(title);
            SendMessageA(list_, LVM_INSERTCOLUMNA, ListColumns()++, reinterpret_cast<LPARAM>(&column));
        }
    }
    void TearDown() override {
        DestroyWindow(window_);
        ProcessHealTest::TearDown();
    }
    WPARAM& ListColumns() { return columns_; }
    static HealRecord File(const std::string& path, bool checked = true) {
        HealRecord record;
        record.text = path;
        record.checked = checked;
        return record;
    }
    static HealRecord Process(const std::string& text) {
        HealRecord record;
        record.text = text;
        record.checked = true;
        record.kind = RowKind::Process;
        return record;
    }
    ThreatRemoval Removal() {
        ThreatRemoval removal;
        removal.quarantineFolder = kRoot + "\\install\\quarantine\\";
        removal.countRemoval = [this] { ++counted_; };
        return removal;
    }
    HealTally Heal(const std::vector<HealRecord>& records, const ThreatRemoval& removal) {
        return HealRecords(records, removal).tally;
    }
    const std::string stick_ = kRoot + "\\stick";
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    WPARAM columns_ = 0;
    int counted_ = 0;
};

TEST_F(RecordHealTest, CheckedRowsAreHealedOnceEachAndFailuresAreCounted) {
    RunningApp evil = StartWaiterAs(procs_ + "\\TvEvil.exe");
    RunningApp innocent = StartWaiterAs(procs_ + "\\TvInnocent.exe");
    ASSERT_TRUE(evil.Running() && innocent.Running());
    ASSERT_TRUE(WriteTextFile(stick_ + "\\autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\run.exe", "run"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\keep.exe", "keep"));

    const std::vector<HealRecord> records = {
        Process(FormatProcessText(evil.Pid(), "TvEvil.exe")),
        Process(FormatProcessText(innocent.Pid(), "TvEvil.exe")), // the id now belongs to another program
        File(stick_ + "\\autorun.inf"),
        File(stick_ + "\\keep.exe", false),
        File(stick_ + "\\run.exe"),
        File(stick_ + "\\AUTORUN.INF"), // a second row for the same file
        File(kRoot + "\\pulled\\run.exe"),
    };
    const HealResult result = HealRecords(records, Removal());
    EXPECT_EQ(result.tally.checkedRows, 6);
    EXPECT_EQ(result.tally.filesRemoved, 2);
    EXPECT_EQ(result.tally.notHealed, 1) << "only the file on the missing folder is still there";
    EXPECT_EQ(counted_, 2);
    const std::vector<RowOutcome> expected = {RowOutcome::Healed,    RowOutcome::Healed,       RowOutcome::Healed,
                                              RowOutcome::Unchecked, RowOutcome::Healed,       RowOutcome::AlreadyTaken,
                                              RowOutcome::NotHealed};
    EXPECT_EQ(result.rows, expected);

    EXPECT_TRUE(evil.WaitForExit(2000));
    EXPECT_TRUE(test::FileExists(procs_ + "\\TvEvil.exe")) << "ending a process leaves its file";
    EXPECT_TRUE(innocent.Running());
    EXPECT_FALSE(test::FileExists(stick_ + "\\autorun.inf"));
    EXPECT_FALSE(test::FileExists(stick_ + "\\run.exe"));
    EXPECT_TRUE(test::FileExists(stick_ + "\\keep.exe"));
}

// A row's kind is what its detector said: a file row that reads like a process text is a file.
TEST_F(RecordHealTest, ATextThatReadsLikeAProcessIsAFileUnlessItsDetectorSaidProcess) {
    const HealTally tally = Heal({File("[1A4] - EVIL.EXE")}, Removal());
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(counted_, 0);

    // Rows carry their kind through the list: the scan's process row reads back as a process.
    AddScanRow(list_, MakeScanRow("[1A4] - EVIL.EXE", kKindProcess, "Worm"));
    AddScanRow(list_, MakeScanRow("[1A4] - EVIL.EXE", kKindFile, "suspicious."));
    const std::vector<HealRecord> read = ReadHealRecords(list_, DetectionList::Scan);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].kind, RowKind::Process);
    EXPECT_EQ(read[1].kind, RowKind::File);
    EXPECT_TRUE(read[0].checked && read[1].checked);
}

// "open=[4] - System:x" on a stick: the autorun target's row reads like a process row, but its detector
// made a file row, and a path that is not on the stick is never taken nor counted healed.
TEST_F(RecordHealTest, AnAutorunTargetThatReadsLikeAProcessIsAFileRowAndNotHealed) {
    AutorunFinding finding{"E:\\autorun.inf", "[4] - System:x", "[4] - System:x"};
    for (const ScanRow& row : AutorunScanRows(finding, "")) AddScanRow(list_, row);
    const std::vector<HealRecord> records = ReadHealRecords(list_, DetectionList::Scan);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].kind, RowKind::File);
    EXPECT_EQ(records[1].autorunRoot, "E:\\");
    const HealResult result = HealRecords({records[1]}, Removal());
    EXPECT_EQ(result.rows, std::vector<RowOutcome>{RowOutcome::NotHealed});
    EXPECT_EQ(result.tally.notHealed, 1);
}

// An autorun target's process row names the very file: a program of the same name started from
// elsewhere is another program and keeps running.
TEST_F(ProcessHealTest, AnAutorunTargetsProcessIsEndedOnlyWhenItsImageIsThatFile) {
    MakeFolders(procs_ + "\\elsewhere");
    RunningApp other = StartWaiterAs(procs_ + "\\elsewhere\\TvTarget.exe");
    RunningApp target = StartWaiterAs(procs_ + "\\TvTarget.exe");
    ASSERT_TRUE(other.Running() && target.Running());
    EXPECT_EQ(TerminateListedProcess(other.Pid(), "TvTarget.exe", procs_ + "\\TvTarget.exe"),
              TerminateOutcome::NotRunning);
    EXPECT_TRUE(other.Running());
    EXPECT_EQ(TerminateListedProcess(target.Pid(), "TvTarget.exe", procs_ + "\\TVTARGET.EXE"),
              TerminateOutcome::Terminated);
    EXPECT_TRUE(target.WaitForExit(2000));
}

// Quarantining copies and hashes on the UI thread: a file above the limit stays and is reported as
// too large; destroying it still works.
TEST_F(RecordHealTest, AFileTooLargeForTheQuarantineStaysUnlessThreatsAreDestroyed) {
    const std::string big = stick_ + "\\big.exe";
    HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(kLargestQuarantinedFile) + 1;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(WriteTextFile(stick_ + "\\small.exe", "small"));

    const HealResult kept = HealRecords({File(big), File(stick_ + "\\small.exe")}, Removal());
    EXPECT_EQ(kept.rows, (std::vector<RowOutcome>{RowOutcome::TooLarge, RowOutcome::Healed}));
    EXPECT_EQ(kept.tally.notHealed, 1);
    EXPECT_TRUE(test::FileExists(big));

    ThreatRemoval destroy = Removal();
    destroy.destroyThreats = true;
    EXPECT_EQ(HealRecords({File(big)}, destroy).rows, std::vector<RowOutcome>{RowOutcome::Healed});
    EXPECT_FALSE(test::FileExists(big));
}

TEST_F(RecordHealTest, AFileInUseIsNotCountedAndTheNextRowsGoOn) {
    ASSERT_TRUE(WriteTextFile(stick_ + "\\busy.exe", "busy"));
    ASSERT_TRUE(WriteTextFile(stick_ + "\\free.exe", "free"));
    const UniqueFile holder(
        CreateFileA((stick_ + "\\busy.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const HealTally tally = Heal({File(stick_ + "\\busy.exe"), File(stick_ + "\\free.exe")}, Removal());
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(tally.filesRemoved, 1);
    EXPECT_EQ(counted_, 1);
}

// The program an autorun.inf names is taken only from the drive that named it, and never from the
// Windows folder or the install folder; the autorun file itself and the definitions' files keep
// their rules. The rows come from the scan's own adder and are read back as the pages read them.
TEST_F(RecordHealTest, AnAutorunTargetIsTakenOnlyFromItsOwnDriveAndOutsideTheSystemsFolders) {
    test::SimulatedDrive& stick = test::RemovableStick();
    stick.Clear();
    char windowsFolder[MAX_PATH] = {};
    GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    const std::string inWindows = std::string(windowsFolder) + "\\tollivar-victim.exe";
    const std::string installFolder = kRoot + "\\install\\";
    const std::string inInstall = installFolder + "victim.exe";
    const std::string elsewhere = kRoot + "\\victim.exe";
    const std::string onStick = stick.Path("run.exe");

    const struct {
        std::string target;
        std::string namedBy; // the drive whose autorun.inf named it
        bool taken;
    } cases[] = {
        {onStick, "E:\\", true},
        {elsewhere, "E:\\", false},   // "open=C:\\..." on a stick
        {inWindows, "C:\\", false},   // a fixed drive's autorun.inf naming a system file
        {inInstall, "C:\\", false},
        {elsewhere, "C:\\", true},    // on the fixed drive that named it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target + " named by " + c.namedBy);
        for (const std::string& file : {inWindows, inInstall, elsewhere, onStick})
            if (!test::FileExists(file)) {
                ASSERT_TRUE(WriteTextFile(file, file));
            }
        SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
        counted_ = 0;
        AutorunFinding finding;
        finding.infPath = AutorunInfPath(c.namedBy);
        finding.targetPath = c.target;
        finding.targetName = c.target.substr(c.target.rfind('\\') + 1);
        for (const ScanRow& row : AutorunScanRows(finding, "")) AddScanRow(list_, row);
        const std::vector<HealRecord> records = ReadHealRecords(list_, DetectionList::Scan);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1].autorunRoot, c.namedBy);

        ThreatRemoval removal = Removal();
        removal.installFolder = installFolder;
        const HealTally tally = Heal(records, removal);
        EXPECT_EQ(test::FileExists(c.target), !c.taken);
        EXPECT_EQ(tally.notHealed, c.taken ? 0 : 1) << "a target left in place is reported";
        EXPECT_EQ(counted_, c.taken ? 1 : 0) << "the autorun file is missing, so only the target can count";
    }

    // The same file as a plain row (found by the definitions) keeps its rules: it is taken.
    EXPECT_EQ(Heal({File(inInstall)}, Removal()).filesRemoved, 1);
    EXPECT_FALSE(test::FileExists(inInstall));
    DeleteFileA(inWindows.c_str());
    stick.Pull();
}

TEST_F(RecordHealTest, TheShieldListTakesTheStickProgramButNotWhatTheStickNamesElsewhere) {
    test::SimulatedDrive& stick = test::RemovableStick();
    stick.Clear();
    const std::string elsewhere = kRoot + "\\victim.exe";
    ASSERT_TRUE(WriteTextFile(elsewhere, "victim"));
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=x\r\n"));
    ASSERT_TRUE(stick.Write("run.exe", "run"));
    AutorunFinding outside{"E:\\autorun.inf", elsewhere, "victim.exe"};
    AutorunFinding inside{"E:\\autorun.inf", "E:\\run.exe", "run.exe"};
    // Two passes over one drive list it once: the first finding counts.
    ASSERT_TRUE(AddShieldDetection(list_, outside));
    ASSERT_FALSE(AddShieldDetection(list_, inside));
    HealTally tally = Heal(ReadHealRecords(list_, DetectionList::Shield), Removal());
    EXPECT_EQ(tally.filesRemoved, 1);
    EXPECT_EQ(tally.notHealed, 1);
    EXPECT_EQ(ReadTextFile(elsewhere), "victim");
    EXPECT_FALSE(test::FileExists("E:\\autorun.inf"));

    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    ASSERT_TRUE(stick.Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    ASSERT_TRUE(AddShieldDetection(list_, inside));
    tally = Heal(ReadHealRecords(list_, DetectionList::Shield), Removal());
    EXPECT_EQ(tally.filesRemoved, 2);
    EXPECT_EQ(tally.notHealed, 0);
    EXPECT_FALSE(test::FileExists("E:\\run.exe"));
    stick.Pull();
}

} // namespace
} // namespace tollivar
