// Taking one threat file out of the user's way: into the quarantine folder under a new name with its
// record beside it, or deleted for good, as the settings say.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "heal/quarantine_steps.h"

namespace tollivar {

// Where a removal put the file.
struct ThreatFileRemoval {
    bool removed = false;        // the file is gone from its place
    std::string quarantinedPath; // where it went; empty when it was deleted (or stayed)
};

// Moves the file into quarantineFolder (ending in a backslash; created when missing) as its name +
// "." + a number + "qr", with its record (original path, threat, times, size, SHA-256) written and
// renamed into place before the move; or deletes it when destroy is set. A name already taken in the
// folder is never replaced: another number is tried. removed is true only when the file is gone from
// its place; a move that copied but left the source (its delete denied) counts as not removed, and its
// copy and record are removed. threat is the row's text the file is taken for. Paths and texts are UTF-8.
ThreatFileRemoval TakeThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder,
                                 const std::string& threat);

// The same, for callers that only need to know whether the file went.
bool RemoveThreatFileTo(const std::string& path, bool destroy, const std::string& quarantineFolder);

// The same with the install's quarantine folder and the destroy setting read at start-up.
bool RemoveThreatFile(const std::string& path);

enum class FileHealOutcome {
    Removed,     // moved to quarantine or deleted
    AlreadyGone, // no such file any more in a folder that can be read
    NotHealed,   // still there: its attributes could not be reset, or it could not be moved or deleted
};

// Resets the file's attributes to normal (the gate before any removal) and removes it; when it was
// quarantined, *quarantinedPath (if given) is where it went.
FileHealOutcome HealThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder,
                               const std::string& threat = {}, std::string* quarantinedPath = nullptr);

// Size and SHA-256 of a file's whole content; nothing when it cannot be read.
std::optional<FileContent> HashFileContent(const std::string& path);

} // namespace tollivar
