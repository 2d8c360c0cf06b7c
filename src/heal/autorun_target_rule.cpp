#include "heal/autorun_target_rule.h"

#include <string>

#include "engine/autorun_rules.h"

namespace tollivar {

bool PathIsInsideFolder(std::string_view path, std::string_view folder) {
    const std::string f = ComparablePath(folder);
    if (f.empty()) return false;
    const std::string p = ComparablePath(path);
    return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '\\');
}

AutorunTargetPlace PlaceOfAutorunTarget(std::string_view targetPath, std::string_view driveRoot,
                                        std::string_view windowsFolder, std::string_view installFolder) {
    const std::string root = ComparablePath(driveRoot);
    // Only a drive letter root ("E:") can hold the target; anything else (a share, no root) cannot.
    const bool letterRoot = root.size() == 2 && root[1] == ':' && root[0] >= 'A' && root[0] <= 'Z';
    const std::string target = ComparablePath(targetPath);
    // The drive root itself is no program.
    if (!letterRoot || target.size() <= root.size() + 1 || !PathIsInsideFolder(targetPath, driveRoot))
        return AutorunTargetPlace::OutsideItsDrive;
    if (PathIsInsideFolder(targetPath, windowsFolder)) return AutorunTargetPlace::InWindowsFolder;
    if (PathIsInsideFolder(targetPath, installFolder)) return AutorunTargetPlace::InInstallFolder;
    return AutorunTargetPlace::OnItsDrive;
}

} // namespace tollivar
