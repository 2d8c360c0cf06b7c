// Paths of every file the program touches, derived once from the folder of the executable.
// Platform-free: no <windows.h>, tested natively.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

// Every path and list text holds at most this many characters (512-byte buffers with their terminator).
inline constexpr std::size_t kMaxPathText = 511;

struct InstallPaths {
    std::string installFolder;   // ends with a backslash
    std::string definitionsFile; // def.uas
    std::string counterFile;     // count.uas
    std::string settingsFile;    // settings.ini
    std::string quarantineFolder;
    std::string binFolder;
    std::string startupCommand;  // quoted tollguard.exe path + " /b"
    std::string desktopFolder;   // ends with a backslash
};

// The text from the second character up to and including the last backslash of the command line.
// The first character is taken to be the quote that opens the executable's path. Empty when there is
// no backslash after the first character.
std::string InstallFolderFromCommandLine(std::string_view commandLine);

// The folder of a full executable path, up to and including its last backslash; empty without one.
// For a command line that starts with the quoted executable path this equals
// InstallFolderFromCommandLine, and it stays right when arguments contain backslashes.
std::string InstallFolderFromModulePath(std::string_view modulePath);

// Start hidden in the tray when the command line's very last character is a lower-case 'b'
// (the start-with-Windows command ends in " /b").
bool HideAtStartFromCommandLine(std::string_view commandLine);

// The longest install folder whose paths all fit in kMaxPathText characters.
std::size_t MaxInstallFolderLength();

enum class PathsError { None, NoFolder, TooLong };

struct PathsResult {
    PathsError error = PathsError::None;
    InstallPaths paths;
};

// Builds every path from the install folder and the user's desktop folder (without its trailing
// backslash; empty when the lookup failed). Refuses a folder whose paths would not fit.
PathsResult BuildInstallPaths(std::string_view installFolder, std::string_view desktopDirectory);

} // namespace tollivar
