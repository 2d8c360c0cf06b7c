// Settings, start with Windows, the system heal and the heal of both detection lists, as a user meets
// them in the real program, checked on the real settings.ini, count.uas, quarantine and registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/process_text.h"
#include "gui_session_win.h"
#include "heal/quarantine_record.h"
#include "heal/sha256.h"
#include "heal/system_repairs.h"

namespace tollivar::test {
namespace {

constexpr int kDefsVersion = 4023;
constexpr int kHealDeselectAll = 4306;
constexpr int kHealSelected = 4107;
constexpr int kHealSystem = 4307;
constexpr int kApplySettings = 4410;
constexpr int kStartWithWindows = 4404;
constexpr int kAlert = 4406;

struct SettingBox {
    int id;
    const char* section;
    const char* key;
};
const SettingBox kSettingBoxes[] = {
    {4205, "SCAN", "LD"},     {4206, "SCAN", "RM"},     {4404, "SETTINGS", "S1"}, {4405, "SETTINGS", "S2"},
    {4406, "SETTINGS", "S3"}, {4408, "SETTINGS", "S4"}, {4409, "SETTINGS", "S5"},
};

std::string ReadIni(const std::string& file, const char* section, const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

std::optional<std::string> RegistryText(HKEY root, const char* subkey, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, subkey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Puts a row into a list view of the program the way its detectors do: text, the scan's kind code in
// the "#" column when given, then the check box.
void InsertRemoteRow(HWND list, DWORD pid, const std::string& text, bool checked, const char* kind = nullptr) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid);
    ASSERT_NE(process, nullptr);
    const SIZE_T size = sizeof(LVITEMA) + 512;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(remote, nullptr);
    std::vector<char> local(size, 0);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = remote + sizeof(LVITEMA);
    std::memcpy(local.data(), &item, sizeof item);
    std::memcpy(local.data() + sizeof item, text.c_str(), std::min<std::size_t>(text.size(), 511));
    WriteProcessMemory(process, remote, local.data(), size, nullptr);
    const LRESULT row = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(remote));
    if (kind) {
        LVITEMA sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = static_cast<int>(row);
        sub.iSubItem = 1;
        sub.pszText = remote + sizeof(LVITEMA);
        std::vector<char> subLocal(size, 0);
        std::memcpy(subLocal.data(), &sub, sizeof sub);
        std::memcpy(subLocal.data() + sizeof sub, kind, std::strlen(kind));
        WriteProcessMemory(process, remote, subLocal.data(), size, nullptr);
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(remote));
    }
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = checked ? 0x2000 : 0x1000;
    WriteProcessMemory(process, remote, &state, sizeof state, nullptr);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

class HealGuiTest : public GuiSession {
  protected:
    HealGuiTest() : GuiSession("Tollivar Heal") {}
    bool Ticked(int id) const { return SendMessageA(Panel(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) { SendMessageA(Panel(id), BM_CLICK, 0, 0); }

    // Posts a command, expects the box it opens and answers it; the box as it was shown.
    MessageBoxView Answer(int command, const char* caption, int answer) {
        PostCommand(main_, command);
        return AnswerBox(caption, answer);
    }
};

// ---- settings -----------------------------------------------------------------------------------

TEST_F(HealGuiTest, WithoutSettingsEveryBoxIsUntickedAndTheVersionShows) {
    WriteTextFile(folder_.File("def.uas"), "[INFO]\r\nVersion=3.1.7\r\n");
    Start();
    for (const SettingBox& box : kSettingBoxes) EXPECT_FALSE(Ticked(box.id)) << box.key;
    EXPECT_EQ(Text(kDefsVersion), "3.1.7");
    EXPECT_EQ(Text(kRemovedCount), "0") << "a fresh install has removed nothing";
}

TEST_F(HealGuiTest, TheFileTicksItsBoxesAndBothRadiosMayBeTicked) {
    WriteTextFile(folder_.File("settings.ini"), "[SCAN]\r\nLD=1\r\nRM=0\r\n[SETTINGS]\r\nS3=1\r\nS4=1\r\nS5=1\r\n");
    Start();
    const std::map<int, bool> expected = {{4205, true},  {4206, false}, {4404, false}, {4405, false},
                                          {4406, true},  {4408, true},  {4409, true}};
    for (const auto& [id, ticked] : expected) EXPECT_EQ(Ticked(id), ticked) << id;
}

TEST_F(HealGuiTest, ApplyWritesAllSevenKeysAsZeroOrOne) {
    Start();
    Click(kAlert);
    Click(kLocalDrives);
    const MessageBoxView box = Answer(kApplySettings, "[ DONE ]", IDOK);
    EXPECT_EQ(box.text, "Your settings have been modified successfully!");
    EXPECT_TRUE(box.hasIcon);
    const std::string ini = folder_.File("settings.ini");
    const std::map<std::string, std::string> expected = {{"LD", "1"}, {"RM", "0"}, {"S1", "0"}, {"S2", "0"},
                                                         {"S3", "1"}, {"S4", "0"}, {"S5", "0"}};
    for (const SettingBox& b : kSettingBoxes) EXPECT_EQ(ReadIni(ini, b.section, b.key), expected.at(b.key)) << b.key;
}

TEST_F(HealGuiTest, ASettingsFileThatCannotBeWrittenIsReportedNotClaimed) {
    // Held open by another program, or marked read-only: either way nothing is written and no
    // success is claimed.
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "held open");
        const std::string ini = folder_.File("settings.ini");
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteTextFile(ini, "[SETTINGS]\r\nS3=0\r\n");
        Start();
        Click(kAlert);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            holder = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        }
        const MessageBoxView box = Answer(kApplySettings, kWarning, IDOK);
        EXPECT_NE(box.text.find("could not be saved"), std::string::npos) << box.text;
        EXPECT_FALSE(FindTopWindow(app_->Pid(), "#32770", "[ DONE ]", true));
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(ReadIni(ini, "SETTINGS", "S3"), "0");
        SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        app_.reset();
    }
}

TEST_F(HealGuiTest, StartWithWindowsFollowsTheBoxUnderTheStSubkey) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tollivar");
    WriteTextFile(folder_.File("settings.ini"), std::string("[SCAN]\r\nST=") + kRunKey + "\r\n");
    Start();
    // Unticked when it never existed: still no value.
    Answer(kApplySettings, "[ DONE ]", IDOK);
    EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"));

    Click(kStartWithWindows);
    Answer(kApplySettings, "[ DONE ]", IDOK);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"), "\"" + folder_.ExePath() + "\" /b");
    EXPECT_EQ(ReadIni(folder_.File("settings.ini"), "SETTINGS", "S1"), "1");

    Click(kStartWithWindows);
    Answer(kApplySettings, "[ DONE ]", IDOK);
    EXPECT_FALSE(RegistryText(HKEY_CURRENT_USER, kRunKey, "Tollivar"));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tollivar");
}

TEST_F(HealGuiTest, AMissingStSubkeyIsNeitherCreatedNorWritten) {
    const std::string missing = "Software\\TollivarTests\\NoRunKey";
    WriteTextFile(folder_.File("settings.ini"), "[SCAN]\r\nST=" + missing + "\r\n");
    Start();
    Click(kStartWithWindows);
    Answer(kApplySettings, "[ DONE ]", IDOK);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missing));
    EXPECT_EQ(ReadIni(folder_.File("settings.ini"), "SETTINGS", "S1"), "1") << "the box is saved all the same";
}

// ---- system heal --------------------------------------------------------------------------------

// Keeps every value the repairs may touch under both real roots, and the keys a test creates, and
// puts them back afterwards.
class RegistryKeeper {
  public:
    RegistryKeeper() {
        for (std::size_t row = 0; row < kRepairRowCount; ++row)
            for (const RegistryWrite& w : RepairWritesForRow(row)) Keep(Root(w.root), std::string(w.subkey), w.valueName);
    }
    ~RegistryKeeper() {
        for (const Kept& k : kept_) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(k.root, k.subkey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) continue;
            if (k.existed)
                RegSetValueExA(key, k.name.c_str(), 0, k.type, k.bytes.data(), static_cast<DWORD>(k.bytes.size()));
            else
                RegDeleteValueA(key, k.name.c_str());
            RegCloseKey(key);
        }
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            RegDeleteTreeA(it->first, it->second.c_str());
            RegDeleteKeyA(it->first, it->second.c_str());
        }
    }
    static HKEY Root(RegistryRoot root) {
        return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    }
    // Creates the key (remembering the first missing ancestor, to remove it later).
    void Create(HKEY root, const std::string& subkey) {
        std::size_t from = 0;
        while (true) {
            const std::size_t slash = subkey.find('\\', from);
            const std::string part = subkey.substr(0, slash);
            if (!KeyExists(root, part)) {
                created_.emplace_back(root, part);
                break;
            }
            if (slash == std::string::npos) break;
            from = slash + 1;
        }
        HKEY key = nullptr;
        RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (key) RegCloseKey(key);
    }
    void SetDword(HKEY root, const std::string& subkey, const char* name, DWORD value) {
        Create(root, subkey);
        RegSetKeyValueA(root, subkey.c_str(), name, REG_DWORD, &value, sizeof value);
    }
    void SetText(HKEY root, const std::string& subkey, const char* name, const std::string& text) {
        Create(root, subkey);
        RegSetKeyValueA(root, subkey.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

  private:
    struct Kept {
        HKEY root;
        std::string subkey;
        std::string name;
        bool existed = false;
        DWORD type = 0;
        std::vector<BYTE> bytes;
    };
    void Keep(HKEY root, const std::string& subkey, std::string_view name) {
        Kept k{root, subkey, std::string(name), false, 0, {}};
        DWORD size = 0;
        if (RegGetValueA(root, subkey.c_str(), k.name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &k.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            k.existed = true;
            k.bytes.resize(size);
            RegGetValueA(root, subkey.c_str(), k.name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &k.type, k.bytes.data(),
                         &size);
            k.bytes.resize(size);
        }
        kept_.push_back(std::move(k));
    }
    std::vector<Kept> kept_;
    std::vector<std::pair<HKEY, std::string>> created_;
};

std::optional<DWORD> RegistryDword(HKEY root, const char* subkey, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(root, subkey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return std::nullopt;
    return value;
}

constexpr char kExplorerPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kTaskManager[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\TaskManager";
constexpr char kUserSystemPolicies[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\system";
constexpr char kWinlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

TEST_F(HealGuiTest, HealSystemWithAllRowsRepairsUnderBothRoots) {
    RegistryKeeper keeper;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        keeper.SetDword(root, kExplorerPolicies, "NoDriveTypeAutoRun", 0x91);
        keeper.SetDword(root, kExplorerPolicies, "NoFolderOptions", 1);
        keeper.SetDword(root, kTaskManager, "Preferences", 7);
        keeper.SetText(root, kWinlogon, "Shell", "explorer.exe evil.exe");
    }
    keeper.SetText(HKEY_CURRENT_USER, kUserSystemPolicies, "legalnoticecaption", "Owned");
    keeper.SetText(HKEY_LOCAL_MACHINE, kWinlogon, "legalnoticetext", "Owned");
    Start();

    const MessageBoxView question = Answer(kHealSystem, kWarning, IDYES);
    EXPECT_EQ(question.text, "Continue healing the system of the selected infections ?");
    EXPECT_EQ(question.buttons.size(), 2u);
    EXPECT_TRUE(question.hasIcon);
    const MessageBoxView restart = AnswerBox(kWarning, IDOK);
    EXPECT_EQ(restart.text, "A restart is required for the changes to take effect.");

    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        SCOPED_TRACE(root == HKEY_CURRENT_USER ? "current user" : "local machine");
        EXPECT_EQ(RegistryDword(root, kExplorerPolicies, "NoDriveTypeAutoRun"), 4u);
        EXPECT_EQ(RegistryDword(root, kExplorerPolicies, "NoFolderOptions"), 0u);
        EXPECT_EQ(RegistryDword(root, kExplorerPolicies, "NoDrives"), 0u);
        EXPECT_FALSE(RegistryDword(root, kTaskManager, "Preferences"));
        EXPECT_EQ(RegistryText(root, kWinlogon, "Shell"), "Explorer.exe");
    }
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUserSystemPolicies, "legalnoticecaption"), "");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUserSystemPolicies, "legalnoticetext"), "");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kWinlogon, "legalnoticecaption"), "");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kWinlogon, "legalnoticetext"), "");
}

TEST_F(HealGuiTest, HealSystemWithNoRowTickedTouchesNothingAndStillAsksForARestart) {
    RegistryKeeper keeper;
    keeper.SetDword(HKEY_CURRENT_USER, kExplorerPolicies, "NoDriveTypeAutoRun", 0x91);
    Start();
    // No: nothing at all.
    Answer(kHealSystem, kWarning, IDNO);
    EXPECT_FALSE(WaitForMessageBox(app_->Pid(), kWarning, 500));
    EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, kExplorerPolicies, "NoDriveTypeAutoRun"), 0x91u);

    PostCommand(main_, kHealDeselectAll);
    Answer(kHealSystem, kWarning, IDYES);
    EXPECT_EQ(AnswerBox(kWarning, IDOK).text, "A restart is required for the changes to take effect.");
    EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, kExplorerPolicies, "NoDriveTypeAutoRun"), 0x91u);
    EXPECT_FALSE(RegistryDword(HKEY_CURRENT_USER, kExplorerPolicies, "NoDrives"));
}

// ---- healing the lists --------------------------------------------------------------------------

// The Threat Shield rows here are the ones the Resident Shield lists for a stick whose autorun.inf
// opens a program on it: the autorun file, then the program.
bool WaitForShieldRows(HWND list, std::size_t n) {
    return WaitUntil([&] { return ReadListView(list).size() == n; }, 5000);
}

TEST_F(HealGuiTest, ShieldHealQuarantinesCountsAndKeepsTheCountAcrossARestart) {
    Start();
    EXPECT_EQ(Text(kRemovedCount), "0");
    // Start-up ends with a shield pass, just after the window first shows.
    const std::string before = " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...";
    ASSERT_TRUE(WaitUntil([&] { return Text(kShieldStatus) == before; }, 3000));

    // An empty list: the answer changes nothing, not even the status line.
    Answer(kHealSelected, kWarning, IDYES);
    EXPECT_EQ(Text(kShieldStatus), before);
    EXPECT_EQ(Text(kRemovedCount), "0");

    SimulatedDrive& stick = RemovableStick();
    stick.Insert();
    const std::string autorun = "[autorun]\r\nopen=a.b.exe\r\n";
    ASSERT_TRUE(stick.Write("a.b.exe", "MZ payload"));
    ASSERT_TRUE(stick.Write("autorun.inf", autorun));
    SetFileAttributesA("E:\\autorun.inf", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(WaitForShieldRows(Panel(kShieldList), 2));

    const MessageBoxView question = Answer(kHealSelected, kWarning, IDYES);
    EXPECT_EQ(question.text, kHealQuestion);
    ASSERT_TRUE(WaitUntil([&] { return Text(kRemovedCount) == "2"; }, 5000)) << Text(kRemovedCount);
    EXPECT_EQ(ReadTextFile(folder_.File("count.uas")), std::string("\x02\x00\x00\x00", 4));
    EXPECT_TRUE(ReadListView(Panel(kShieldList)).empty());
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_FALSE(FileExists("E:\\a.b.exe"));
    std::vector<std::string> names;
    std::size_t records = 0;
    for (const std::string& name : FileNamesIn(folder_.File("quarantine\\"))) {
        if (IsQuarantineRecordName(name))
            ++records;
        else
            names.push_back(name);
    }
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(records, 2u) << "one record per file, no pending record";
    for (const std::string& name : names) {
        EXPECT_EQ(name.substr(name.size() - 2), "qr") << name;
        const bool isAutorun = name.rfind("autorun.inf.", 0) == 0;
        EXPECT_TRUE(isAutorun || name.rfind("a.b.exe.", 0) == 0) << name;
        const std::string content = isAutorun ? autorun : "MZ payload";
        EXPECT_EQ(ReadTextFile(folder_.File("quarantine\\" + name)), content);
        // Its record says where it was, what it was taken for (the row's Status), and what it held.
        const auto record = ParseQuarantineRecord(ReadTextFile(folder_.File("quarantine\\" + name + ".qrec")));
        ASSERT_TRUE(record) << name;
        EXPECT_EQ(record->originalPath, isAutorun ? "E:\\autorun.inf" : "E:\\a.b.exe");
        EXPECT_EQ(record->threat, "suspicious.");
        EXPECT_EQ(record->size, content.size());
        EXPECT_EQ(record->sha256, Sha256HexOf(content));
    }

    Start();
    EXPECT_EQ(Text(kRemovedCount), "2");
}

TEST_F(HealGuiTest, DestroyModeDeletesAndStillCounts) {
    WriteTextFile(folder_.File("settings.ini"), "[SETTINGS]\r\nS5=1\r\n");
    RemovableStick().Insert();
    ASSERT_TRUE(RemovableStick().Write("run.exe", "x"));
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", "[autorun]\r\nopen=run.exe\r\n"));
    Start();
    ASSERT_TRUE(WaitForShieldRows(Panel(kShieldList), 2));
    Answer(kHealSelected, kWarning, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Text(kRemovedCount) == "2"; }, 5000));
    EXPECT_FALSE(FileExists("E:\\run.exe"));
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_TRUE(FileNamesIn(folder_.File("quarantine\\")).empty());
}

TEST_F(HealGuiTest, AFileInUseIsNotCountedAndTheStatusSaysSo) {
    RemovableStick().Insert();
    ASSERT_TRUE(RemovableStick().Write("busy.exe", "busy"));
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", "[autorun]\r\nopen=busy.exe\r\n"));
    const HANDLE holder = CreateFileA("E:\\busy.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Start();
    ASSERT_TRUE(WaitForShieldRows(Panel(kShieldList), 2));
    Answer(kHealSelected, kWarning, IDYES);
    // The next pass rewrites the line within a second: watch closely.
    EXPECT_TRUE(WaitUntil([&] { return Text(kShieldStatus) == " 1 Infection NOT Healed..."; }, 5000, 2))
        << Text(kShieldStatus);
    EXPECT_TRUE(WaitUntil([&] { return Text(kRemovedCount) == "1"; }, 5000)) << "the autorun file is removed";
    CloseHandle(holder);
    EXPECT_EQ(ReadTextFile("E:\\busy.exe"), "busy");
    EXPECT_FALSE(FileExists("E:\\autorun.inf"));
    EXPECT_EQ(ReadTextFile(folder_.File("count.uas")), std::string("\x01\x00\x00\x00", 4));
}

std::string WaiterProgram() { return DosPathOfUnix(std::getenv("TOLLIVAR_WAITER")); }

TEST_F(HealGuiTest, ScanHealEndsTheListedProcessRunsTheInstallScriptsAndEmptiesBothLists) {
    ASSERT_NE(std::getenv("TOLLIVAR_WAITER"), nullptr);
    MakeFolders(folder_.File("procs"));
    MakeFolders(folder_.File("bin"));
    const std::string evilPath = folder_.File("procs\\TvEvil.exe");
    const std::string innocentPath = folder_.File("procs\\TvInnocent.exe");
    CopyFileA(WaiterProgram().c_str(), evilPath.c_str(), FALSE);
    CopyFileA(WaiterProgram().c_str(), innocentPath.c_str(), FALSE);
    RunningApp evil = RunningApp::Start(evilPath);
    RunningApp innocent = RunningApp::Start(innocentPath);
    ASSERT_TRUE(evil.Running() && innocent.Running());
    const std::string marker = folder_.File("unscript ran.txt");
    WriteTextFile(folder_.File("bin\\unscript.bat"), "@echo ran> \"" + marker + "\"\r\n");
    WriteTextFile(folder_.File("bin\\unstart.reg"),
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TollivarTests\\Unstart]\r\n\"Imported\"=\"yes\"\r\n");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TollivarTests\\Unstart");
    RemovableStick().Insert();
    ASSERT_TRUE(RemovableStick().Write("run.exe", "x"));
    Start();

    InsertRemoteRow(Panel(kScanList), app_->Pid(), FormatProcessText(evil.Pid(), "TvEvil.exe"), true, "P");
    InsertRemoteRow(Panel(kScanList), app_->Pid(), FormatProcessText(innocent.Pid(), "TvEvil.exe"), true, "P");
    InsertRemoteRow(Panel(kScanList), app_->Pid(), "E:\\run.exe", true, "F");
    InsertRemoteRow(Panel(kShieldList), app_->Pid(), "E:\\autorun.inf", true);
    const MessageBoxView question = Answer(kHealScanSelected, kWarning, IDYES);
    EXPECT_EQ(question.text, kHealQuestion);

    EXPECT_TRUE(WaitUntil([&] { return Text(kScanStatus) == " All Infections Healed..."; }, 10000))
        << Text(kScanStatus);
    EXPECT_TRUE(evil.WaitForExit(5000));
    EXPECT_TRUE(FileExists(evilPath)) << "ending a process leaves its file";
    EXPECT_TRUE(innocent.Running()) << "an id now held by another program is left alone";
    EXPECT_FALSE(FileExists("E:\\run.exe"));
    EXPECT_EQ(Text(kRemovedCount), "1") << "only the file counts";
    EXPECT_TRUE(ReadListView(Panel(kScanList)).empty());
    EXPECT_TRUE(ReadListView(Panel(kShieldList)).empty());
    EXPECT_TRUE(WaitUntil([&] { return FileExists(marker); }, 10000)) << "unscript.bat did not run";
    EXPECT_TRUE(WaitUntil(
        [&] { return RegistryText(HKEY_CURRENT_USER, "Software\\TollivarTests\\Unstart", "Imported") == "yes"; },
        10000))
        << "unstart.reg was not imported";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TollivarTests");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TollivarTests");
    innocent.Kill();
}

} // namespace
} // namespace tollivar::test
