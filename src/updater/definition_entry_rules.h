// What the entries of a definitions file may never name, so that a file that passes the update
// check cannot turn the scan against the user, Windows or Tollivar itself. Platform-free: the
// environment and the platform's list of protected files are injected.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/environment_reference.h"

namespace tollivar {

// Whether Windows ships and protects the file at a full path; nothing when the platform cannot answer.
using ProtectedFileTest = std::function<std::optional<bool>(const std::string& path)>;

// What the check needs to know of this computer.
struct DefinitionsSafety {
    EnvironmentLookup environment; // expands "F" entries as the scan does, and names the user's folders
    std::string installFolder;     // the folder of tollguard.exe, with or without a trailing backslash
    ProtectedFileTest isProtectedSystemFile;
};

enum class FileEntryVerdict {
    Allowed,      // including an entry whose variable is not defined: the scan reads no path from it
    NotFullPath,  // relative, a share, or a device form: not a file on a drive letter
    Folder,       // a drive root, a trailing separator, or a folder this computer is known to have
    TollivarFile, // the install folder or anything in it, or one of the program's own files
    UserFile,     // one of the user's top folders, or anything in the user's document folders
    WindowsFile,  // a file Windows ships and protects
};

// Judges the value of an "F" entry, its first environment reference expanded as the scan expands it,
// on the path the platform would open (NormalizePath). The user's top folders are the profile and its
// Desktop, Documents, Downloads, Pictures, Music, Videos, AppData and Start Menu folders, %APPDATA% and
// %LOCALAPPDATA%; files inside Documents, Pictures, Music and Videos are the user's own and refused
// too, while the rest of the profile (where threats do drop their files) stays open. Windows' files are
// those the injected test calls protected and, whatever it says, a short built-in list of critical
// ones (ntoskrnl.exe, hal.dll, kernel32.dll, ... in the system folder; explorer.exe in the Windows
// folder; the boot files at the root of the system drive). A file in the system folder that Windows
// does not ship stays allowed.
FileEntryVerdict JudgeFileEntry(std::string_view value, const DefinitionsSafety& safety);

// The same judgement for many entries on one computer: its folders are worked out once.
class FileEntryJudge {
  public:
    explicit FileEntryJudge(DefinitionsSafety safety);
    FileEntryVerdict operator()(std::string_view value) const;

  private:
    DefinitionsSafety safety_;
    std::string install_;                // upper-cased, no trailing separator; empty when unknown
    std::vector<std::string> folders_;   // naming one of these names a folder
    std::vector<std::string> userTop_;   // the user's top folders
    std::vector<std::string> documents_; // every file inside is the user's
    std::vector<std::string> windows_;   // Windows folders
};

// True for a process image name that healing must never end: Windows or the user's session cannot do
// without it, or it is Tollivar's own. Compared without regard to case.
bool IsNeverEndedProcess(std::string_view imageName);

} // namespace tollivar
