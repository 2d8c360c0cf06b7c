// The installer as an administrator uses it: a silent install into a folder with a blank in its name,
// Tollivar started from the Start-menu shortcut with the shipped settings, the help file, the helpers
// in bin\, and the silent uninstall that removes the program but keeps the user's quarantine.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <string>

#include "bench_win.h"
#include "program_ids.h"
#include "ui_driver_win.h"

namespace tollivar::test {
namespace {

constexpr char kInstallFolder[] = "C:\\Program Files\\Tollivar Ship Test\\";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tollivar";
constexpr char kShippedVersion[] = "2026.12.1";

std::string EnvDosPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? DosPathOfUnix(value) : std::string();
}

std::string Installed(const std::string& relative) { return kInstallFolder + relative; }
std::string Shipped(const std::string& relative) { return EnvDosPath("TOLLIVAR_DATA") + "\\" + relative; }

std::optional<std::string> RegistryText(HKEY root, const char* key, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
}

constexpr char kEventSourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tollivar";

std::optional<DWORD> RegistryNumber(HKEY root, const char* key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::string ProgramsFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, path);
    return path;
}

// The program a shortcut starts, as Explorer reads it.
std::string ShortcutTarget(const std::string& link) {
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ))) {
                char path[MAX_PATH] = {};
                if (SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

// Starts a program as Explorer does (the shell raises the rights the installer asks for), waits for
// it and gives its exit code.
std::optional<DWORD> RunAndWait(const std::string& exe, const std::string& arguments, DWORD timeoutMs = 60000) {
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    run.lpVerb = "open";
    run.lpFile = exe.c_str();
    run.lpParameters = arguments.c_str();
    run.lpDirectory = "C:\\";
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&run) || !run.hProcess) return std::nullopt;
    std::optional<DWORD> code;
    DWORD exitCode = 0;
    if (WaitForSingleObject(run.hProcess, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(run.hProcess, &exitCode))
        code = exitCode;
    else
        TerminateProcess(run.hProcess, 1);
    CloseHandle(run.hProcess);
    return code;
}

// The folder without its closing backslash, as Windows installers name it.
std::string InstallFolderName() { return std::string(kInstallFolder).substr(0, sizeof kInstallFolder - 2); }

// A silent install into the test folder, run from C: as a downloaded copy would be (the build tree is
// no drive of Wine's); the installer's exit code.
std::optional<DWORD> InstallSilently() {
    const std::string setup = "C:\\Tollivar Tests\\tollivar-setup.exe";
    MakeFolders("C:\\Tollivar Tests");
    if (!CopyFileA(EnvDosPath("TOLLIVAR_SETUP").c_str(), setup.c_str(), FALSE)) return std::nullopt;
    return RunAndWait(setup, std::string("/S /D=") + kInstallFolder);
}

class InstallTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(EnvDosPath("TOLLIVAR_SETUP").empty()) << "TOLLIVAR_SETUP is not set: run through ctest";
        RemovableStick().Pull();
        RemoveEarlierInstall();
        if (!InstallFirst()) return;
        const auto code = InstallSilently();
        ASSERT_TRUE(code) << "the installer did not end";
        ASSERT_EQ(*code, 0u);
    }
    void TearDown() override {
        if (app_ && app_->Running()) app_->Kill();
        RemoveEarlierInstall();
    }
    virtual bool InstallFirst() const { return true; }

    static void RemoveEarlierInstall() {
        DeleteTree(std::string(kInstallFolder).substr(0, sizeof kInstallFolder - 2));
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Tollivar");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEventSourceKey);
        DeleteTree(ProgramsFolder() + "\\Tollivar");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tollivar");
    }

    // The uninstaller as Windows' Apps list starts it, silent; it ends once its copy in the temporary
    // folder has finished, which the disappearance of uninstall.exe shows.
    void UninstallSilently(const std::string& options) {
        const auto command = RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
        ASSERT_TRUE(command);
        ASSERT_EQ(*command, "\"" + Installed("uninstall.exe") + "\"");
        const auto code = RunAndWait(Installed("uninstall.exe"), "/S" + options);
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
        EXPECT_TRUE(WaitUntil([] { return !FileExists(Installed("uninstall.exe")); }, 60000, 200))
            << "the uninstaller did not finish";
    }

    std::optional<RunningApp> app_;
};

TEST_F(InstallTest, SilentInstallLaysOutEveryFile) {
    const char* files[] = {"tollguard.exe",     "KVRUpdate.exe",     "Tollivar Help.chm", "def.uas",
                           "settings.ini",      "bin\\unscript.bat", "bin\\unstart.reg", "uninstall.exe",
                           "install-record.ini"};
    for (const char* file : files) {
        EXPECT_TRUE(FileExists(Installed(file))) << file;
        EXPECT_EQ(Attributes(Installed(file)) & FILE_ATTRIBUTE_DIRECTORY, 0u) << file;
    }
    EXPECT_NE(Attributes(Installed("quarantine")) & FILE_ATTRIBUTE_DIRECTORY, 0u) << "no quarantine folder";
    for (const char* data : {"def.uas", "settings.ini", "bin\\unscript.bat", "bin\\unstart.reg"})
        EXPECT_EQ(ReadTextFile(Installed(data)), ReadTextFile(Shipped(data))) << data;

    // Registered in the Apps list, and a Start-menu shortcut to the program.
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), std::optional<std::string>("Tollivar"));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"),
              std::optional<std::string>(std::string(kInstallFolder).substr(0, sizeof kInstallFolder - 2)));
    EXPECT_EQ(ShortcutTarget(ProgramsFolder() + "\\Tollivar\\Tollivar.lnk"), Installed("tollguard.exe"));

    // The event log source, whose texts Event Viewer reads from the program's message table.
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kEventSourceKey, "EventMessageFile"),
              std::optional<std::string>(Installed("tollguard.exe")));
    EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, kEventSourceKey, "TypesSupported"), std::optional<DWORD>(7));

    // The help file's own table of files names every page of ours.
    const std::string help = ReadTextFile(Installed("Tollivar Help.chm"));
    ASSERT_EQ(help.substr(0, 4), "ITSF");
    for (const char* page : {"/index.html", "/install.html", "/window.html", "/main-info.html", "/threat-shield.html",
                             "/threat-scan.html", "/heal-system.html", "/settings.html", "/quarantine.html",
                             "/update.html", "/support.html"})
        EXPECT_NE(help.find(page), std::string::npos) << page;

    // The shell finds a viewer for the help file where "View Help" looks for it.
    SHELLEXECUTEINFOA open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpVerb = "OPEN";
    const std::string helpPath = Installed("Tollivar Help.chm");
    open.lpFile = helpPath.c_str();
    open.nShow = SW_SHOW;
    EXPECT_TRUE(ShellExecuteExA(&open)) << GetLastError();
    EXPECT_GT(reinterpret_cast<INT_PTR>(open.hInstApp), 32);
    if (open.hProcess) {
        TerminateProcess(open.hProcess, 0);
        CloseHandle(open.hProcess);
    }
}

TEST_F(InstallTest, UnstartRegTurnsOffAutoRunWhenImported) {
    constexpr char kPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun");
    const auto code = RunAndWait("C:\\windows\\regedit.exe", "/s \"" + Installed("bin\\unstart.reg") + "\"");
    ASSERT_TRUE(code);
    DWORD value = 0;
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun", RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0xffu);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers",
                       "DisableAutoplay");
}

// From the shortcut to the uninstall: the shipped settings on the pages, start with Windows switched on
// by the user, then a silent uninstall that takes the program and its Run value and keeps quarantine\.
TEST_F(InstallTest, ShortcutStartsTollivarAndTheUninstallKeepsTheQuarantine) {
    const std::string target = ShortcutTarget(ProgramsFolder() + "\\Tollivar\\Tollivar.lnk");
    ASSERT_EQ(target, Installed("tollguard.exe"));
    app_.emplace(RunningApp::Start(target));
    ASSERT_TRUE(app_->Started());
    HWND main = app_->WaitForMainWindow(true, 20000); // after the splash the shipped settings ask for
    ASSERT_NE(main, nullptr);
    HWND panel = Control(Control(main, 2000), 2001);
    ASSERT_NE(panel, nullptr);

    EXPECT_EQ(ControlText(panel, 4023), kShippedVersion);
    const struct {
        int id;
        const char* name;
        LRESULT state;
    } checks[] = {
        {4205, "Local Drives", BST_CHECKED},      {4206, "Removable Media", BST_CHECKED},
        {4404, "Start with Windows", BST_UNCHECKED}, {4405, "Splash", BST_CHECKED},
        {4406, "Alert", BST_CHECKED},             {4408, "Quarantine", BST_CHECKED},
        {4409, "Destroy", BST_UNCHECKED},
    };
    for (const auto& c : checks) {
        HWND button = Control(panel, c.id);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(SendMessageA(button, BM_GETCHECK, 0, 0), c.state) << c.name;
    }
    SaveScreenshot("installed-main-info", main);

    // The user ticks " Start with Windows." and applies: the shipped ST key receives the value.
    ClickButton(main, 1013);
    ClickButton(panel, 4404);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(Control(panel, 4404), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    ClickButton(main, 4410);
    auto done = WaitForMessageBox(app_->Pid(), "[ DONE ]");
    ASSERT_TRUE(done);
    AnswerMessageBox(done->window, IDOK);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"),
              std::optional<std::string>("\"" + Installed("tollguard.exe") + "\" /b"));
    SaveScreenshot("installed-settings", main);

    // Uninstalling while Tollivar runs is refused (silently) and changes nothing. "_?=" runs the
    // uninstaller in place, so its exit code is the answer.
    const auto refused = RunAndWait(Installed("uninstall.exe"),
                                    std::string("/S _?=") + std::string(kInstallFolder).substr(0, sizeof kInstallFolder - 2));
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, 2u);
    EXPECT_TRUE(FileExists(Installed("tollguard.exe")));
    EXPECT_TRUE(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"));

    ASSERT_TRUE(PickTrayMenuItem(main, app_->Pid(), 10)); // "Shutdown Security"
    auto ask = WaitForMessageBox(app_->Pid(), "[ WARNiNG ]");
    ASSERT_TRUE(ask);
    AnswerMessageBox(ask->window, IDYES);
    ASSERT_TRUE(app_->WaitForExit());

    // A file the user had quarantined, and a backup left by an update.
    ASSERT_TRUE(WriteTextFile(Installed("quarantine\\autorun.inf.1qr"), "[autorun]\r\nopen=x.exe\r\n"));
    ASSERT_TRUE(WriteTextFile(Installed("def.uas.bak"), "[INFO]\r\nVersion=1\r\n"));

    UninstallSilently("");
    for (const char* file : {"tollguard.exe", "KVRUpdate.exe", "Tollivar Help.chm", "def.uas", "def.uas.bak",
                             "settings.ini", "bin\\unscript.bat", "bin\\unstart.reg", "bin"})
        EXPECT_FALSE(FileExists(Installed(file))) << file;
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"), std::nullopt);
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), std::nullopt);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEventSourceKey)) << "the uninstall leaves the event source registered";
    EXPECT_FALSE(FileExists(ProgramsFolder() + "\\Tollivar\\Tollivar.lnk"));
    EXPECT_EQ(ReadTextFile(Installed("quarantine\\autorun.inf.1qr")), "[autorun]\r\nopen=x.exe\r\n");
}

TEST_F(InstallTest, SilentUninstallDeletesTheQuarantineOnlyWhenTold) {
    ASSERT_TRUE(WriteTextFile(Installed("quarantine\\x.exe.2qr"), "MZ"));
    UninstallSilently(" /DELETEQUARANTINE");
    EXPECT_FALSE(FileExists(Installed("quarantine")));
    EXPECT_FALSE(FileExists(kInstallFolder)) << "the emptied install folder stays";
}

// What another program leaves in the install folder after Tollivar was installed is not Tollivar's:
// the uninstaller takes exactly what it installed and what the program wrote, and leaves the rest.
TEST_F(InstallTest, UninstallLeavesFilesOfAnotherProgram) {
    ASSERT_TRUE(WriteTextFile(Installed("notes.txt"), "the user's notes"));
    ASSERT_TRUE(WriteTextFile(Installed("bin\\tool.bat"), "@echo another program"));
    ASSERT_TRUE(WriteTextFile(Installed("count.uas"), "7"));
    UninstallSilently("");
    EXPECT_EQ(ReadTextFile(Installed("notes.txt")), "the user's notes");
    EXPECT_EQ(ReadTextFile(Installed("bin\\tool.bat")), "@echo another program");
    for (const char* file : {"tollguard.exe", "KVRUpdate.exe", "Tollivar Help.chm", "def.uas", "settings.ini",
                             "count.uas", "bin\\unscript.bat", "bin\\unstart.reg", "install-record.ini"})
        EXPECT_FALSE(FileExists(Installed(file))) << file;
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), std::nullopt);
}

// Installing again over Tollivar, with its record or from before there was one (then the program, the
// definitions and the uninstall entry for this folder say it is Tollivar's), keeps the user's settings
// and the newer definitions.
TEST_F(InstallTest, InstallingAgainOverTollivarKeepsSettingsAndDefinitions) {
    const std::string settings = "[SCAN]\r\nLD=0\r\nRM=1\r\n";
    const std::string definitions = "[INFO]\r\nVersion=2099.1\r\n";
    for (const bool withRecord : {true, false}) {
        SCOPED_TRACE(withRecord ? "with its install record" : "installed before there was a record");
        ASSERT_TRUE(WriteTextFile(Installed("settings.ini"), settings));
        ASSERT_TRUE(WriteTextFile(Installed("def.uas"), definitions));
        if (!withRecord) {
            ASSERT_TRUE(DeleteFileA(Installed("install-record.ini").c_str()));
        }
        const auto code = InstallSilently();
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
        EXPECT_EQ(ReadTextFile(Installed("settings.ini")), settings);
        EXPECT_EQ(ReadTextFile(Installed("def.uas")), definitions);
        EXPECT_TRUE(FileExists(Installed("install-record.ini")));
    }
}

class InstallFolderTest : public InstallTest {
  protected:
    bool InstallFirst() const override { return false; }
};

// A folder that holds another program's file is refused (with an exit code for a silent install), so
// that an uninstall can never take that program's files; the file stays as it was and nothing of
// Tollivar is installed.
TEST_F(InstallFolderTest, FolderWithAnotherProgramsFileIsRefused) {
    for (const char* foreign : {"notes.txt", "bin\\tool.bat", "settings.ini", "quarantine\\report.log"}) {
        SCOPED_TRACE(foreign);
        RemoveEarlierInstall();
        MakeFolders(InstallFolderName() + "\\bin");
        MakeFolders(InstallFolderName() + "\\quarantine");
        ASSERT_TRUE(WriteTextFile(Installed(foreign), "another program's file"));
        const auto code = InstallSilently();
        ASSERT_TRUE(code) << "the installer did not end";
        EXPECT_EQ(*code, 4u);
        EXPECT_EQ(ReadTextFile(Installed(foreign)), "another program's file");
        for (const char* file : {"tollguard.exe", "def.uas", "uninstall.exe", "install-record.ini"})
            EXPECT_FALSE(FileExists(Installed(file))) << file;
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), std::nullopt);
    }
}

// Empty folders are nobody's files: an install into them goes ahead.
TEST_F(InstallFolderTest, FolderWithOnlyEmptyFoldersIsTaken) {
    MakeFolders(InstallFolderName() + "\\bin");
    const auto code = InstallSilently();
    ASSERT_TRUE(code);
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(FileExists(Installed("tollguard.exe")));
}

} // namespace
} // namespace tollivar::test
