// What healing may take, judged on the final path of the file it opened: the name the platform gives
// an open handle with every link on the way resolved ("\\?\E:\dir\x.exe" for a file on a drive
// letter, "\\?\UNC\server\share\x" for a share, or a failure for a volume without a letter).
// Platform-free: the shell resolves the handle and hands the text in.
#pragma once

#include <string_view>

namespace tollivar {

// True only when finalPath is a verbatim drive path ("\\?\E:\...", each part a plain name) of a file
// on the letter of driveRoot ("E:\"). A share, a volume or device path, an empty text (the path could
// not be resolved), the root itself and any other letter are false.
bool FinalPathIsOnDrive(std::string_view finalPath, std::string_view driveRoot);

// True only when finalPath (as above) is a file on a drive letter and equals listedPath as the
// platform reads it (NormalizePath), without regard to case: no link, mount point or short name on
// the way led somewhere else.
bool FinalPathIsListedPath(std::string_view finalPath, std::string_view listedPath);

} // namespace tollivar
