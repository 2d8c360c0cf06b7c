// What the Quarantine manager shows of a quarantined file and the paths it derives from a row.
// Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollivar {

// A quarantined name split at its last ".": the threat's own name and the quarantine suffix with its
// dot ("autorun.inf.5841203qr" gives "autorun.inf" and ".5841203qr"). Without a dot: all name.
struct QuarantineRowName {
    std::string name;
    std::string suffix;
};
QuarantineRowName SplitQuarantinedName(std::string_view fileName);

// The folder's own entries "." and "..", which are not quarantined files.
bool IsFolderSelfEntry(std::string_view fileName);

// An entry of the quarantine folder that the list shows as a quarantined file: not "." or "..", and not
// the record kept beside a file (nor a record still being written). Files without a record are listed.
bool IsListedQuarantineEntry(std::string_view fileName);

// The file's whole size in decimal, also beyond 4 GB.
std::string QuarantineSizeText(std::uint32_t sizeHigh, std::uint32_t sizeLow);

// The Capture Time column: the date text (its format ends in a blank) + " at " + the time text.
std::string CaptureTimeText(std::string_view dateText, std::string_view timeText);

struct RecordTime;
// The Capture Time column of a file with a record: the recorded local time in the same layout
// ("10/12/2026  at 10:56:50"). Better than the file's creation time, which a move on one volume keeps
// from before the capture.
std::string CaptureTimeOfRecord(const RecordTime& local);

// quarantineFolder + name + suffix: the file the row stands for. Nothing when name + suffix is not a
// plain file name (see IsPlainFileName) or the path would not fit a path buffer.
std::optional<std::string> QuarantinedPathOfRow(std::string_view quarantineFolder, std::string_view name,
                                                std::string_view suffix);

// desktopFolder + name: where a restore puts the file. Nothing when the desktop folder is not a full
// path (a failed lookup), when the name is not a plain file name (it would land elsewhere or open a
// device), or when the path would not fit a path buffer.
std::optional<std::string> RestorePathOfRow(std::string_view desktopFolder, std::string_view name);

} // namespace tollivar
