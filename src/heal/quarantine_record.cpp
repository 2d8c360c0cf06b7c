#include "heal/quarantine_record.h"

#include <set>

#include "config/install_paths.h"
#include "config/text_rules.h"
#include "config/utf8_text.h"
#include "heal/sha256.h"

namespace tollivar {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kVersionLine[] = "version=1";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '%';
}

std::string Escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (!NeedsEscape(c)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 0x0F];
    }
    return out;
}

int UpperHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Only the escapes Escape writes are accepted, so that every accepted value has one spelling.
std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '%') {
            if (NeedsEscape(c)) return std::nullopt;
            out += text[i];
            continue;
        }
        if (text.size() - i < 3) return std::nullopt;
        const int high = UpperHexValue(text[i + 1]);
        const int low = UpperHexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        const auto decoded = static_cast<unsigned char>(high * 16 + low);
        if (!NeedsEscape(decoded)) return std::nullopt;
        out += static_cast<char>(decoded);
        i += 2;
    }
    return out;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void AppendDigits(std::string& out, int value, int width) {
    std::string digits = std::to_string(value);
    if (digits.size() < static_cast<std::size_t>(width)) out.append(width - digits.size(), '0');
    out += digits;
}

// Exactly width decimal digits.
std::optional<int> ReadDigits(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<RecordTime> ParseRecordTime(std::string_view text) {
    // "YYYY-MM-DD HH:MM:SS"
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':') {
        return std::nullopt;
    }
    const auto year = ReadDigits(text, 0, 4), month = ReadDigits(text, 5, 2), day = ReadDigits(text, 8, 2);
    const auto hour = ReadDigits(text, 11, 2), minute = ReadDigits(text, 14, 2),
               second = ReadDigits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
    const RecordTime time{*year, *month, *day, *hour, *minute, *second};
    if (!IsValidRecordTime(time)) return std::nullopt;
    return time;
}

// Decimal without sign or leading zeros, within 64 bits.
std::optional<std::uint64_t> ParseSize(std::string_view text) {
    if (text.empty() || text.size() > 20 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

// Takes the next line (without its CR LF) off the front of text; nothing when no CR LF ends it.
std::optional<std::string_view> TakeLine(std::string_view& text) {
    const std::size_t end = text.find(kLineEnd);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + kLineEnd.size());
    return line;
}

// The value of a "key=value" line with this key.
std::optional<std::string_view> TakeValue(std::string_view& text, std::string_view key) {
    const auto line = TakeLine(text);
    if (!line || line->size() <= key.size() || line->substr(0, key.size()) != key ||
        (*line)[key.size()] != '=') {
        return std::nullopt;
    }
    return line->substr(key.size() + 1);
}

bool EndsWithUpper(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() && EqualsUpper(name.substr(name.size() - suffix.size()), suffix);
}

// A part of a path that Windows would open as that very name: not empty, not "." or "..", no character
// that is a separator, a stream marker or a wildcard, and no trailing dot or blank (which Windows drops).
bool IsPlainPathPart(std::string_view part) {
    if (part.empty() || part.back() == '.' || part.back() == ' ') return false;
    for (const char ch : part) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || std::string_view("/:*?\"<>|").find(ch) != std::string_view::npos) return false;
    }
    return true;
}

std::string UpperDriveLetter(char letter) {
    return std::string(1, ToUpperAscii(std::string(1, letter))[0]);
}

} // namespace

bool IsValidRecordTime(const RecordTime& time) {
    if (time.year < 1601 || time.year > 9999 || time.month < 1 || time.month > 12) return false;
    if (time.day < 1 || time.day > DaysInMonth(time.year, time.month)) return false;
    return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 && time.second >= 0 &&
           time.second <= 59;
}

std::string RecordTimeText(const RecordTime& time) {
    std::string text;
    AppendDigits(text, time.year, 4);
    text += '-';
    AppendDigits(text, time.month, 2);
    text += '-';
    AppendDigits(text, time.day, 2);
    text += ' ';
    AppendDigits(text, time.hour, 2);
    text += ':';
    AppendDigits(text, time.minute, 2);
    text += ':';
    AppendDigits(text, time.second, 2);
    return text;
}

std::optional<std::string> FormatQuarantineRecord(const QuarantineRecord& record) {
    if (record.originalPath.empty() || !IsValidUtf8(record.originalPath) || !IsValidUtf8(record.threat) ||
        !IsValidRecordTime(record.utc) || !IsValidRecordTime(record.local) || !IsSha256Hex(record.sha256)) {
        return std::nullopt;
    }
    std::string text;
    const auto line = [&](std::string_view key, std::string_view value) {
        text += key;
        if (!key.empty()) text += '=';
        text += value;
        text += kLineEnd;
    };
    line("", kQuarantineRecordHeader);
    line("", kVersionLine);
    line("original", Escape(record.originalPath));
    line("threat", Escape(record.threat));
    line("utc", RecordTimeText(record.utc));
    line("local", RecordTimeText(record.local));
    line("size", std::to_string(record.size));
    line("sha256", record.sha256);
    if (text.size() > kMaxQuarantineRecordBytes) return std::nullopt;
    return text;
}

std::optional<QuarantineRecord> ParseQuarantineRecord(std::string_view bytes) {
    if (bytes.size() > kMaxQuarantineRecordBytes) return std::nullopt;
    std::string_view rest = bytes;
    if (TakeLine(rest) != std::optional<std::string_view>(kQuarantineRecordHeader)) return std::nullopt;
    if (TakeLine(rest) != std::optional<std::string_view>(kVersionLine)) return std::nullopt;

    QuarantineRecord record;
    const auto original = TakeValue(rest, "original");
    const auto threatLine = TakeLine(rest);
    // The threat may be empty, so its line is "threat=" with nothing after.
    if (!original || !threatLine || threatLine->substr(0, 7) != "threat=") return std::nullopt;
    const auto path = Unescape(*original);
    const auto threat = Unescape(threatLine->substr(7));
    if (!path || !threat || path->empty() || !IsValidUtf8(*path) || !IsValidUtf8(*threat))
        return std::nullopt;
    record.originalPath = *path;
    record.threat = *threat;

    const auto utcText = TakeValue(rest, "utc");
    const auto localText = TakeValue(rest, "local");
    const auto sizeText = TakeValue(rest, "size");
    const auto hash = TakeValue(rest, "sha256");
    if (!utcText || !localText || !sizeText || !hash || !rest.empty()) return std::nullopt;
    const auto utc = ParseRecordTime(*utcText);
    const auto local = ParseRecordTime(*localText);
    const auto size = ParseSize(*sizeText);
    if (!utc || !local || !size || !IsSha256Hex(*hash)) return std::nullopt;
    record.utc = *utc;
    record.local = *local;
    record.size = *size;
    record.sha256 = std::string(*hash);
    return record;
}

bool RecordMatchesContent(const QuarantineRecord& record, std::uint64_t size, std::string_view sha256Hex) {
    return record.size == size && IsSha256Hex(sha256Hex) && record.sha256 == sha256Hex;
}

bool IsQuarantineRecordName(std::string_view fileName) {
    return EndsWithUpper(fileName, kQuarantineRecordSuffix) || EndsWithUpper(fileName, kPendingRecordSuffix);
}

std::optional<RecordPaths> RecordPathsOf(std::string_view quarantinedPath) {
    if (quarantinedPath.empty()) return std::nullopt;
    RecordPaths paths{std::string(quarantinedPath), std::string(quarantinedPath)};
    paths.record += kQuarantineRecordSuffix;
    paths.pending += kPendingRecordSuffix;
    if (paths.pending.size() > kMaxPathText) return std::nullopt;
    return paths;
}

std::vector<std::string> OrphanRecordNames(const std::vector<std::string>& folderNames) {
    std::set<std::string> quarantined;
    for (const std::string& name : folderNames) {
        if (!IsQuarantineRecordName(name)) quarantined.insert(ToUpperAscii(name));
    }
    std::vector<std::string> orphans;
    for (const std::string& name : folderNames) {
        if (EndsWithUpper(name, kPendingRecordSuffix)) {
            orphans.push_back(name);
        } else if (EndsWithUpper(name, kQuarantineRecordSuffix)) {
            const std::string file = name.substr(0, name.size() - kQuarantineRecordSuffix.size());
            if (quarantined.count(ToUpperAscii(file)) == 0) orphans.push_back(name);
        }
    }
    return orphans;
}

std::optional<DrivePathParts> DrivePathPartsOf(std::string_view path) {
    if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return std::nullopt;
    const char letter = path[0];
    if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) return std::nullopt;
    for (std::size_t start = 3; start <= path.size();) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (!IsPlainPathPart(part) || part == "." || part == "..") return std::nullopt;
        start = end + 1;
    }
    DrivePathParts parts;
    parts.drive = UpperDriveLetter(letter) + ":";
    const std::size_t lastSlash = path.rfind('\\');
    parts.folder = std::string(path.substr(0, lastSlash == 2 ? 3 : lastSlash));
    return parts;
}

RestoreOutcome DecideRestoreToOrigin(std::string_view originalPath, const RestoreFacts& facts) {
    if (!facts.recordPresent) return RestoreOutcome::NoRecord;
    if (!DrivePathPartsOf(originalPath)) return RestoreOutcome::NotADrivePath;
    if (!facts.contentMatches) return RestoreOutcome::ContentChanged;
    if (!facts.drivePresent) return RestoreOutcome::DriveMissing;
    if (!facts.folderPresent) return RestoreOutcome::FolderMissing;
    if (facts.fileAtOriginal) return RestoreOutcome::FileExists;
    return RestoreOutcome::Restore;
}

std::string RestoreOutcomeText(RestoreOutcome outcome, std::string_view originalPath) {
    const std::string path(originalPath);
    const auto parts = DrivePathPartsOf(originalPath);
    const std::string drive = parts ? parts->drive : path;
    const std::string folder = parts ? parts->folder : path;
    switch (outcome) {
    case RestoreOutcome::Restore:
        return "The file was restored to " + path + ".";
    case RestoreOutcome::NoRecord:
        return "There is no record of where this file came from; it was not restored. Use Restore to Desktop "
               "instead.";
    case RestoreOutcome::NotADrivePath:
        return "The recorded place \"" + path + "\" is not a file on a drive; the file was not restored.";
    case RestoreOutcome::ContentChanged:
        return "The file was changed in quarantine since it was taken; it was not restored.";
    case RestoreOutcome::DriveMissing:
        return "Drive " + drive +
               " is not present; the file was not restored. Insert the drive and try again.";
    case RestoreOutcome::FolderMissing:
        return "The folder " + folder + " no longer exists; the file was not restored.";
    case RestoreOutcome::FileExists:
        return "A file already exists at " + path + "; nothing was replaced and the file was not restored.";
    }
    return {};
}

std::string RestoreMoveFailedText(std::string_view originalPath) {
    return "The file could not be moved to " + std::string(originalPath) + "; it stays in quarantine.";
}

} // namespace tollivar
