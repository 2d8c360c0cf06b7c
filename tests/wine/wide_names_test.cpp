// Names outside the ANSI code page, in process on the simulated stick E:: the engine's listing and
// file tests, autorun targets of every encoding and of environment values, and healing a target by
// its real name. Paths inside the program are UTF-8.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_win.h"
#include "engine/autorun_analysis_win.h"
#include "engine/drive_scan_win.h"
#include "engine/file_access_win.h"
#include "heal/autorun_target_check_win.h"
#include "heal/detection_heal_win.h"
#include "heal/quarantine_record.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

using test::RemovableStick;

const std::string kQuarantine = "C:\\Tollivar Tests\\wide-quarantine\\";

// UTF-8 spelled as bytes, so that the test does not depend on the source file's encoding.
const std::string kCyrillic = "\xD0\xB2\xD0\xB8\xD1\x80\xD1\x83\xD1\x81"; // five Cyrillic letters
const std::string kChinese = "\xE7\x97\x85\xE6\xAF\x92";                  // two CJK ideographs
const std::string kEmoji = "\xF0\x9F\x98\x80";                            // U+1F600, beyond 16 bits

bool WriteUtf8Named(const std::string& path, const std::string& content,
                    DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring wide = WideFromUtf8(path);
    HANDLE file =
        CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok && SetFileAttributesW(wide.c_str(), attributes);
}

bool ExistsUtf8(const std::string& path) {
    return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Utf16LeWithMark(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

class WideNamesOnStick : public testing::Test {
  protected:
    void SetUp() override {
        RemovableStick().Clear();
        test::DeleteTree(kQuarantine);
    }
    void TearDown() override {
        RemovableStick().Pull();
        test::DeleteTree(kQuarantine);
        SetEnvironmentVariableW(L"TV_WIDE", nullptr);
    }
};

TEST_F(WideNamesOnStick, TheListingAndTheFileTestsSpeakUtf8) {
    ASSERT_TRUE(test::MakeFolders("E:\\docs"));
    const std::vector<std::string> names = {kCyrillic + ".vbs", kChinese + ".exe", kEmoji + " x.vbs"};
    for (const std::string& name : names)
        ASSERT_TRUE(WriteUtf8Named("E:\\docs\\" + name, "p")) << name;

    const auto listed = ListFolder("E:\\docs\\");
    ASSERT_TRUE(listed.has_value());
    std::vector<std::string> found;
    for (const DirectoryEntry& e : *listed)
        if (e.name != "." && e.name != "..") found.push_back(e.name);
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);

    const FolderNames longAndShort = ListFolderNames("E:\\docs\\");
    EXPECT_EQ(longAndShort.outcome, FolderNames::Outcome::Listed);
    for (const std::string& name : names) {
        EXPECT_NE(std::find(longAndShort.names.begin(), longAndShort.names.end(), name),
                  longAndShort.names.end())
            << name;
        EXPECT_TRUE(FileExists("E:\\docs\\" + name)) << name;
        EXPECT_TRUE(FileIsWhereListed("E:\\docs\\" + name)) << name;
    }
    // A "?" spelling is no name of these files.
    EXPECT_FALSE(FileExists("E:\\docs\\?????.vbs"));
}

TEST_F(WideNamesOnStick, AutorunTargetsOfEveryEncodingComeBackInUtf8) {
    // An environment value beyond the code page joins the file's own text in one encoding.
    SetEnvironmentVariableW(L"TV_WIDE", WideFromUtf8(kCyrillic + "\\").c_str());
    struct Case {
        const char* name;
        std::string inf;
        std::string target;
    } cases[] = {
        {"Utf8WithMark", "\xEF\xBB\xBF[autorun]\r\nopen=" + kCyrillic + ".exe\r\n",
         "E:\\" + kCyrillic + ".exe"},
        {"Utf16WithMark",
         Utf16LeWithMark(WideFromUtf8("[autorun]\r\nopen=" + kChinese + kEmoji + ".exe\r\n")),
         "E:\\" + kChinese + kEmoji + ".exe"},
        {"AnsiWithAWideVariable", "[autorun]\r\nopen=%TV_WIDE%run.exe\r\n", "E:\\" + kCyrillic + "\\run.exe"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RemovableStick().Write("autorun.inf", c.inf)) << c.name;
        const AutorunFinding f = AnalyzeAutorun("E:\\");
        EXPECT_EQ(f.targetPath, c.target) << c.name;
    }
}

TEST_F(WideNamesOnStick, AnAnsiAutorunFileIsReadInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "the case is written for code page 1252";
    ASSERT_TRUE(RemovableStick().Write("autorun.inf", "[autorun]\r\nopen=caf\xE9.exe\r\n"));
    EXPECT_EQ(AnalyzeAutorun("E:\\").targetPath, "E:\\caf\xC3\xA9.exe");
}

// The target's name cannot be spelled in the code page: it is still judged on where it really is,
// taken, and quarantined under its own name with its real path in the record.
TEST_F(WideNamesOnStick, AnAutorunTargetNamedBeyondTheCodePageIsHealedByItsRealName) {
    const std::string target = "E:\\" + kCyrillic + kEmoji + ".exe";
    ASSERT_TRUE(WriteUtf8Named(target, "MZ payload", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(CheckAutorunTarget(target, "E:\\", ""), TargetCheck::MayBeTaken);

    ThreatRemoval removal;
    removal.quarantineFolder = kQuarantine;
    const HealResult result =
        HealRecords({{target, true, RowKind::File, "E:\\", "", false, "Possible Malware"}}, removal);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0], RowOutcome::Healed);
    EXPECT_FALSE(ExistsUtf8(target));
    const std::string& moved = result.removals.at(0).quarantinedPath;
    EXPECT_EQ(moved.rfind(kQuarantine + kCyrillic + kEmoji + ".exe.", 0), 0u) << moved;
    EXPECT_TRUE(ExistsUtf8(moved));
    const auto names = RecordPathsOf(moved);
    ASSERT_TRUE(names.has_value());
    HANDLE file = CreateFileW(WideFromUtf8(names->record).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes(kMaxQuarantineRecordBytes, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    const auto record = ParseQuarantineRecord(bytes);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->originalPath, target);
}

// The walk's rows name the files as they are; the fullwidth "f" (which best-fits to "f") names only
// itself, and its heal leaves the user's "file.vbs" alone.
TEST_F(WideNamesOnStick, TheWalkAndItsHealNeverConfuseABestFitSpelling) {
    const std::string fullwidth = "E:\\\xEF\xBD\x86ile.vbs"; // U+FF46
    ASSERT_TRUE(WriteUtf8Named(fullwidth, "payload", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteUtf8Named("E:\\file.vbs", "the user's own"));
    std::vector<ScanRow> rows;
    WalkRemovableDrive("E:\\", {}, [&](const ScanRow& r) { rows.push_back(r); });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].infection, fullwidth);

    ThreatRemoval removal;
    removal.quarantineFolder = kQuarantine;
    const HealResult result =
        HealRecords({{rows[0].infection, true, RowKind::File, "", "", false, ""}}, removal);
    EXPECT_EQ(result.rows.at(0), RowOutcome::Healed);
    EXPECT_FALSE(ExistsUtf8(fullwidth));
    EXPECT_EQ(test::ReadTextFile("E:\\file.vbs"), "the user's own");
}

} // namespace
} // namespace tollivar
