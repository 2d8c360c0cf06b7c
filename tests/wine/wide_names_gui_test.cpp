// Names outside the ANSI code page on a stick, as a user meets them in the real tollguard.exe: hidden
// payloads named in Cyrillic, Chinese and with an emoji are found by the scan, listed with their real
// names (read back as UTF-16), and healed into the quarantine under those names; a name the code page
// would spell as another file's name never makes the heal touch that other file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bench_win.h"
#include "program_ids.h"
#include "ui_driver_win.h"

namespace tollivar::test {
namespace {

// Written as UTF-16 code units so that the test does not depend on the source file's encoding.
const std::wstring kCyrillic = L"\x0444\x043E\x0442\x043E.vbs"; // "foto" in Cyrillic letters
const std::wstring kChinese = L"\x75C5\x6BD2.vbs";              // two CJK ideographs
const std::wstring kEmoji = L"\xD83D\xDE00 party.vbs";          // U+1F600, a surrogate pair
const std::wstring kFullwidthF = L"\xFF46ile.vbs";              // fullwidth "f": best-fits to "file.vbs"

using WideRow = std::vector<std::wstring>;

// For failure messages only.
std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? static_cast<std::size_t>(n - 1) : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

bool WriteWide(const std::wstring& path, const std::string& content,
               DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok && SetFileAttributesW(path.c_str(), attributes);
}

std::optional<std::string> ReadWide(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes(4096, '\0');
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    bytes.resize(read);
    return bytes;
}

// The names in a folder (wide, ending with "\"), "." and ".." left out.
std::set<std::wstring> NamesIn(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// The quarantined copy of a file named name: "<name>.<number>qr".
bool HasQuarantinedCopy(const std::set<std::wstring>& names, const std::wstring& name) {
    return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) {
        return n.size() > name.size() + 3 && n.compare(0, name.size() + 1, name + L".") == 0 &&
               n.compare(n.size() - 2, 2, L"qr") == 0;
    });
}

class WideNamesTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(ProgramUnderTest().empty()) << "TOLLIVAR_EXE is not set: run through ctest";
        RemovableStick().Clear();
        FixedDrive().Clear();
        MakeFolders(folder_.File("bin"));
        WriteTextFile(folder_.File("bin\\unscript.bat"), "@echo off\r\n");
        WriteTextFile(folder_.File("bin\\unstart.reg"), "REGEDIT4\r\n\r\n");
        WriteTextFile(folder_.File("settings.ini"),
                      "[SCAN]\r\nLD=0\r\nRM=1\r\n[SETTINGS]\r\nS3=0\r\nS4=0\r\n[TRAY]\r\n1=1\r\n");
    }
    void TearDown() override {
        if (app_) app_->Kill();
        RemovableStick().Pull();
        FixedDrive().Clear();
    }
    void StartAndScan() {
        app_.emplace(RunningApp::Start(folder_.ExePath()));
        ASSERT_TRUE(app_->Started());
        main_ = app_->WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        panel_ = Control(Control(main_, kMainTab), kPagePanel);
        ASSERT_NE(panel_, nullptr);
        PostCommand(main_, 1009); // the Threat Scan page
        ClickButton(main_, kStartScan);
        ASSERT_TRUE(WaitUntil([&] { return Status().find("DETECTED.") != std::string::npos; }, 30000))
            << Status();
    }
    void HealScanList() {
        PostCommand(main_, kHealScanSelected);
        auto question = WaitForMessageBox(app_->Pid(), "[ WARNiNG ]");
        ASSERT_TRUE(question);
        AnswerMessageBox(question->window, IDYES);
        ASSERT_TRUE(WaitUntil([&] { return Status() == " All Infections Healed..."; }, 10000)) << Status();
    }
    std::string Status() const { return ControlText(panel_, kScanStatus); }
    std::vector<WideRow> Rows() const { return ReadListViewWide(Control(panel_, kScanList)); }
    std::wstring Quarantine() const { return Widen(folder_.File("quarantine\\")); }

    InstallFolder folder_{"Tollivar Wide"};
    std::optional<RunningApp> app_;
    HWND main_ = nullptr;
    HWND panel_ = nullptr;
};

TEST_F(WideNamesTest, HiddenPayloadsNamedInOtherScriptsAreListedAndQuarantinedByTheirRealNames) {
    MakeFolders("E:\\docs");
    for (const std::wstring& name : {kCyrillic, kChinese, kEmoji})
        ASSERT_TRUE(WriteWide(L"E:\\docs\\" + name, "payload", FILE_ATTRIBUTE_HIDDEN)) << Utf8(name);
    StartAndScan();

    const std::vector<WideRow> rows = Rows();
    const std::set<WideRow> expected = {
        {L"E:\\docs\\" + kCyrillic, L"F", L"suspicious."},
        {L"E:\\docs\\" + kChinese, L"F", L"suspicious."},
        {L"E:\\docs\\" + kEmoji, L"F", L"suspicious."},
    };
    EXPECT_EQ(rows.size(), expected.size());
    EXPECT_EQ(std::set<WideRow>(rows.begin(), rows.end()), expected);
    EXPECT_EQ(Status(), "3 THREAT(S)  DETECTED.");

    HealScanList();
    const std::set<std::wstring> quarantined = NamesIn(Quarantine());
    for (const std::wstring& name : {kCyrillic, kChinese, kEmoji}) {
        EXPECT_EQ(GetFileAttributesW((L"E:\\docs\\" + name).c_str()), INVALID_FILE_ATTRIBUTES) << Utf8(name);
        EXPECT_TRUE(HasQuarantinedCopy(quarantined, name)) << Utf8(name);
    }
}

// The fullwidth "f" name spelled in the ANSI code page with best fit is "file.vbs": the user's own
// visible file beside it must stay untouched, with its content.
TEST_F(WideNamesTest, ANameThatBestFitsToAnotherFileNeverMakesTheHealTouchThatFile) {
    ASSERT_TRUE(WriteWide(L"E:\\" + kFullwidthF, "payload", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteWide(L"E:\\file.vbs", "the user's own script"));
    StartAndScan();
    EXPECT_EQ(Rows(), (std::vector<WideRow>{{L"E:\\" + kFullwidthF, L"F", L"suspicious."}}));

    HealScanList();
    EXPECT_EQ(GetFileAttributesW((L"E:\\" + kFullwidthF).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadWide(L"E:\\file.vbs"), std::optional<std::string>("the user's own script"));
    const std::set<std::wstring> quarantined = NamesIn(Quarantine());
    EXPECT_TRUE(HasQuarantinedCopy(quarantined, kFullwidthF));
    EXPECT_FALSE(HasQuarantinedCopy(quarantined, L"file.vbs"));
}

} // namespace
} // namespace tollivar::test
