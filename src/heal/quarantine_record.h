// The record kept beside each quarantined file: where the file came from, what it was taken for, when,
// and its size and SHA-256, so that it can be put back where it was, unchanged. Platform-free.
//
// The record of "<folder>\autorun.inf.5841203qr" is "<folder>\autorun.inf.5841203qr.qrec", a UTF-8 text:
//
//     [tollivar-quarantine-record]
//     version=1
//     original=E:\autorun.inf
//     threat=suspicious.
//     utc=2026-12-10 09:56:50
//     local=2026-12-10 10:56:50
//     size=25
//     sha256=<64 lower-case hex digits>
//
// Every line ends in CR LF; the keys come once each in this order. In a value "%" is written "%25" and
// every control character (below 0x20, and 0x7F) as "%" + two upper-case hex digits, so CR and LF
// never end a value early and "=" needs no escape (a line splits at its first "="). Anything that
// FormatQuarantineRecord would not have written is refused whole.
//
// Order of a quarantine, so that a crash never leaves a quarantined file without its record:
//   1. Hash the threat file (size and SHA-256) and build the record.
//   2. Write the record to the pending name (quarantined path + ".qrec.tmp") and flush it to disk.
//   3. Rename the pending record to the record name (same folder, never replacing).
//   4. Move the threat file to the quarantined path (write-through; across volumes it copies, and is
//      done only when the source is gone).
//   5. If step 4 fails: delete the record (and a copy that step 4 left behind).
// A crash before step 3 leaves a pending record, one between steps 3 and 4 a record whose file is
// still at its origin: both are orphans, never listed, and removed by the next cleaning
// (OrphanRecordNames). A crash during a copy across volumes leaves the original in place and a copy
// whose content need not match the record: restoring it is refused as changed.
// A restore moves the file first and deletes its record after; a crash between leaves an orphan.
// Clean orphans only on the thread that quarantines (the UI thread), or a record written at step 3 of
// a quarantine in progress could be taken for an orphan.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar {

inline constexpr std::string_view kQuarantineRecordSuffix = ".qrec";
inline constexpr std::string_view kPendingRecordSuffix = ".qrec.tmp";
inline constexpr std::string_view kQuarantineRecordHeader = "[tollivar-quarantine-record]";
inline constexpr std::size_t kMaxQuarantineRecordBytes = 64 * 1024;

// A calendar time to the second, as the platform's SYSTEMTIME gives it.
struct RecordTime {
    int year = 0; // 1601-9999
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const RecordTime& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour && minute == o.minute &&
               second == o.second;
    }
};

// A real date (leap years included) and a time of day with seconds 0-59.
bool IsValidRecordTime(const RecordTime& time);

// "2026-12-10 09:56:50".
std::string RecordTimeText(const RecordTime& time);

// Texts are UTF-8.
struct QuarantineRecord {
    std::string originalPath; // the full path the file was taken from; not empty
    std::string threat;       // the row's text it was taken for; may be empty
    RecordTime utc;
    RecordTime local;
    std::uint64_t size = 0;
    std::string sha256; // IsSha256Hex
    bool operator==(const QuarantineRecord& o) const {
        return originalPath == o.originalPath && threat == o.threat && utc == o.utc && local == o.local &&
               size == o.size && sha256 == o.sha256;
    }
};

// The record's text; nothing when it cannot be written as a record that parses back to the same values:
// an empty original path, a text that is not UTF-8, an invalid time or hash, or more than
// kMaxQuarantineRecordBytes in all.
std::optional<std::string> FormatQuarantineRecord(const QuarantineRecord& record);

// The record in the bytes of a record file; nothing unless the bytes are exactly what
// FormatQuarantineRecord writes for some record (never a half-read record).
std::optional<QuarantineRecord> ParseQuarantineRecord(std::string_view bytes);

// True when the file's content is the recorded content.
bool RecordMatchesContent(const QuarantineRecord& record, std::uint64_t size, std::string_view sha256Hex);

// --- Names in the quarantine folder ---

// A record or a pending record (suffix compared without regard to ASCII case, as Windows names are).
bool IsQuarantineRecordName(std::string_view fileName);

struct RecordPaths {
    std::string record;  // quarantinedPath + ".qrec"
    std::string pending; // quarantinedPath + ".qrec.tmp"
};
// The record paths of a quarantined file; nothing when the pending path would not fit a path buffer
// (the file is then not quarantined, since it could not have a record).
std::optional<RecordPaths> RecordPathsOf(std::string_view quarantinedPath);

// The names, among one listing of the quarantine folder, of the records to delete: every pending record,
// and every record whose quarantined file is not in the listing.
std::vector<std::string> OrphanRecordNames(const std::vector<std::string>& folderNames);

// --- Restore to the original place ---

struct RestoreFacts {
    bool recordPresent = false;  // a record that parses
    bool contentMatches = false; // RecordMatchesContent on the quarantined file
    bool drivePresent = false;   // the drive of the original path
    bool folderPresent = false;  // the folder of the original path (a folder, not a file)
    bool fileAtOriginal = false; // anything at the original path
};

enum class RestoreOutcome {
    Restore,        // move the file back (never replacing), then delete its record
    NoRecord,       // a file quarantined without a record: only Restore to Desktop
    NotADrivePath,  // the recorded path is not "X:\folder...\name"
    ContentChanged, // size or hash differ from the record
    DriveMissing,
    FolderMissing,
    FileExists,
};

// The drive ("E:") and the folder ("E:\RECYCLER", "E:\" for the root) of a drive path
// "X:\...\name"; nothing for any other path (UNC, device, relative, a path ending in a backslash,
// or one with "." or ".." parts or an empty part).
struct DrivePathParts {
    std::string drive;
    std::string folder;
};
std::optional<DrivePathParts> DrivePathPartsOf(std::string_view path);

// Decides in this order: no record, not a drive path, content changed, drive missing, folder missing,
// a file at the original place; else restore. originalPath is the record's (empty without a record).
RestoreOutcome DecideRestoreToOrigin(std::string_view originalPath, const RestoreFacts& facts);

// What to tell the user for a decision (the Restore text is for a move that succeeded).
std::string RestoreOutcomeText(RestoreOutcome outcome, std::string_view originalPath);

// When the move itself fails after a Restore decision.
std::string RestoreMoveFailedText(std::string_view originalPath);

} // namespace tollivar
