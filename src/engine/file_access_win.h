// The engine's file tests on the real file system: existence, folder listing, environment values.
// Every path and name is UTF-8, and reaches the platform through its wide functions.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/drive_walk.h"
#include "engine/listed_existence.h"
#include "win/no_redirection_win.h"

namespace tollivar {

// True when a file exists at the path and can be opened for reading now (a folder never counts, nor
// does a file someone holds open without sharing). A bare name is looked for along the platform's
// search path. Paths beyond MAX_PATH are tested through their "\\?\" form.
bool FileExists(const std::string& path);

// The entries of a folder (path ending with "\") with the attributes the directory search gives;
// nothing when it cannot be listed.
std::optional<std::vector<DirectoryEntry>> ListFolder(const std::string& folder);

// The long and short names of every entry of a folder (path ending with "\"), or whether the folder
// is missing or cannot be listed, for the listed existence test.
FolderNames ListFolderNames(const std::string& folder);

// Where a file or folder really is, every link on the way resolved through an open handle, as the
// platform names it ("\\?\E:\dir\x.exe", "\\?\UNC\server\share\x"); empty when it cannot be opened
// or resolved, and then openError holds the reason (ERROR_FILE_NOT_FOUND for a file that is gone).
std::string FinalPathOfFile(const std::string& path, unsigned long* openError = nullptr);

// True when a file exists at the path and no link, mount point or short name on the way leads
// anywhere else than the path names.
bool FileIsWhereListed(const std::string& path);

// The value of an environment variable of this process, or nothing when it is not defined.
std::optional<std::string> EnvironmentValue(const std::string& name);

} // namespace tollivar
