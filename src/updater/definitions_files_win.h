// The update program's file work: reading a definitions file, and replacing the installed def.uas
// with a backup kept, so that a refused or failed update never changes the installed file.
#pragma once

#include <optional>
#include <string>

namespace tollivar {

// The whole file, or nothing when it cannot be opened or read. A file larger than maxSize is read only
// up to maxSize + 1 bytes, which is enough for the size check to refuse it.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxSize);

enum class ReplaceResult {
    Replaced,
    CannotWriteNew,   // the new text could not be written beside def.uas
    CannotKeepBackup, // the installed file could not be copied to def.uas.bak
    CannotReplace,    // def.uas could not be replaced by the new file
};

// Writes newText beside definitionsFile, copies the installed file (when there is one) to backupFile,
// then moves the new file over it and marks it read-only, hidden and system as the program keeps it.
// On any failure the installed file keeps its content and attributes.
ReplaceResult ReplaceDefinitionsFile(const std::string& definitionsFile, const std::string& backupFile,
                                     const std::string& newText);

} // namespace tollivar
