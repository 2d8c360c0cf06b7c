#include "heal/autorun_target_rule.h"

#include <string>

#include "engine/autorun_rules.h"
#include "engine/path_form.h"

namespace tollivar {
namespace {

// A path that names a file on a drive letter, as the platform reads it; 0 for anything else.
char LetterOfFile(const NormalPath& path) {
    return path.namesFolder ? 0 : DriveLetterOf(path);
}

} // namespace

bool PathIsInsideFolder(std::string_view path, std::string_view folder) {
    const std::string f = ComparablePath(folder);
    if (f.empty()) return false;
    const std::string p = ComparablePath(path);
    return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '\\');
}

AutorunTargetPlace PlaceOfAutorunTarget(std::string_view targetPath, std::string_view driveRoot,
                                        std::string_view windowsFolder, std::string_view installFolder) {
    // Only a drive letter root ("E:\") can hold the target; a share, a device or no root cannot.
    const NormalPath root = NormalizePath(driveRoot);
    const char rootLetter = root.text.size() == 3 ? DriveLetterOf(root) : 0;
    // The drive root itself, a device form or a path on another letter is not the stick's program.
    const char targetLetter = LetterOfFile(NormalizePath(targetPath));
    if (rootLetter == 0 || targetLetter != rootLetter) return AutorunTargetPlace::OutsideItsDrive;
    if (PathIsInsideFolder(targetPath, windowsFolder)) return AutorunTargetPlace::InWindowsFolder;
    if (PathIsInsideFolder(targetPath, installFolder)) return AutorunTargetPlace::InInstallFolder;
    return AutorunTargetPlace::OnItsDrive;
}

} // namespace tollivar
