// Whether healing may take away the program a drive's autorun.inf names. Platform-free.
//
// The autorun.inf on a stick is written by whoever made the stick, so it may name any file at all
// ("open=C:\WINDOWS\system32\cmd.exe"). Healing takes only a program that lies on the very drive whose
// autorun.inf named it, and never one inside the Windows folder or the install folder. Files named by
// the definitions are not autorun targets and keep their own rules.
#pragma once

#include <string_view>

namespace tollivar {

enum class AutorunTargetPlace {
    OnItsDrive,       // may be healed
    OutsideItsDrive,  // another drive, a share, or no drive at all
    InWindowsFolder,
    InInstallFolder,
};

// Where the target lies, judged on the paths as the platform reads them (NormalizePath): driveRoot is
// the root of the drive whose autorun.inf named the target ("E:\"). Only a drive path on that letter
// is on its drive; a device form ("/\?\E:\..\UNC\...", "\\.\E:\x"), a share, a relative path or
// the root itself is OutsideItsDrive. The two folders may end with a backslash or not, and an empty
// folder is no folder. The lexical judgement is not enough on its own: links on the stick can lead
// elsewhere, so healing also asks FinalPathIsOnDrive about the file it opened.
AutorunTargetPlace PlaceOfAutorunTarget(std::string_view targetPath, std::string_view driveRoot,
                                        std::string_view windowsFolder, std::string_view installFolder);

// True when a path lies inside the folder (the folder itself included), compared lexically.
bool PathIsInsideFolder(std::string_view path, std::string_view folder);

} // namespace tollivar
