#include "engine/drives_win.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <mutex>

namespace tollivar {
namespace {

bool IsExaminedRemovable(const char* root, UINT type) {
    const bool floppy = std::strcmp(root, "A:\\") == 0 || std::strcmp(root, "B:\\") == 0;
    return !floppy && type == DRIVE_REMOVABLE;
}

// Asking a drive's type costs a round trip to the system each time (milliseconds under Wine), and the
// shield asks every second. The types are kept while the set of letters stays the same, and asked
// again at least every few seconds, so a letter that changes its kind in place is seen soon.
constexpr ULONGLONG kTypesKeptMs = 5000;

struct DriveTypes {
    DWORD letters = 0;
    std::array<UINT, 26> types{};
    ULONGLONG askedAt = 0;
    bool valid = false;
};

std::mutex g_typesLock; // the shield (UI thread) and the scan worker both ask
DriveTypes g_types;

DriveTypes CurrentDriveTypes() {
    const DWORD letters = GetLogicalDrives();
    const ULONGLONG now = GetTickCount64();
    const std::lock_guard<std::mutex> lock(g_typesLock);
    if (!g_types.valid || g_types.letters != letters || now - g_types.askedAt >= kTypesKeptMs) {
        g_types.letters = letters;
        g_types.askedAt = now;
        g_types.valid = true;
        for (int i = 0; i < 26; ++i) {
            const char root[4] = {static_cast<char>('A' + i), ':', '\\', '\0'};
            g_types.types[static_cast<std::size_t>(i)] =
                (letters & (1u << i)) ? GetDriveTypeA(root) : static_cast<UINT>(DRIVE_NO_ROOT_DIR);
        }
    }
    return g_types;
}

} // namespace

std::vector<std::string> DriveRoots(DriveKind kind) {
    std::vector<std::string> roots;
    const DriveTypes drives = CurrentDriveTypes();
    for (int i = 0; i < 26; ++i) {
        if (!(drives.letters & (1u << i))) continue;
        const char root[4] = {static_cast<char>('A' + i), ':', '\\', '\0'};
        const UINT type = drives.types[static_cast<std::size_t>(i)];
        if (kind == DriveKind::Fixed && type == DRIVE_FIXED) roots.emplace_back(root);
        if (kind == DriveKind::Removable && IsExaminedRemovable(root, type)) roots.emplace_back(root);
    }
    return roots;
}

std::vector<std::string> RemovableRootsAmong(const std::vector<std::string>& roots) {
    // A volume just arrived: its letter is asked afresh, and the kept types with it.
    {
        const std::lock_guard<std::mutex> lock(g_typesLock);
        g_types.valid = false;
    }
    std::vector<std::string> removable;
    for (const std::string& root : roots)
        if (IsExaminedRemovable(root.c_str(), GetDriveTypeA(root.c_str()))) removable.push_back(root);
    return removable;
}

} // namespace tollivar
