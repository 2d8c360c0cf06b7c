#include "heal/quarantine_listing.h"

#include "config/install_paths.h"
#include "heal/quarantine_record.h"
#include "heal/quarantine_names.h"

namespace tollivar {

QuarantineRowName SplitQuarantinedName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return {std::string(fileName), std::string()};
    return {std::string(fileName.substr(0, dot)), std::string(fileName.substr(dot))};
}

bool IsFolderSelfEntry(std::string_view fileName) {
    return fileName == "." || fileName == "..";
}

bool IsListedQuarantineEntry(std::string_view fileName) {
    return !fileName.empty() && !IsFolderSelfEntry(fileName) && !IsQuarantineRecordName(fileName);
}

std::string QuarantineSizeText(std::uint32_t sizeHigh, std::uint32_t sizeLow) {
    const std::uint64_t size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
    return std::to_string(size);
}

std::string CaptureTimeText(std::string_view dateText, std::string_view timeText) {
    std::string text(dateText);
    text += " at ";
    text += timeText;
    return text;
}

std::string CaptureTimeOfRecord(const RecordTime& local) {
    const auto two = [](int value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
    return CaptureTimeText(two(local.day) + "/" + two(local.month) + "/" + std::to_string(local.year) + " ",
                           two(local.hour) + ":" + two(local.minute) + ":" + two(local.second));
}

std::optional<std::string> QuarantinedPathOfRow(std::string_view quarantineFolder, std::string_view name,
                                                std::string_view suffix) {
    if (quarantineFolder.empty()) return std::nullopt;
    std::string file(name);
    file += suffix;
    if (!IsPlainFileName(file)) return std::nullopt;
    std::string path(quarantineFolder);
    path += file;
    if (path.size() > kMaxPathText) return std::nullopt;
    return path;
}

namespace {

// "C:\..." or "\\server\...": a failed desktop lookup leaves a bare backslash, which would put the
// file at the root of the current drive.
bool IsFullFolder(std::string_view folder) {
    if (folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\') return true;
    return folder.size() > 2 && folder.substr(0, 2) == "\\\\";
}

} // namespace

std::optional<std::string> RestorePathOfRow(std::string_view desktopFolder, std::string_view name) {
    if (!IsFullFolder(desktopFolder) || !IsPlainFileName(name)) return std::nullopt;
    std::string path(desktopFolder);
    path += name;
    if (path.size() > kMaxPathText) return std::nullopt;
    return path;
}

} // namespace tollivar
