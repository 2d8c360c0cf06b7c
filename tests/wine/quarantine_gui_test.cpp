// The Quarantine manager on the real program: what it lists of a quarantine folder, and what
// deleting and restoring to the desktop really do and say.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <winioctl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "gui_session_win.h"
#include "heal/quarantine_record.h"
#include "heal/sha256.h"

namespace tollivar::test {
namespace {

constexpr char kCaption[] = "Quarantine Threats";
constexpr int kList = 1146;
constexpr int kDelete = 1147;
constexpr int kRestore = 1148;
constexpr int kRestoreOrigin = 1160;
constexpr int kHealShieldSelected = 4107;
constexpr char kThreat[] = "autorun.inf.5841203qr";
constexpr char kThreatContent[] = "[autorun]\r\nopen=run.exe\r\n";
constexpr char kBig[] = "big.exe.-1234qr";
constexpr unsigned long long kBigSize = 3000000000ull;

std::string DesktopFolder() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, TRUE)) return {};
    return std::string(path) + "\\";
}

// A file of this size that takes no disk space.
bool MakeSparseFile(const std::string& path, unsigned long long size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr); // best effort
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

// The file's creation time in local time as day/month/year, two blanks, "at" and the time.
std::string LocalCreationText(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "<no file>";
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&data.ftCreationTime, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    char text[64] = {};
    std::snprintf(text, sizeof text, "%02u/%02u/%04u  at %02u:%02u:%02u", local.wDay, local.wMonth, local.wYear,
                  local.wHour, local.wMinute, local.wSecond);
    return text;
}

class QuarantineManagerTest : public GuiSession {
  protected:
    void SetUp() override {
        GuiSession::SetUp();
        desktop_ = DesktopFolder();
        ASSERT_FALSE(desktop_.empty());
        DeleteFileA(DesktopFile().c_str());
        quarantine_ = folder_.File("quarantine\\");
        ASSERT_TRUE(MakeFolders(quarantine_));
        ASSERT_TRUE(WriteTextFile(quarantine_ + kThreat, kThreatContent));
    }
    void TearDown() override {
        GuiSession::TearDown();
        DeleteFileA(DesktopFile().c_str());
    }

    std::string DesktopFile() const { return desktop_ + "autorun.inf"; }
    std::string Threat() const { return quarantine_ + kThreat; }

    HWND Open() {
        Start();
        ClickButton(main_, 1109);
        HWND dialog = WaitForDialog(kCaption);
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            EXPECT_TRUE(WaitUntil([&] { return Control(dialog, kList) != nullptr; }, 3000));
        }
        return dialog;
    }

    // Rows by their first column.
    static std::map<std::string, ListRow> RowsByName(HWND list) {
        std::map<std::string, ListRow> rows;
        for (const ListRow& row : ReadListView(list)) rows[row.columns.at(0)] = row;
        return rows;
    }
    static int RowOf(HWND list, const std::string& name) {
        const auto rows = ReadListView(list);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].columns.at(0) == name) return static_cast<int>(i);
        return -1;
    }
    static bool ButtonsEnabled(HWND dialog) {
        return IsWindowEnabled(Control(dialog, kDelete)) && IsWindowEnabled(Control(dialog, kRestore)) &&
               IsWindowEnabled(Control(dialog, kRestoreOrigin));
    }
    static bool ButtonsGreyed(HWND dialog) {
        return !IsWindowEnabled(Control(dialog, kDelete)) && !IsWindowEnabled(Control(dialog, kRestore)) &&
               !IsWindowEnabled(Control(dialog, kRestoreOrigin));
    }

    std::string desktop_;
    std::string quarantine_;
};

TEST_F(QuarantineManagerTest, ListsNameSuffixWholeSizeAndCaptureTime) {
    ASSERT_TRUE(MakeSparseFile(quarantine_ + kBig, kBigSize));
    ASSERT_TRUE(WriteTextFile(quarantine_ + "nodot", "12345"));
    ASSERT_TRUE(MakeFolders(quarantine_ + "sub.folder"));

    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(ControlText(dialog, 1143), "SECURITY WARNING !");
    EXPECT_NE(SendMessageA(Control(dialog, 1145), STM_GETICON, 0, 0), 0);
    EXPECT_EQ(ControlText(dialog, kDelete), "Delete Selected");
    EXPECT_EQ(ControlText(dialog, kRestore), "Restore to Desktop");
    EXPECT_EQ(ControlText(dialog, kRestoreOrigin), "Restore");

    HWND list = Control(dialog, kList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ClassOf(list), "SysListView32");
    EXPECT_EQ(ListColumnTitles(list), (std::vector<std::string>{"Threat Filename", "#", "Size (bytes)", "Capture Time",
                                                                "Origin", "Threat"}));
    EXPECT_EQ(ListColumnWidths(list), (std::vector<int>{130, 30, 80, 150, 200, 120}));
    EXPECT_NE(GetWindowLongA(list, GWL_STYLE) & LVS_SINGLESEL, 0);

    const auto rows = RowsByName(list);
    ASSERT_EQ(rows.size(), 4u) << "the folder's own . and .. are not listed";
    const struct {
        const char* name;
        const char* suffix;
        const char* size;
    } expected[] = {
        {"autorun.inf", ".5841203qr", "25"},
        {"big.exe", ".-1234qr", "3000000000"},
        {"nodot", "", "5"},
        {"sub", ".folder", "0"},
    };
    const std::regex timeFormat(R"(\d\d/\d\d/\d{4}  at \d\d:\d\d:\d\d)");
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        ASSERT_EQ(rows.count(e.name), 1u);
        const ListRow& row = rows.at(e.name);
        ASSERT_EQ(row.columns.size(), 6u);
        EXPECT_EQ(row.columns[1], e.suffix);
        EXPECT_EQ(row.columns[2], e.size);
        EXPECT_TRUE(std::regex_match(row.columns[3], timeFormat)) << row.columns[3];
    }
    EXPECT_EQ(rows.at("autorun.inf").columns[3], LocalCreationText(quarantine_ + kThreat));
    EXPECT_EQ(rows.at("autorun.inf").columns[4], "") << "no record: no origin";

    // Nothing selected: both buttons greyed; a selected row makes them usable.
    EXPECT_TRUE(ButtonsGreyed(dialog));
    ASSERT_TRUE(SelectListRow(list, RowOf(list, "big.exe")));
    EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }, 3000));
    SaveScreenshot("quarantine-manager", dialog);

    // Escape does not close it; the close box does.
    PressKey(list, VK_ESCAPE);
    Sleep(400);
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressCloseBox(dialog);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(FileExists(quarantine_ + kBig)) << "looking changes nothing";
}

TEST_F(QuarantineManagerTest, NoQuarantineFolderGivesAnEmptyList) {
    DeleteTree(folder_.File("quarantine"));
    ASSERT_FALSE(FileExists(folder_.File("quarantine")));
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(ReadListView(Control(dialog, kList)).empty());
    EXPECT_TRUE(ButtonsGreyed(dialog));
    EXPECT_FALSE(FindTopWindow(Pid(), "#32770", "[ WARNiNG ]", true));
}

// Delete and restore on the row of autorun.inf: what the user is asked, told, and what happened.
enum class Setup { None, DesktopTaken, InUse, AlreadyGone };

struct ActionCase {
    const char* name;
    int button;
    Setup setup;
    int answer;
    const char* reportCaption; // nullptr: no report after No
    const char* reportText;    // the whole text, or a part of it for refusals
    bool threatStays;          // the quarantined file is still there afterwards
    bool rowStays;             // and still listed after the refresh
    const char* desktopContent; // nullptr: no autorun.inf on the desktop
};

constexpr char kDeleteQuestion[] = "Selected Malware Infection will be destroyed for ever. Continue ?";
constexpr char kRestoreQuestion[] = "Selected Malware Infection will be restored to the desktop. Continue ?";
constexpr char kDesktopOwn[] = "the user's own file";

const ActionCase kActions[] = {
    {"DeleteYes", kDelete, Setup::None, IDYES, "[ DONE ]", "Selected Malware successfully deleted.", false, false,
     nullptr},
    {"DeleteNo", kDelete, Setup::None, IDNO, nullptr, nullptr, true, true, nullptr},
    {"DeleteInUse", kDelete, Setup::InUse, IDYES, "[ WARNiNG ]", "could not be deleted", true, true, nullptr},
    {"DeleteAlreadyGone", kDelete, Setup::AlreadyGone, IDYES, "[ WARNiNG ]", "no longer in the quarantine folder",
     false, false, nullptr},
    {"RestoreYes", kRestore, Setup::None, IDYES, "[ DONE ]", "Selected infection successfully restored to desktop.",
     false, false, kThreatContent},
    {"RestoreNo", kRestore, Setup::None, IDNO, nullptr, nullptr, true, true, nullptr},
    {"RestoreOverDesktopFile", kRestore, Setup::DesktopTaken, IDYES, "[ WARNiNG ]",
     "already on the desktop.\n\rIt was not replaced and nothing was restored.", true, true, kDesktopOwn},
    {"RestoreInUse", kRestore, Setup::InUse, IDYES, "[ WARNiNG ]", "could not be restored", true, true, nullptr},
    {"RestoreAlreadyGone", kRestore, Setup::AlreadyGone, IDYES, "[ WARNiNG ]", "no longer in the quarantine folder",
     false, false, nullptr},
};

class QuarantineActionTest : public QuarantineManagerTest, public testing::WithParamInterface<ActionCase> {};

TEST_P(QuarantineActionTest, DoesWhatItSaysAndSaysWhatItDid) {
    const ActionCase& c = GetParam();
    ASSERT_TRUE(WriteTextFile(quarantine_ + "other.exe.77qr", "other"));
    if (c.setup == Setup::DesktopTaken) {
        ASSERT_TRUE(WriteTextFile(DesktopFile(), kDesktopOwn));
    }

    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    HWND list = Control(dialog, kList);
    ASSERT_TRUE(SelectListRow(list, RowOf(list, "autorun.inf")));
    ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }, 3000));

    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.setup == Setup::InUse)
        holder = CreateFileA(Threat().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (c.setup == Setup::AlreadyGone) {
        ASSERT_TRUE(DeleteFileA(Threat().c_str()));
    }

    ClickButton(dialog, c.button);
    const bool deleting = c.button == kDelete;
    auto question = WaitForMessageBox(Pid(), deleting ? "[ WARNiNG ]" : "[ DONE ]");
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, deleting ? kDeleteQuestion : kRestoreQuestion);
    EXPECT_EQ(question->buttons, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_TRUE(question->hasIcon);
    AnswerMessageBox(question->window, c.answer);
    ASSERT_TRUE(Gone(question->window));

    if (c.reportCaption) {
        auto report = WaitForMessageBox(Pid(), c.reportCaption);
        ASSERT_TRUE(report);
        EXPECT_NE(report->text.find(c.reportText), std::string::npos) << report->text;
        EXPECT_EQ(report->buttons, (std::vector<std::string>{"OK"}));
        AnswerMessageBox(report->window, IDOK);
        ASSERT_TRUE(Gone(report->window));
    } else {
        Sleep(500);
        EXPECT_FALSE(FindTopWindow(Pid(), "#32770", "[ DONE ]", true));
        EXPECT_FALSE(FindTopWindow(Pid(), "#32770", "[ WARNiNG ]", true));
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

    EXPECT_EQ(FileExists(Threat()), c.threatStays);
    if (c.threatStays) {
        EXPECT_EQ(ReadTextFile(Threat()), kThreatContent);
    }
    if (c.desktopContent) {
        EXPECT_EQ(ReadTextFile(DesktopFile()), c.desktopContent);
    } else {
        EXPECT_FALSE(FileExists(DesktopFile()));
    }
    EXPECT_TRUE(FileExists(quarantine_ + "other.exe.77qr")) << "only the selected file is touched";

    // The list shows the folder as it now is.
    EXPECT_TRUE(WaitUntil([&] { return (RowOf(list, "autorun.inf") >= 0) == c.rowStays; }, 3000));
    EXPECT_GE(RowOf(list, "other.exe"), 0);
    if (c.answer == IDYES) {
        EXPECT_TRUE(ButtonsGreyed(dialog)) << "the refreshed list has no selection";
    }
    if (std::string(c.name) == "RestoreOverDesktopFile") SaveScreenshot("quarantine-manager-after-refusal", dialog);
}

INSTANTIATE_TEST_SUITE_P(Actions, QuarantineActionTest, testing::ValuesIn(kActions),
                         [](const testing::TestParamInfo<ActionCase>& info) { return info.param.name; });

// ---- files with a record: origin, threat and date; Restore to the original place ---------------

constexpr char kRecorded[] = "run.exe.4242qr";
constexpr char kRecordedContent[] = "MZ stand-in payload";
constexpr char kOrigin[] = "E:\\run.exe";

// The record a heal writes, made here from the content the test chose.
std::string RecordText(const std::string& original, const std::string& content, const std::string& threat) {
    QuarantineRecord record;
    record.originalPath = original;
    record.threat = threat;
    record.utc = {2026, 12, 10, 9, 56, 50};
    record.local = {2026, 12, 10, 10, 56, 50};
    record.size = content.size();
    record.sha256 = Sha256HexOf(content);
    return FormatQuarantineRecord(record).value_or("");
}

class RecordedQuarantineTest : public QuarantineManagerTest {
  protected:
    void SetUp() override {
        QuarantineManagerTest::SetUp();
        ASSERT_TRUE(WriteTextFile(Recorded(), kRecordedContent));
        ASSERT_TRUE(
            WriteTextFile(Recorded() + ".qrec", RecordText(kOrigin, kRecordedContent, "Win32.Autoit.CC")));
        RemovableStick().Clear();
    }
    void TearDown() override {
        QuarantineManagerTest::TearDown();
        RemovableStick().Pull();
    }
    std::string Recorded() const { return quarantine_ + kRecorded; }

    // Clicks a button on the named row; answers its question when one comes; the report's text.
    std::string Act(HWND dialog, const std::string& row, int button, bool expectQuestion,
                    int answer = IDYES) {
        HWND list = Control(dialog, kList);
        EXPECT_TRUE(SelectListRow(list, RowOf(list, row)));
        EXPECT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }, 3000));
        ClickButton(dialog, button);
        if (expectQuestion) {
            auto question = WaitForMessageBox(Pid(), "[ DONE ]");
            EXPECT_TRUE(question);
            if (!question) return "<no question>";
            const std::string asked = question->text;
            AnswerMessageBox(question->window, answer);
            EXPECT_TRUE(Gone(question->window));
            if (answer != IDYES) return "asked: " + asked;
        }
        for (const char* caption : {"[ DONE ]", "[ WARNiNG ]"}) {
            if (auto report = WaitForMessageBox(Pid(), caption, 3000)) {
                const std::string text = std::string(caption) + " " + report->text;
                AnswerMessageBox(report->window, IDOK);
                EXPECT_TRUE(Gone(report->window));
                return text;
            }
        }
        return "<no report>";
    }
};

TEST_F(RecordedQuarantineTest, ShowsOriginThreatAndRecordedTimeAndHidesRecordsAndOrphans) {
    ASSERT_TRUE(WriteTextFile(quarantine_ + "gone.exe.9qr.qrec", RecordText("E:\\gone.exe", "x", "t")));
    ASSERT_TRUE(WriteTextFile(quarantine_ + "half.exe.8qr.qrec.tmp", "[tollivar-quarantine-record]\r\n"));
    ASSERT_TRUE(WriteTextFile(quarantine_ + "torn.exe.7qr", "t"));
    ASSERT_TRUE(
        WriteTextFile(quarantine_ + "torn.exe.7qr.qrec", "[tollivar-quarantine-record]\r\nversion=1\r\n"));
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const auto rows = RowsByName(Control(dialog, kList));
    EXPECT_EQ(rows.size(), 3u) << "autorun.inf, run.exe and torn.exe; no record is a row";
    ASSERT_EQ(rows.count("run.exe"), 1u);
    EXPECT_EQ(rows.at("run.exe").columns,
              (std::vector<std::string>{"run.exe", ".4242qr", "19", "10/12/2026  at 10:56:50", kOrigin,
                                        "Win32.Autoit.CC"}));
    ASSERT_EQ(rows.count("torn.exe"), 1u);
    EXPECT_EQ(rows.at("torn.exe").columns[4], "") << "a record that does not parse is no record";
    // Records whose file is not there, and records never finished, are removed; the others stay.
    EXPECT_FALSE(FileExists(quarantine_ + "gone.exe.9qr.qrec"));
    EXPECT_FALSE(FileExists(quarantine_ + "half.exe.8qr.qrec.tmp"));
    EXPECT_TRUE(FileExists(Recorded() + ".qrec"));
    EXPECT_TRUE(FileExists(quarantine_ + "torn.exe.7qr.qrec"));
}

enum class Origin { Free, Taken, Changed, StickPulled, FolderGone, AnsweredNo };

struct RestoreCase {
    const char* name;
    Origin setup;
    const char* report; // a part of the report, with its caption
    bool restored;
};

const RestoreCase kRestores[] = {
    {"PutsItBack", Origin::Free, "[ DONE ] The file was restored to E:\\run.exe.", true},
    {"NeverReplacesAFile", Origin::Taken,
     "[ WARNiNG ] A file already exists at E:\\run.exe; nothing was replaced", false},
    {"RefusesChangedContent", Origin::Changed, "[ WARNiNG ] The file was changed in quarantine", false},
    {"SaysTheDriveIsMissing", Origin::StickPulled, "[ WARNiNG ] Drive E: is not present", false},
    {"SaysTheFolderIsMissing", Origin::FolderGone, "[ WARNiNG ] The folder E:\\tools no longer exists",
     false},
    {"AnsweredNo", Origin::AnsweredNo, "asked: Selected Malware Infection will be restored to ", false},
};

class RestoreToOriginTest : public RecordedQuarantineTest, public testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreToOriginTest, ChecksThenRestoresOrSaysWhy) {
    const RestoreCase& c = GetParam();
    std::string origin = kOrigin;
    if (c.setup == Origin::FolderGone) {
        origin = "E:\\tools\\run.exe";
        ASSERT_TRUE(
            WriteTextFile(Recorded() + ".qrec", RecordText(origin, kRecordedContent, "Win32.Autoit.CC")));
    }
    if (c.setup == Origin::Taken) {
        ASSERT_TRUE(RemovableStick().Write("run.exe", "the user's own run.exe"));
    }
    if (c.setup == Origin::Changed) {
        ASSERT_TRUE(WriteTextFile(Recorded(), "MZ stand-in payloaX"));
    }
    if (c.setup == Origin::StickPulled) RemovableStick().Pull();
    const std::string quarantined = ReadTextFile(Recorded());

    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const std::string report =
        Act(dialog, "run.exe", kRestoreOrigin, true, c.setup == Origin::AnsweredNo ? IDNO : IDYES);
    EXPECT_EQ(report.rfind(c.report, 0), 0u) << report;
    if (c.setup == Origin::AnsweredNo) {
        EXPECT_EQ(report, std::string("asked: Selected Malware Infection will be restored to ") + kOrigin +
                              ". Continue ?");
    }

    HWND list = Control(dialog, kList);
    if (c.restored) {
        EXPECT_EQ(ReadTextFile(origin), kRecordedContent) << "the same content, at its place";
        EXPECT_FALSE(FileExists(Recorded()));
        EXPECT_FALSE(FileExists(Recorded() + ".qrec")) << "the record goes with the file";
        EXPECT_TRUE(WaitUntil([&] { return RowOf(list, "run.exe") < 0; }, 3000));
    } else {
        EXPECT_EQ(ReadTextFile(Recorded()), quarantined) << "the file stays in quarantine";
        EXPECT_TRUE(FileExists(Recorded() + ".qrec"));
        EXPECT_GE(RowOf(list, "run.exe"), 0);
        if (c.setup == Origin::Taken) {
            EXPECT_EQ(ReadTextFile(kOrigin), "the user's own run.exe");
        } else if (c.setup != Origin::StickPulled) {
            EXPECT_FALSE(FileExists(origin));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Restores, RestoreToOriginTest, testing::ValuesIn(kRestores),
                         [](const testing::TestParamInfo<RestoreCase>& info) { return info.param.name; });

TEST_F(RecordedQuarantineTest, WithoutARecordRestoreSaysSoAndRestoreToDesktopStillWorks) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const std::string report = Act(dialog, "autorun.inf", kRestoreOrigin, false);
    EXPECT_EQ(report.rfind("[ WARNiNG ] There is no record of where this file came from", 0), 0u) << report;
    EXPECT_TRUE(FileExists(Threat()));
    EXPECT_EQ(Act(dialog, "autorun.inf", kRestore, true),
              "[ DONE ] Selected infection successfully restored to desktop.");
    EXPECT_EQ(ReadTextFile(DesktopFile()), kThreatContent);
}

TEST_F(RecordedQuarantineTest, DeleteAndRestoreToDesktopTakeTheRecordAlong) {
    ASSERT_TRUE(WriteTextFile(quarantine_ + "second.exe.5qr", "2"));
    ASSERT_TRUE(WriteTextFile(quarantine_ + "second.exe.5qr.qrec", RecordText("E:\\second.exe", "2", "t")));
    DeleteFileA((desktop_ + "run.exe").c_str());
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    HWND list = Control(dialog, kList);
    ASSERT_TRUE(SelectListRow(list, RowOf(list, "second.exe")));
    ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }, 3000));
    ClickButton(dialog, kDelete);
    auto question = WaitForMessageBox(Pid(), "[ WARNiNG ]");
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    ASSERT_TRUE(Gone(question->window));
    auto done = WaitForMessageBox(Pid(), "[ DONE ]");
    ASSERT_TRUE(done);
    AnswerMessageBox(done->window, IDOK);
    EXPECT_FALSE(FileExists(quarantine_ + "second.exe.5qr"));
    EXPECT_FALSE(FileExists(quarantine_ + "second.exe.5qr.qrec"));

    EXPECT_EQ(Act(dialog, "run.exe", kRestore, true),
              "[ DONE ] Selected infection successfully restored to desktop.");
    EXPECT_EQ(ReadTextFile(desktop_ + "run.exe"), kRecordedContent);
    EXPECT_FALSE(FileExists(Recorded() + ".qrec"));
    DeleteFileA((desktop_ + "run.exe").c_str());
}

// ---- the event log, through the real program: Wine prints each reported event's text ------------

TEST_F(QuarantineManagerTest, DetectionHealAndRestoreAreWrittenToTheEventLog) {
    const char* copy = std::getenv("TOLLIVAR_WINE_STDERR");
    ASSERT_TRUE(copy) << "run through ctest, which keeps a copy of standard error";
    const std::string output = DosPathOfUnix(copy);
    const std::size_t start = ReadTextFile(output).size(); // this test's part of the copy
    RemovableStick().Clear();
    ASSERT_TRUE(RemovableStick().Write("run.exe", "MZ stand-in payload"));
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    Start(true, "+eventlog");
    HWND shieldList = Panel(kShieldList);
    ASSERT_TRUE(WaitUntil([&] { return ReadListView(shieldList).size() == 2; }, 5000));
    PostCommand(main_, kHealShieldSelected);
    auto question = WaitForMessageBox(Pid(), "[ WARNiNG ]");
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    ASSERT_TRUE(
        WaitUntil([&] { return !FileExists("E:\\run.exe") && !FileExists("E:\\autorun.inf"); }, 5000));

    ClickButton(main_, 1109);
    HWND dialog = WaitForDialog(kCaption);
    ASSERT_NE(dialog, nullptr);
    HWND list = Control(dialog, kList);
    ASSERT_TRUE(WaitUntil([&] { return RowOf(list, "run.exe") >= 0; }, 3000));
    ASSERT_TRUE(SelectListRow(list, RowOf(list, "run.exe")));
    ASSERT_TRUE(WaitUntil([&] { return ButtonsEnabled(dialog); }, 3000));
    ClickButton(dialog, kRestoreOrigin);
    auto ask = WaitForMessageBox(Pid(), "[ DONE ]");
    ASSERT_TRUE(ask);
    AnswerMessageBox(ask->window, IDYES);
    ASSERT_TRUE(Gone(ask->window));
    auto done = WaitForMessageBox(Pid(), "[ DONE ]");
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text, "The file was restored to E:\\run.exe.");
    AnswerMessageBox(done->window, IDOK);
    EXPECT_EQ(ReadTextFile("E:\\run.exe"), "MZ stand-in payload");
    PressCloseBox(dialog);
    app_->Kill();
    RemovableStick().Pull();

    Sleep(300); // the copy is written by another process
    const std::string all = ReadTextFile(output);
    const std::string log = all.size() > start ? all.substr(start) : std::string();
    SCOPED_TRACE(log);
    // Each event's id, then its text with the paths in it, as Wine prints them (escaped).
    for (const char* expected :
         {"0x000003e8", "The shield found a threat on a drive.\\r\\nFile: E:\\\\autorun.inf",
          "File: E:\\\\run.exe\\r\\nInfection: possible malware.", "0x000007d0",
          "A threat file was moved to quarantine.\\r\\nFile: E:\\\\run.exe\\r\\nThreat: suspicious.", "0x00000bb8",
          "Restored to: E:\\\\run.exe"}) {
        EXPECT_NE(log.find(expected), std::string::npos) << expected;
    }
}


} // namespace
} // namespace tollivar::test
