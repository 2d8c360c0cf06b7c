#include "engine/drives_win.h"

#include <windows.h>

#include <cstring>

namespace tollivar {

std::vector<std::string> DriveRoots(DriveKind kind) {
    std::vector<std::string> roots;
    char drives[512] = {};
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives) return roots;
    for (const char* root = drives; *root; root += std::strlen(root) + 1) {
        const UINT type = GetDriveTypeA(root);
        if (kind == DriveKind::Fixed && type == DRIVE_FIXED) roots.emplace_back(root);
        const bool floppy = std::strcmp(root, "A:\\") == 0 || std::strcmp(root, "B:\\") == 0;
        if (kind == DriveKind::Removable && !floppy && type == DRIVE_REMOVABLE) roots.emplace_back(root);
    }
    return roots;
}

} // namespace tollivar
