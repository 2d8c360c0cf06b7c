// What the Quarantine manager shows of a quarantined file, and the two paths it derives from a row.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "heal/quarantine_listing.h"
#include "heal/quarantine_names.h"
#include "heal/quarantine_record.h"

namespace tollivar {
namespace {

TEST(QuarantineListing, SplitsAtTheLastDot) {
    const struct {
        const char* file;
        const char* name;
        const char* suffix;
    } cases[] = {
        {"autorun.inf.5841203qr", "autorun.inf", ".5841203qr"},
        {"a.b.exe.-1234qr", "a.b.exe", ".-1234qr"},
        {"noext.17qr", "noext", ".17qr"},
        {"nodot", "nodot", ""},
        {"trailing.", "trailing", "."},
        {".hidden", "", ".hidden"},
    };
    for (const auto& c : cases) {
        const QuarantineRowName split = SplitQuarantinedName(c.file);
        EXPECT_EQ(split.name, c.name) << c.file;
        EXPECT_EQ(split.suffix, c.suffix) << c.file;
        // Name and suffix together are the file's name again.
        EXPECT_EQ(split.name + split.suffix, c.file);
    }
}

TEST(QuarantineListing, TheNameOfAQuarantinedThreatComesBack) {
    for (const char* threat : {"E:\\autorun.inf", "E:\\RECYCLER\\a.b.exe", "plain"}) {
        for (std::int32_t suffix : {0, 5841203, -1234, INT32_MIN}) {
            const QuarantineRowName split = SplitQuarantinedName(QuarantineFileName(threat, suffix));
            EXPECT_EQ(split.name, std::string(FileNameOfPath(threat))) << threat << " " << suffix;
            EXPECT_EQ(split.suffix, "." + std::to_string(suffix) + "qr");
        }
    }
}

TEST(QuarantineListing, FolderSelfEntriesAreOnlyDotAndDotDot) {
    EXPECT_TRUE(IsFolderSelfEntry("."));
    EXPECT_TRUE(IsFolderSelfEntry(".."));
    for (const char* name : {"...", ".x", "..x", "x.", ""})
        EXPECT_FALSE(IsFolderSelfEntry(name)) << name;
}

TEST(QuarantineListing, ListsQuarantinedFilesButNotTheirRecords) {
    const struct {
        const char* name;
        bool listed;
    } cases[] = {
        {"autorun.inf.5841203qr", true},
        {"nodot", true}, // also files from before records existed
        {"x.qrec.-17qr", true},
        {"autorun.inf.5841203qr.qrec", false},
        {"a.1qr.qrec.tmp", false},
        {".", false},
        {"..", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsListedQuarantineEntry(c.name), c.listed) << c.name;
}

TEST(QuarantineListing, SizesAreWholeAndUnsigned) {
    const struct {
        std::uint32_t high;
        std::uint32_t low;
        const char* text;
    } cases[] = {
        {0, 0, "0"},
        {0, 17, "17"},
        {0, 2147483647u, "2147483647"},
        {0, 3000000000u, "3000000000"}, // the low word alone would read -1294967296 as signed
        {0, 4294967295u, "4294967295"},
        {1, 0, "4294967296"},
        {2, 1, "8589934593"},
        {4294967295u, 4294967295u, "18446744073709551615"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuarantineSizeText(c.high, c.low), c.text) << c.high << ":" << c.low;
}

TEST(QuarantineListing, CaptureTimeHasTwoBlanksBeforeAt) {
    EXPECT_EQ(CaptureTimeText("06/12/2026 ", "08:57:23"), "06/12/2026  at 08:57:23");
    // From a record: the same layout with leading zeros.
    EXPECT_EQ(CaptureTimeOfRecord({2026, 12, 6, 8, 57, 23}), "06/12/2026  at 08:57:23");
    EXPECT_EQ(CaptureTimeOfRecord({1601, 1, 1, 0, 0, 0}), "01/01/1601  at 00:00:00");
    EXPECT_EQ(CaptureTimeOfRecord({2024, 2, 29, 23, 59, 59}), "29/02/2024  at 23:59:59");
}

TEST(QuarantineListing, QuarantinedPathIsFolderNameAndSuffix) {
    EXPECT_EQ(QuarantinedPathOfRow("C:\\T v\\quarantine\\", "autorun.inf", ".5qr"),
              std::optional<std::string>("C:\\T v\\quarantine\\autorun.inf.5qr"));
    EXPECT_EQ(QuarantinedPathOfRow("C:\\q\\", "nodot", ""), std::optional<std::string>("C:\\q\\nodot"));
    // An empty row would name the folder itself.
    EXPECT_FALSE(QuarantinedPathOfRow("C:\\q\\", "", ""));
    EXPECT_FALSE(QuarantinedPathOfRow("", "a", ".1qr"));
    // A row that would name another folder or a device leads nowhere.
    for (const auto& [name, suffix] : {std::pair{"..", ""}, std::pair{".", "."}, std::pair{"..\\x", ".1qr"},
                                       std::pair{"x/..", ""}, std::pair{"con", ".5qr"}})
        EXPECT_FALSE(QuarantinedPathOfRow("C:\\q\\", name, suffix)) << name << suffix;
    const std::string folder = "C:\\" + std::string(500, 'f') + "\\";
    EXPECT_FALSE(QuarantinedPathOfRow(folder, std::string(5, 'n'), ".12345qr")); // 511 characters at most
    EXPECT_TRUE(QuarantinedPathOfRow(folder, "n", ".1qr"));
}

TEST(QuarantineListing, RestoreGoesToAFullDesktopPathOnly) {
    const struct {
        const char* desktop;
        const char* name;
        std::optional<std::string> path;
    } cases[] = {
        {"C:\\users\\me\\Desktop\\", "autorun.inf", "C:\\users\\me\\Desktop\\autorun.inf"},
        {"\\\\server\\share\\Desktop\\", "a.exe", "\\\\server\\share\\Desktop\\a.exe"},
        {"\\", "autorun.inf", std::nullopt}, // a failed desktop lookup: not the root of the current drive
        {"", "autorun.inf", std::nullopt},
        {"Desktop\\", "autorun.inf", std::nullopt},
        {"C:\\Desktop\\", "", std::nullopt},
        // "...5qr" and "..5qr" split into "..." and ".": Windows strips the dots, leaving the folder.
        {"C:\\Desktop\\", "...", std::nullopt},
        {"C:\\Desktop\\", ".", std::nullopt},
        {"C:\\Desktop\\", "..", std::nullopt},
        {"C:\\Desktop\\", "..\\..\\Startup\\x.exe", std::nullopt},
        {"C:\\Desktop\\", "../x.exe", std::nullopt},
        {"C:\\Desktop\\", "nul.txt", std::nullopt},
        {"C:\\Desktop\\", "a:b", std::nullopt},
        {"C:\\Desktop\\", "..x", "C:\\Desktop\\..x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestorePathOfRow(c.desktop, c.name), c.path) << c.desktop << c.name;
    EXPECT_FALSE(RestorePathOfRow("C:\\" + std::string(505, 'd') + "\\", "abcdef"));
}

} // namespace
} // namespace tollivar
