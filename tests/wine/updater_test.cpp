// KVRUpdate.exe from outside: it replaces def.uas only with a newer readable file, keeps a backup,
// never touches the installed file otherwise, and the program's Update command leads through it to a
// restarted Tollivar that shows the new version.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "bench_win.h"
#include "ui_driver_win.h"
#include "win/handles_win.h"

namespace tollivar::test {
namespace {

constexpr DWORD kMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr char kInstalled[] = "[INFO]\r\nVersion=2026.12.1\r\n\r\n[1]\r\nTh=Worm.Old\r\nP1=old-worm.exe\r\n";
constexpr char kCaption[] = "Tollivar Update";

std::string Definitions(const std::string& version) {
    return "[INFO]\r\nVersion=" + version + "\r\n[1]\r\nTh=Worm.New\r\nP1=new-worm.exe\r\nF1=%TEMP%\\new-worm.exe\r\n";
}

// Starts the update program with the user's limited token, as an administrator's programs run before
// they are elevated; the process handle and its id.
std::pair<UniqueHandle, DWORD> StartUnelevated(const std::string& exe, const std::string& arguments) {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) return {};
    const UniqueHandle token(own);
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenLinkedToken, &linked, sizeof linked, &size)) return {};
    const UniqueHandle limited(linked.LinkedToken);
    HANDLE primary = nullptr;
    if (!DuplicateTokenEx(limited.get(), MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary,
                          &primary))
        return {};
    const UniqueHandle primaryToken(primary);
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserA(primaryToken.get(), nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &started))
        return {};
    CloseHandle(started.hThread);
    return {UniqueHandle(started.hProcess), started.dwProcessId};
}

std::optional<bool> Elevated(DWORD pid) {
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    HANDLE opened = nullptr;
    if (!process || !OpenProcessToken(process.get(), TOKEN_QUERY, &opened)) return std::nullopt;
    const UniqueHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return std::nullopt;
    return elevation.TokenIsElevated != 0;
}

std::optional<DWORD> ParentOf(DWORD pid) {
    const Owned<HANDLE, FileHandleTraits> snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry))
        if (entry.th32ProcessID == pid) return entry.th32ParentProcessID;
    return std::nullopt;
}

class UpdaterTest : public testing::Test {
  protected:
    void SetUp() override {
        const char* updater = std::getenv("TOLLIVAR_UPDATER");
        ASSERT_TRUE(updater) << "TOLLIVAR_UPDATER is not set: run through ctest";
        ASSERT_TRUE(CopyFileA(DosPathOfUnix(updater).c_str(), folder_.File("KVRUpdate.exe").c_str(), FALSE));
        WriteTextFile(folder_.File("settings.ini"), "[TRAY]\r\n1=1\r\n");
        ASSERT_TRUE(WriteTextFile(folder_.File("def.uas"), kInstalled));
        SetFileAttributesA(folder_.File("def.uas").c_str(), kMarks); // as the program leaves it
        RemovableStick().Clear();
    }
    void TearDown() override {
        for (HWND window : StrayWindows()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        RemovableStick().Pull();
    }

    // Windows of the programs this test started indirectly (the updater, a restarted Tollivar).
    static std::vector<HWND> StrayWindows() {
        std::vector<HWND> found;
        for (const char* caption : {"Tollivar", kCaption, "Choose the new Tollivar definitions file (def.uas)"})
            if (HWND w = FindWindowA("#32770", caption)) found.push_back(w);
        return found;
    }

    std::optional<DWORD> RunSilently(const std::string& file) {
        RunningApp run = RunningApp::Start(folder_.File("KVRUpdate.exe"), " /s \"" + file + "\"");
        if (!run.Started()) return std::nullopt;
        return run.WaitForExit(20000);
    }

    void ExpectInstalledUntouched() {
        SetFileAttributesA(folder_.File("def.uas").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadTextFile(folder_.File("def.uas")), kInstalled);
        SetFileAttributesA(folder_.File("def.uas").c_str(), kMarks);
        EXPECT_FALSE(FileExists(folder_.File("def.uas.bak")));
        EXPECT_FALSE(FileExists(folder_.File("def.uas.new")));
    }

    InstallFolder folder_{"Tollivar Update Test"};
};

TEST_F(UpdaterTest, ReplacesWithANewerFileAndKeepsABackup) {
    ASSERT_TRUE(RemovableStick().Write("def.uas", Definitions("2026.12.10")));
    const auto code = RunSilently(RemovableStick().Path("def.uas"));
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(Attributes(folder_.File("def.uas")) & kMarks, kMarks);
    EXPECT_EQ(ReadTextFile(folder_.File("def.uas")), Definitions("2026.12.10"));
    EXPECT_EQ(ReadTextFile(folder_.File("def.uas.bak")), kInstalled);
    EXPECT_FALSE(FileExists(folder_.File("def.uas.new")));
    EXPECT_EQ(ReadTextFile(RemovableStick().Path("def.uas")), Definitions("2026.12.10")) << "the source changed";
}

TEST_F(UpdaterTest, RefusesWithoutTouchingTheInstalledFile) {
    const struct {
        const char* name;
        std::optional<std::string> content; // nothing: the file does not exist
        DWORD code;
    } cases[] = {
        {"older", Definitions("2026.9.30"), 2},
        {"same version", Definitions("2026.12.1"), 2},
        {"same written longer", Definitions("2026.12.1.0"), 2},
        {"not text", std::string("MZ\x90\0\x03\0\0\0", 8) + Definitions("2030"), 3},
        {"no version", "[1]\r\nTh=A\r\n", 3},
        {"no threats", "[INFO]\r\nVersion=2030\r\n", 3},
        {"a system process", "[INFO]\r\nVersion=2030\r\n[1]\r\nTh=A\r\nP1=svchost.exe\r\n", 3},
        {"empty", std::string(), 3},
        {"missing", std::nullopt, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteTree(RemovableStick().Path("new def.uas"));
        if (c.content) {
            ASSERT_TRUE(RemovableStick().Write("new def.uas", *c.content));
        }
        const auto code = RunSilently(RemovableStick().Path("new def.uas"));
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, c.code);
        ExpectInstalledUntouched();
        EXPECT_EQ(Attributes(folder_.File("def.uas")) & kMarks, kMarks);
    }
}

TEST_F(UpdaterTest, TellsTheUserWhyAFileIsRefused) {
    ASSERT_TRUE(RemovableStick().Write("def.uas", Definitions("2025.1")));
    RunningApp run = RunningApp::Start(folder_.File("KVRUpdate.exe"), " \"" + RemovableStick().Path("def.uas") + "\"");
    ASSERT_TRUE(run.Started());
    auto box = WaitForMessageBox(run.Pid(), kCaption);
    ASSERT_TRUE(box);
    EXPECT_NE(box->text.find("2025.1"), std::string::npos) << box->text;
    EXPECT_NE(box->text.find("older than the installed version 2026.12.1"), std::string::npos) << box->text;
    EXPECT_NE(box->text.find("have not been changed"), std::string::npos) << box->text;
    AnswerMessageBox(box->window, IDOK);
    const auto code = run.WaitForExit();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 2u);
    ExpectInstalledUntouched();
}

// The whole way a user goes: Update in Tollivar, the new file picked in the Open dialog, the
// confirmation, and Tollivar started again showing the new version.
TEST_F(UpdaterTest, TheUpdateCommandLeadsToTollivarWithTheNewVersion) {
    ASSERT_TRUE(RemovableStick().Write("def.uas", Definitions("2027.1")));
    RunningApp app = RunningApp::Start(folder_.ExePath());
    HWND main = app.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ControlText(Control(Control(main, 2000), 2001), 4023), "2026.12.1");

    ClickButton(main, 1018);
    auto question = WaitForMessageBox(app.Pid(), "Update Tollivar");
    ASSERT_TRUE(question);
    AnswerMessageBox(question->window, IDYES);
    ASSERT_TRUE(app.WaitForExit());

    // The updater asks for the file: the name typed into the Open dialog, then Open.
    HWND open = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        open = FindWindowA("#32770", "Choose the new Tollivar definitions file (def.uas)");
        return open && IsWindowVisible(open);
    }, 15000)) << "the update program did not start";
    DWORD updaterPid = 0;
    GetWindowThreadProcessId(open, &updaterPid);
    // The dialog's one edit field is the file name (inside its combo box).
    HWND nameEdit = nullptr;
    EnumChildWindows(open, [](HWND child, LPARAM found) -> BOOL {
        if (ClassOf(child) != "Edit" || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&nameEdit));
    ASSERT_NE(nameEdit, nullptr);
    SendMessageA(nameEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(RemovableStick().Path("def.uas").c_str()));
    PostMessageA(open, WM_COMMAND, IDOK, 0);

    auto confirm = WaitForMessageBox(updaterPid, kCaption);
    ASSERT_TRUE(confirm);
    EXPECT_NE(confirm->text.find("version 2026.12.1"), std::string::npos) << confirm->text;
    EXPECT_NE(confirm->text.find("version 2027.1 (1 threat)"), std::string::npos) << confirm->text;
    AnswerMessageBox(confirm->window, IDYES);

    std::optional<MessageBoxView> restart;
    ASSERT_TRUE(WaitUntil([&] {
        restart = WaitForMessageBox(updaterPid, kCaption, 200);
        return restart && restart->window != confirm->window && restart->text.find("Start Tollivar now?") != std::string::npos;
    }));
    EXPECT_EQ(ReadTextFile(folder_.File("def.uas")), Definitions("2027.1"));
    EXPECT_EQ(ReadTextFile(folder_.File("def.uas.bak")), kInstalled);
    AnswerMessageBox(restart->window, IDYES);

    HWND restarted = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        restarted = FindWindowA("#32770", "Tollivar");
        return restarted && IsWindowVisible(restarted);
    }, 15000)) << "Tollivar was not started again";
    HWND panel = Control(Control(restarted, 2000), 2001);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(panel, 4023) == "2027.1"; }, 5000)) << ControlText(panel, 4023);
    SaveScreenshot("updated-main-info", restarted);
}

// After an update Tollivar is started again without the update program's administrator rights. An
// update program started unelevated starts it itself, and that Tollivar is unelevated too; an elevated
// one leaves the start to the desktop's shell, so Tollivar is the shell's child, not the update program's
// (under Wine the shell itself runs elevated, so the rights of that child say nothing here).
TEST_F(UpdaterTest, TollivarStartedAfterAnUpdateHasNoAdministratorRights) {
    for (const bool elevatedUpdater : {false, true}) {
        SCOPED_TRACE(elevatedUpdater ? "elevated update program" : "unelevated update program");
        SetFileAttributesA(folder_.File("def.uas").c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteTextFile(folder_.File("def.uas"), kInstalled));
        DeleteFileA(folder_.File("def.uas.bak").c_str());
        ASSERT_TRUE(RemovableStick().Write("def.uas", Definitions("2027.2")));
        const std::string arguments = "\"" + RemovableStick().Path("def.uas") + "\"";

        std::optional<RunningApp> elevated;
        std::pair<UniqueHandle, DWORD> unelevated;
        DWORD updaterPid = 0;
        if (elevatedUpdater) {
            elevated.emplace(RunningApp::Start(folder_.File("KVRUpdate.exe"), " " + arguments));
            ASSERT_TRUE(elevated->Started());
            updaterPid = elevated->Pid();
            EXPECT_EQ(Elevated(updaterPid), std::optional<bool>(true));
        } else {
            unelevated = StartUnelevated(folder_.File("KVRUpdate.exe"), arguments);
            ASSERT_TRUE(unelevated.first) << GetLastError();
            updaterPid = unelevated.second;
            EXPECT_EQ(Elevated(updaterPid), std::optional<bool>(false));
        }

        auto confirm = WaitForMessageBox(updaterPid, kCaption);
        ASSERT_TRUE(confirm);
        AnswerMessageBox(confirm->window, IDYES);
        std::optional<MessageBoxView> restart;
        ASSERT_TRUE(WaitUntil([&] {
            restart = WaitForMessageBox(updaterPid, kCaption, 200);
            return restart && restart->window != confirm->window &&
                   restart->text.find("Start Tollivar now?") != std::string::npos;
        }));
        AnswerMessageBox(restart->window, IDYES);

        HWND restarted = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] {
                restarted = FindWindowA("#32770", "Tollivar");
                return restarted && IsWindowVisible(restarted);
            },
            15000))
            << "Tollivar was not started again";
        DWORD tollivarPid = 0;
        GetWindowThreadProcessId(restarted, &tollivarPid);
        const auto parent = ParentOf(tollivarPid);
        ASSERT_TRUE(parent);
        if (elevatedUpdater) {
            EXPECT_NE(*parent, updaterPid) << "the elevated update program started Tollivar itself";
        } else {
            EXPECT_EQ(*parent, updaterPid);
            EXPECT_EQ(Elevated(tollivarPid), std::optional<bool>(false));
        }
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, tollivarPid)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

} // namespace
} // namespace tollivar::test
