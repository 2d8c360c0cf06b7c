// The bait shortcuts on a real drive: listed with the wide functions, read, parsed and judged. Paths
// and texts are UTF-8.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/bait_shortcut.h"
#include "engine/shortcut_rows.h"

namespace tollivar {

// The item's attributes, or nothing when no item is at the path (UTF-8).
std::optional<std::uint32_t> StickItemAttributes(const std::string& path);

// Reads and judges one shortcut file (UTF-8 path) on the drive whose root is root ("E:\"). Nothing
// when it cannot be read, is larger than a shortcut can be, is no shortcut, or is not bait.
std::optional<ShortcutFinding> JudgeShortcutFile(const std::string& path, const std::string& root);

// The bait among the "*.lnk" files directly in folder (UTF-8, ending with "\") of the drive at root,
// in listing order, read afresh.
std::vector<ShortcutFinding> BaitShortcutsIn(const std::string& folder, const std::string& root);

// The bait shortcut at a path (as the walk lists it or a row names it), judged afresh; nothing when
// it is gone or no longer bait.
std::vector<ShortcutFinding> BaitShortcutsNamed(const std::string& path, const std::string& root);

// The bait shortcuts of drive roots, remembering each shortcut's verdict by path, size and last-write
// time so that a repeated pass reads and judges no unchanged shortcut again (a shield pass runs ten
// times a second). A verdict is made again when its shortcut changes; healing always judges afresh.
// Not thread-safe: one owner.
class RootShortcutScanner {
  public:
    std::vector<ShortcutFinding> Findings(const std::string& root);
    // Files read since construction (for the figures and the tests).
    std::size_t FilesRead() const { return filesRead_; }

  private:
    struct Entry {
        bool known = false;
        std::uint64_t size = 0;
        std::uint64_t written = 0;
        std::optional<ShortcutFinding> finding; // nothing: not bait, not a shortcut or not readable
    };
    std::map<std::wstring, Entry> cache_;
    std::size_t filesRead_ = 0;
};

// The bait shortcuts of every root given, in order.
std::vector<ShortcutFinding> ShortcutFindings(RootShortcutScanner& scanner,
                                              const std::vector<std::string>& roots);

} // namespace tollivar
