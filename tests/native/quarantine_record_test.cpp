// The record kept beside a quarantined file: its text, strict reading, the names in the quarantine
// folder, and the decision to restore a file to where it was taken from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/text_rules.h"
#include "heal/quarantine_record.h"
#include "heal/sha256.h"

namespace tollivar {
namespace {

QuarantineRecord SampleRecord() {
    QuarantineRecord record;
    record.originalPath = "E:\\autorun.inf";
    record.threat = "suspicious.";
    record.utc = {2026, 12, 10, 9, 56, 50};
    record.local = {2026, 12, 10, 10, 56, 50};
    record.size = 25;
    record.sha256 = Sha256HexOf("[autorun]\r\nopen=evil.exe\r\n");
    return record;
}

std::string SampleText() {
    return "[tollivar-quarantine-record]\r\n"
           "version=1\r\n"
           "original=E:\\autorun.inf\r\n"
           "threat=suspicious.\r\n"
           "utc=2026-12-10 09:56:50\r\n"
           "local=2026-12-10 10:56:50\r\n"
           "size=25\r\n"
           "sha256=" +
           Sha256HexOf("[autorun]\r\nopen=evil.exe\r\n") + "\r\n";
}

// Files written by earlier versions must stay readable: the exact bytes are fixed.
TEST(QuarantineRecord, WritesTheDocumentedText) {
    EXPECT_EQ(FormatQuarantineRecord(SampleRecord()), SampleText());
    EXPECT_EQ(ParseQuarantineRecord(SampleText()), SampleRecord());
}

TEST(QuarantineRecord, AnyTextSurvivesTheRoundTrip) {
    const struct {
        const char* what;
        std::string path;
        std::string threat;
        std::string escapedPath; // how the path's line reads, when it needs escapes
    } cases[] = {
        {"equals signs", "E:\\a=b\\c==.exe", "x=y", "E:\\a=b\\c==.exe"},
        {"percent", "E:\\100%\\%25.exe", "%", "E:\\100%25\\%2525.exe"},
        {"line breaks", "E:\\a\r\nb\nc\r.exe", "line\r\nbreak", "E:\\a%0D%0Ab%0Ac%0D.exe"},
        {"control characters", std::string("E:\\a\tb\x01\x1f\x7f", 9) + std::string(1, '\0') + "z",
         std::string(1, '\0'), "E:\\a%09b%01%1F%7F%00z"},
        {"empty threat", "E:\\x.exe", "", "E:\\x.exe"},
        {"non-ASCII", "E:\\caf\xc3\xa9\\\xe6\x96\x87\\\xf0\x9f\x98\x80.exe", "\xc3\xa9", ""},
        {"leading and trailing blanks", " E:\\x.exe ", "  ", " E:\\x.exe "},
        {"a line that looks like a key", "E:\\x\r\nthreat=clean", "t", "E:\\x%0D%0Athreat=clean"},
    };
    for (const auto& c : cases) {
        QuarantineRecord record = SampleRecord();
        record.originalPath = c.path;
        record.threat = c.threat;
        const auto text = FormatQuarantineRecord(record);
        ASSERT_TRUE(text) << c.what;
        EXPECT_EQ(ParseQuarantineRecord(*text), record) << c.what;
        if (!c.escapedPath.empty()) {
            EXPECT_NE(text->find("\r\noriginal=" + c.escapedPath + "\r\n"), std::string::npos) << c.what;
        }
    }
}

TEST(QuarantineRecord, SizesAndTimesAtTheirLimitsSurvive) {
    const struct {
        std::uint64_t size;
        RecordTime time;
    } cases[] = {
        {0, {1601, 1, 1, 0, 0, 0}},
        {UINT64_MAX, {9999, 12, 31, 23, 59, 59}},
        {3000000000u, {2024, 2, 29, 12, 0, 0}}, // a leap day
        {4294967296u, {2000, 2, 29, 1, 2, 3}},  // divisible by 400: a leap year
    };
    for (const auto& c : cases) {
        QuarantineRecord record = SampleRecord();
        record.size = c.size;
        record.utc = c.time;
        record.local = c.time;
        const auto text = FormatQuarantineRecord(record);
        ASSERT_TRUE(text) << c.size;
        EXPECT_EQ(ParseQuarantineRecord(*text), record) << *text;
    }
}

TEST(QuarantineRecord, RefusesRecordsItCannotWrite) {
    const auto with = [](auto change) {
        QuarantineRecord record = SampleRecord();
        change(record);
        return FormatQuarantineRecord(record);
    };
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.originalPath.clear(); }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.originalPath = "E:\\\xff.exe"; }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.threat = "\xc3"; }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.sha256 = ToUpperAscii(r.sha256); }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.sha256.clear(); }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.utc.month = 13; }));
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.local = RecordTime{}; }));
    // A record must fit 64 KiB; a path full of escapes grows three times.
    EXPECT_FALSE(with([](QuarantineRecord& r) { r.originalPath = "E:\\" + std::string(22000, '\n'); }));
    EXPECT_TRUE(with([](QuarantineRecord& r) { r.originalPath = "E:\\" + std::string(20000, '\n'); }));
}

TEST(QuarantineRecord, RefusesEveryMalformedRecordWhole) {
    const std::string good = SampleText();
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string hash = Sha256HexOf("[autorun]\r\nopen=evil.exe\r\n");
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"another header", replaced("[tollivar-quarantine-record]", "[tollivar-record]")},
        {"a byte order mark", "\xef\xbb\xbf" + good},
        {"another version", replaced("version=1", "version=2")},
        {"no version", replaced("version=1\r\n", "")},
        {"LF line ends", replaced("\r\n", "\n")},
        {"no last line end", good.substr(0, good.size() - 2)},
        {"a line after the last", good + "extra=1\r\n"},
        {"an empty line after the last", good + "\r\n"},
        {"keys out of order", replaced("utc=2026-12-10 09:56:50\r\nlocal=2026-12-10 10:56:50",
                                       "local=2026-12-10 10:56:50\r\nutc=2026-12-10 09:56:50")},
        {"an unknown key", replaced("threat=", "danger=")},
        {"key in another case", replaced("original=", "ORIGINAL=")},
        {"a blank before the equals sign", replaced("size=", "size =")},
        {"an empty original path", replaced("original=E:\\autorun.inf", "original=")},
        {"a lower-case escape", replaced("E:\\autorun.inf", "E:\\a%0ab")},
        {"an escape that needs none", replaced("E:\\autorun.inf", "E:\\%41utorun.inf")},
        {"an escape without hex", replaced("E:\\autorun.inf", "E:\\%G1")},
        {"a cut escape", replaced("E:\\autorun.inf", "E:\\a%2")},
        {"a raw tab", replaced("suspicious.", "sus\tpicious.")},
        {"a lone CR in a value", replaced("suspicious.", "sus\rpicious.")},
        {"not UTF-8", replaced("suspicious.", "sus\xffpicious.")},
        {"an overlong UTF-8 slash", replaced("E:\\autorun.inf", "E:\\\xc0\xafx")},
        {"an encoded surrogate", replaced("E:\\autorun.inf", "E:\\\xed\xa0\x80x")},
        {"a size with a leading zero", replaced("size=25", "size=025")},
        {"a signed size", replaced("size=25", "size=+25")},
        {"a negative size", replaced("size=25", "size=-25")},
        {"an empty size", replaced("size=25", "size=")},
        {"a size beyond 64 bits", replaced("size=25", "size=18446744073709551616")},
        {"a size with a blank", replaced("size=25", "size=25 ")},
        {"an upper-case hash", replaced(hash, ToUpperAscii(hash))},
        {"a short hash", replaced(hash, hash.substr(1))},
        {"a time with T", replaced("utc=2026-12-10 09:56:50", "utc=2026-12-10T09:56:50")},
        {"a time with zone", replaced("utc=2026-12-10 09:56:50", "utc=2026-12-10 09:56:50Z")},
        {"February 30th", replaced("2026-12-10 09:56:50", "2026-02-30 09:56:50")},
        {"a leap day in a common year", replaced("2026-12-10 09:56:50", "2025-02-29 09:56:50")},
        {"a leap day in 1900", replaced("2026-12-10 09:56:50", "1900-02-29 09:56:50")},
        {"hour 24", replaced("2026-12-10 10:56:50", "2026-12-10 24:00:00")},
        {"second 60", replaced("2026-12-10 10:56:50", "2026-12-10 10:56:60")},
        {"year 1600", replaced("2026-12-10 10:56:50", "1600-12-10 10:56:50")},
        {"month 0", replaced("2026-12-10 10:56:50", "2026-00-10 10:56:50")},
        {"a one-digit day", replaced("2026-12-10 10:56:50", "2026-12-1 010:56:50")},
        {"a NUL byte", replaced("suspicious.", std::string("a\0b", 3))},
        {"more than 64 KiB", replaced("E:\\autorun.inf", "E:\\" + std::string(70000, 'a'))},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ParseQuarantineRecord(c.text)) << c.what;
    // A record cut anywhere (a crash while writing) is never half-read.
    for (std::size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(ParseQuarantineRecord(good.substr(0, length))) << length;
    }
}

TEST(QuarantineRecord, ContentMatchesOnlyWithSizeAndHash) {
    const QuarantineRecord record = SampleRecord();
    EXPECT_TRUE(RecordMatchesContent(record, 25, record.sha256));
    EXPECT_FALSE(RecordMatchesContent(record, 26, record.sha256));
    EXPECT_FALSE(RecordMatchesContent(record, 25, Sha256HexOf("changed")));
    EXPECT_FALSE(RecordMatchesContent(record, 25, ToUpperAscii(record.sha256)));
    EXPECT_FALSE(RecordMatchesContent(record, 25, ""));
}

TEST(QuarantineRecordNames, RecordsAndPendingRecordsAreKnownByTheirSuffix) {
    const struct {
        const char* name;
        bool record;
    } cases[] = {
        {"autorun.inf.5841203qr.qrec", true},
        {"autorun.inf.5841203qr.QREC", true},
        {"autorun.inf.5841203qr.qrec.tmp", true},
        {"autorun.inf.5841203qr.Qrec.TMP", true},
        {".qrec", true},
        {"autorun.inf.5841203qr", false},
        {"x.qrec.5841203qr", false}, // a threat named x.qrec, quarantined
        {"x.qrecx", false},
        {"x.tmp", false},
        {"qrec", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsQuarantineRecordName(c.name), c.record) << c.name;
}

TEST(QuarantineRecordNames, RecordPathsSitBesideTheFileAndFitAPathBuffer) {
    const auto paths = RecordPathsOf("C:\\T\\quarantine\\autorun.inf.5qr");
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->record, "C:\\T\\quarantine\\autorun.inf.5qr.qrec");
    EXPECT_EQ(paths->pending, "C:\\T\\quarantine\\autorun.inf.5qr.qrec.tmp");
    EXPECT_FALSE(RecordPathsOf(""));
    // The pending path is the longer one: 9 characters more than the file's, 511 at most.
    EXPECT_TRUE(RecordPathsOf(std::string(502, 'q')));
    EXPECT_FALSE(RecordPathsOf(std::string(503, 'q')));
}

TEST(QuarantineRecordNames, OrphansArePendingRecordsAndRecordsWithoutTheirFile) {
    const std::vector<std::string> folder = {
        "a.exe.1qr",           "a.exe.1qr.qrec",     // a file with its record
        "b.exe.2qr.qrec",                            // crash before the move: the file is still at its origin
        "c.exe.3qr.qrec.tmp",                        // crash while the record was written
        "d.exe.4qr",           "d.exe.4qr.qrec.tmp", // a pending record never counts, even beside a file
        "e.exe.5qr",                                 // quarantined before records existed
        "F.EXE.6QR",           "f.exe.6qr.qrec",     // names differ only in ASCII case, as Windows allows
        "g.exe.7qr.qrec.qrec", // the record of a record: its "file" is not a quarantined file
        "g.exe.7qr",
    };
    EXPECT_EQ(OrphanRecordNames(folder),
              (std::vector<std::string>{"b.exe.2qr.qrec", "c.exe.3qr.qrec.tmp", "d.exe.4qr.qrec.tmp",
                                        "g.exe.7qr.qrec.qrec"}));
    EXPECT_TRUE(OrphanRecordNames({}).empty());
}

TEST(RestoreToOrigin, DrivePathsSplitIntoDriveAndFolder) {
    const struct {
        const char* path;
        const char* drive; // null: not a drive path
        const char* folder;
    } cases[] = {
        {"E:\\autorun.inf", "E:", "E:\\"},
        {"e:\\RECYCLER\\ttt\\ttt.exe", "E:", "e:\\RECYCLER\\ttt"},
        {"Z:\\a b\\c.d.exe", "Z:", "Z:\\a b"},
        {"E:\\", nullptr, nullptr},
        {"E:\\dir\\", nullptr, nullptr},
        {"E:autorun.inf", nullptr, nullptr},
        {"E:/autorun.inf", nullptr, nullptr},
        {"1:\\autorun.inf", nullptr, nullptr},
        {"\\\\server\\share\\a.exe", nullptr, nullptr},
        {"\\\\?\\E:\\a.exe", nullptr, nullptr},
        {"E:\\a\\..\\..\\Windows\\x.exe", nullptr, nullptr},
        {"E:\\.\\x.exe", nullptr, nullptr},
        {"E:\\a\\\\x.exe", nullptr, nullptr},
        {"E:\\a/..\\x.exe", nullptr, nullptr},
        {"E:\\x.exe:stream", nullptr, nullptr},
        {"E:\\x*.exe", nullptr, nullptr},
        {"E:\\x.exe.", nullptr, nullptr}, // Windows would drop the dot and open another name
        {"E:\\x.exe ", nullptr, nullptr},
        {"E:\\a\tb.exe", nullptr, nullptr},
        {"autorun.inf", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto parts = DrivePathPartsOf(c.path);
        ASSERT_EQ(parts.has_value(), c.drive != nullptr) << c.path;
        if (!parts) continue;
        EXPECT_EQ(parts->drive, c.drive) << c.path;
        EXPECT_EQ(parts->folder, c.folder) << c.path;
    }
}

TEST(RestoreToOrigin, DecidesInTheOrderThatTellsTheFirstObstacle) {
    const RestoreFacts all{true, true, true, true, false};
    const auto but = [&](auto change) {
        RestoreFacts facts = all;
        change(facts);
        return facts;
    };
    const struct {
        const char* what;
        std::string path;
        RestoreFacts facts;
        RestoreOutcome outcome;
    } cases[] = {
        {"everything in place", "E:\\autorun.inf", all, RestoreOutcome::Restore},
        {"no record", "", RestoreFacts{}, RestoreOutcome::NoRecord},
        {"no record, whatever else", "E:\\a.exe", but([](RestoreFacts& f) { f.recordPresent = false; }),
         RestoreOutcome::NoRecord},
        {"not a drive path", "\\\\server\\share\\a.exe", all, RestoreOutcome::NotADrivePath},
        {"changed content", "E:\\a.exe", but([](RestoreFacts& f) { f.contentMatches = false; }),
         RestoreOutcome::ContentChanged},
        // A changed file is refused even when its place is gone or taken.
        {"changed and drive missing", "E:\\a.exe",
         but([](RestoreFacts& f) { f.contentMatches = f.drivePresent = f.folderPresent = false; }),
         RestoreOutcome::ContentChanged},
        {"drive missing", "E:\\a.exe", but([](RestoreFacts& f) { f.drivePresent = f.folderPresent = false; }),
         RestoreOutcome::DriveMissing},
        {"folder missing", "E:\\RECYCLER\\a.exe", but([](RestoreFacts& f) { f.folderPresent = false; }),
         RestoreOutcome::FolderMissing},
        {"a file there", "E:\\a.exe", but([](RestoreFacts& f) { f.fileAtOriginal = true; }),
         RestoreOutcome::FileExists},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecideRestoreToOrigin(c.path, c.facts), c.outcome) << c.what;
}

TEST(RestoreToOrigin, MessagesNameThePlaceInPlainWords) {
    const std::string path = "E:\\RECYCLER\\ttt.exe";
    const struct {
        RestoreOutcome outcome;
        const char* text;
    } cases[] = {
        {RestoreOutcome::Restore, "The file was restored to E:\\RECYCLER\\ttt.exe."},
        {RestoreOutcome::NoRecord,
         "There is no record of where this file came from; it was not restored. Use "
         "Restore to Desktop instead."},
        {RestoreOutcome::ContentChanged,
         "The file was changed in quarantine since it was taken; it was not restored."},
        {RestoreOutcome::DriveMissing,
         "Drive E: is not present; the file was not restored. Insert the drive and try "
         "again."},
        {RestoreOutcome::FolderMissing,
         "The folder E:\\RECYCLER no longer exists; the file was not restored."},
        {RestoreOutcome::FileExists,
         "A file already exists at E:\\RECYCLER\\ttt.exe; nothing was replaced and the "
         "file was not restored."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestoreOutcomeText(c.outcome, path), c.text);
    EXPECT_EQ(RestoreOutcomeText(RestoreOutcome::NotADrivePath, "\\\\s\\x.exe"),
              "The recorded place \"\\\\s\\x.exe\" is not a file on a drive; the file was not restored.");
    EXPECT_EQ(RestoreOutcomeText(RestoreOutcome::DriveMissing, "e:\\a.exe").substr(0, 9), "Drive E: ");
    EXPECT_EQ(RestoreMoveFailedText(path),
              "The file could not be moved to E:\\RECYCLER\\ttt.exe; it stays in quarantine.");
}

} // namespace
} // namespace tollivar
