// Taking one threat file out of the user's way: into the quarantine folder under a new name, or
// deleted for good, as the settings say.
#pragma once

#include <windows.h>

#include <string>

namespace tollivar {

// Moves the file into quarantineFolder (ending in a backslash; created when missing) as its name +
// "." + a number + "qr", or deletes it when destroy is set. A name already taken in the folder is
// never replaced: another number is tried. True only when the file is gone from its place.
bool RemoveThreatFileTo(const std::string& path, bool destroy, const std::string& quarantineFolder);

// The same with the install's quarantine folder and the destroy setting read at start-up.
bool RemoveThreatFile(const std::string& path);

enum class FileHealOutcome {
    Removed,     // moved to quarantine or deleted
    AlreadyGone, // no such file any more in a folder that can be read
    NotHealed,   // still there: its attributes could not be reset, or it could not be moved or deleted
};

// Resets the file's attributes to normal (the gate before any removal) and removes it.
FileHealOutcome HealThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder);

} // namespace tollivar
