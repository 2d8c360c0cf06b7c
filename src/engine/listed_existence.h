// A faster existence test for many paths in few folders: each folder is listed once, and a file
// whose name is not in its folder's listing is known to be absent without opening it. A name that
// is listed still goes through the real test, so every "exists" answer is the platform's own.
// Platform-free: the listing and the real test are injected.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/detection_rows.h"

namespace tollivar {

struct FolderNames {
    enum class Outcome {
        Listed,  // names holds every entry (long and short names) of the folder
        Missing, // the folder does not exist: nothing inside it can
        Unknown, // it could not be listed (access denied, ...): ask the real test
    };
    Outcome outcome = Outcome::Unknown;
    std::vector<std::string> names;
};

// Lists a folder given with its trailing backslash.
using FolderNameLister = std::function<FolderNames(const std::string& folder)>;

// Splits a path into its folder (with the trailing backslash) and its file name when the path is a
// plain drive path whose listing can decide absence: "X:\...\name", no "/", no empty, "." or ".."
// part, no part ending in a dot or a blank, no wildcard, and only ASCII (so upper-casing matches the
// file system's own case rule). Anything else returns false and is left to the real test.
bool SplitPlainPath(std::string_view path, std::string& folder, std::string& name);

class ListedExistence {
  public:
    ListedExistence(FolderNameLister list, FileExistsTest realTest);

    bool operator()(const std::string& path);

  private:
    struct Folder {
        FolderNames::Outcome outcome;
        std::unordered_set<std::string> upperNames;
    };
    const Folder& FolderOf(const std::string& folder);

    FolderNameLister list_;
    FileExistsTest realTest_;
    std::unordered_map<std::string, Folder> folders_; // by upper-cased folder path
};

} // namespace tollivar
