// The walk of a removable drive for hidden files with listed extensions and for folder-named
// executables. Platform-free: the directory listing and the existence test are injected, so the walk
// runs as well over the real drive as over a tree made up in a test.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analyzing_text.h"
#include "engine/detection_rows.h"

namespace tollivar {

struct DirectoryEntry {
    std::string name;             // as the directory search returns it
    std::uint32_t attributes = 0; // from the same search
};

// The entries of a folder (its path ends with "\"), in the order the directory search returns them,
// "." and ".." included or not; nothing when the folder cannot be listed.
using DirectoryLister = std::function<std::optional<std::vector<DirectoryEntry>>(const std::string& folder)>;

// Judges one shortcut file the walk meets (its path as the listing gives it) and adds its rows.
using ShortcutExamination = std::function<void(const std::string& path)>;

struct DriveWalkHooks {
    DirectoryLister list;
    FileExistsTest fileExists;
    StatusSink showStatus; // " Analyzing >>  " + the path of each file examined
    ScanRowSink addRow;
    ShortcutExamination examineShortcut; // called for every file named "*.lnk" (any case)
};

// Depth first from root ("E:\"): a subfolder is walked completely where it is met, after its
// folder-named executable has been tested. Rows: "Win32.Autoit.CC" for folder\name\name .exe when it
// exists; "suspicious." for every existing hidden file with a listed extension. Entries whose names
// begin with "." are skipped with everything inside; folder links are not entered. A folder that
// cannot be listed adds nothing. Iterative: the depth of the tree does not touch the call stack, and
// paths of any length are walked: status texts are cut to 511 characters, and a file whose path does
// not fit a row's 511 characters gives no row.
void WalkRemovableDrive(std::string_view root, const DriveWalkHooks& hooks);

} // namespace tollivar
