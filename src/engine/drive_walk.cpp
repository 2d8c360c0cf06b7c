#include "engine/drive_walk.h"

#include "config/install_paths.h"
#include "engine/drive_walk_rules.h"

namespace tollivar {
namespace {

struct Level {
    std::string folder; // ends with "\"
    std::vector<DirectoryEntry> entries;
    std::size_t next = 0;
};

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Could the file system take these two names for one file? Conservative: beyond ASCII the platform's
// case rules are its own, so such bytes are taken to match.
bool MayNameSameFile(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!IsAscii(a[i]) || !IsAscii(b[i])) continue;
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

bool ListsFileNamed(const std::vector<DirectoryEntry>& entries, std::string_view name) {
    for (const DirectoryEntry& e : entries)
        if ((e.attributes & kAttributeDirectory) == 0 && MayNameSameFile(e.name, name)) return true;
    return false;
}

void TestFolderExecutable(const std::string& folder, const std::string& name,
                          const std::vector<DirectoryEntry>* listing, const DriveWalkHooks& hooks) {
    const std::string path = FolderExecutablePath(folder, name);
    // A path the list could not name in full is not tested.
    if (path.size() > kMaxPathText) return;
    // With the folder's listing at hand, the existence test is made only where it can succeed.
    if (listing && !ListsFileNamed(*listing, FolderExecutableName(name))) return;
    if (hooks.fileExists && hooks.fileExists(path) && hooks.addRow)
        hooks.addRow(MakeScanRow(path, kKindFile, kAutoitCC));
}

bool IsShortcutName(std::string_view name) {
    if (name.size() <= 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    for (std::size_t i = 0; i < 4; ++i)
        if (UpperAscii(tail[i]) != ".LNK"[i]) return false;
    return true;
}

void ExamineFile(const std::string& path, const DirectoryEntry& entry, const DriveWalkHooks& hooks) {
    if (hooks.showStatus) hooks.showStatus(AnalyzingText(path));
    if (hooks.examineShortcut && IsShortcutName(entry.name)) hooks.examineShortcut(path);
    // A file that cannot be opened (in use) is passed over, as the walk has always done. A path the
    // list cannot hold in full is not listed either: its cut text would name another file (or the
    // same row twice), and healing acts on the text.
    if (path.size() <= kMaxPathText && (entry.attributes & kAttributeHidden) != 0 &&
        HasListedExtension(entry.name) && hooks.fileExists && hooks.fileExists(path) && hooks.addRow)
        hooks.addRow(MakeScanRow(path, kKindFile, kSuspicious));
}

} // namespace

void WalkRemovableDrive(std::string_view root, const DriveWalkHooks& hooks) {
    if (!hooks.list) return;
    std::optional<std::vector<DirectoryEntry>> top = hooks.list(std::string(root));
    if (!top) return;
    std::vector<Level> levels;
    levels.push_back(Level{std::string(root), std::move(*top), 0});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.entries.size()) {
            levels.pop_back();
            continue;
        }
        const DirectoryEntry entry = std::move(level.entries[level.next++]);
        switch (ClassifyEntry(entry.name, entry.attributes)) {
        case EntryKind::Skipped:
        case EntryKind::Link:
            break;
        case EntryKind::File:
            ExamineFile(level.folder + entry.name, entry, hooks);
            break;
        case EntryKind::Folder: {
            std::string folder = level.folder + entry.name + "\\";
            std::optional<std::vector<DirectoryEntry>> listing = hooks.list(folder);
            TestFolderExecutable(folder, entry.name, listing ? &*listing : nullptr, hooks);
            // Pushing may move the levels; `level` is not used after this.
            if (listing) levels.push_back(Level{std::move(folder), std::move(*listing), 0});
            break;
        }
        }
    }
}

} // namespace tollivar
