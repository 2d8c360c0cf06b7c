// The shield looks at every drive each second, and reading an autorun.inf through the profile reader
// is the costly part of that look. This cache keeps each root's "open" value with the identity of the
// file it came from, so an unchanged file is not read again. Not thread-safe: one owner (the shield's
// pass on the UI thread); the scan reads fresh.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tollivar {

// What tells one autorun.inf from another, or the same one after a change: the volume, the file's id
// on it, its size and its last-write time.
struct FileStamp {
    std::uint32_t volumeSerial = 0;
    std::uint64_t fileId = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool operator==(const FileStamp& other) const {
        return volumeSerial == other.volumeSerial && fileId == other.fileId && size == other.size &&
               lastWrite == other.lastWrite;
    }
};

class AutorunReadCache {
  public:
    // The "open" value of the root's autorun.inf: the kept one when the file's stamp is the one it was
    // read with, else what `read` returns now (kept with the stamp). No stamp (no file, or it cannot be
    // opened): empty, and whatever was kept for the root is forgotten.
    std::string OpenValue(const std::string& root, const std::optional<FileStamp>& stamp,
                          const std::function<std::string()>& read);

  private:
    struct Entry {
        FileStamp stamp;
        std::string openValue;
    };
    std::map<std::string, Entry> entries_;
};

} // namespace tollivar
