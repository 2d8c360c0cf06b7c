// The steps of taking one file into quarantine with its record, in the order that keeps a crash from
// leaving a quarantined file without its record (see quarantine_record.h), over the file operations
// the shell provides. Platform-free, so that every failure between the steps can be tested.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "heal/quarantine_record.h"

namespace tollivar {

struct FileContent {
    std::uint64_t size = 0;
    std::string sha256; // lower-case hex
};

// The file operations of a quarantine; paths are as the shell names files.
class QuarantineFiles {
  public:
    virtual ~QuarantineFiles() = default;
    // Size and SHA-256 of the whole file; nothing when it cannot be read.
    virtual std::optional<FileContent> Hash(const std::string& path) = 0;
    // Something (file or folder) is at the path; true also when the answer is unknown but not "absent".
    virtual bool Exists(const std::string& path) = 0;
    // Creates the file (never replacing) with these bytes, flushed to the disk.
    virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
    // Renames within one folder, never replacing.
    virtual bool RenameNew(const std::string& from, const std::string& to) = 0;
    enum class Move { Done, NameTaken, Failed };
    // Moves a file, never replacing; across volumes by copying and deleting the source, which the
    // platform may report as done although the source could not be deleted.
    virtual Move MoveNew(const std::string& from, const std::string& to) = 0;
    virtual void Delete(const std::string& path) = 0;
};

struct QuarantineRequest {
    std::string path;         // the threat file
    std::string originalText; // its path as the record keeps it (UTF-8)
    std::string threat;       // what it is taken for (UTF-8)
    RecordTime utc;
    RecordTime local;
    // The quarantined path for each attempt (0, 1, ...); nothing when no name fits (the file stays).
    std::function<std::optional<std::string>(int attempt)> destinationFor;
    int attempts = 8;
};

enum class QuarantineStep {
    Quarantined,  // the file and its record are in the quarantine folder; the source is gone
    Unreadable,   // the content could not be hashed: no record can be written, so nothing moved
    NoName,       // no free name that fits, with room for its record
    RecordFailed, // the record could not be written: nothing moved
    MoveFailed,   // the move failed; the record (and any copy) removed, the file stays
    SourceStayed, // the move reported success but the source is still there: copy and record removed
};

struct QuarantineResult {
    QuarantineStep step = QuarantineStep::NoName;
    std::string quarantinedPath; // set when Quarantined
    QuarantineRecord record;     // the record written, when Quarantined
};

// Hashes the file, writes its record under the pending name, renames the record into place, then
// moves the file; on any failure removes what it wrote and leaves the file where it was. A name whose
// file, record or pending record is already taken is skipped for the next attempt.
QuarantineResult QuarantineWithRecord(QuarantineFiles& files, const QuarantineRequest& request);

} // namespace tollivar
