#include "engine/drives_win.h"

#include <windows.h>

#include <cstring>

namespace tollivar {
namespace {

bool IsExaminedRemovable(const char* root, UINT type) {
    const bool floppy = std::strcmp(root, "A:\\") == 0 || std::strcmp(root, "B:\\") == 0;
    return !floppy && type == DRIVE_REMOVABLE;
}

} // namespace

std::vector<std::string> DriveRoots(DriveKind kind) {
    std::vector<std::string> roots;
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives) return roots;
    for (const char* root = drives; *root; root += std::strlen(root) + 1) {
        const UINT type = GetDriveTypeA(root);
        if (kind == DriveKind::Fixed && type == DRIVE_FIXED) roots.emplace_back(root);
        if (kind == DriveKind::Removable && IsExaminedRemovable(root, type)) roots.emplace_back(root);
    }
    return roots;
}

std::vector<std::string> RemovableRootsAmong(const std::vector<std::string>& roots) {
    std::vector<std::string> removable;
    for (const std::string& root : roots)
        if (IsExaminedRemovable(root.c_str(), GetDriveTypeA(root.c_str()))) removable.push_back(root);
    return removable;
}

} // namespace tollivar
