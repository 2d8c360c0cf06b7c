#include "heal/quarantine_store_win.h"

#include <atomic>

#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "engine/file_access_win.h"
#include "heal/quarantine_names.h"

namespace tollivar {
namespace {

constexpr int kNameAttempts = 8;

std::atomic<std::uint32_t> g_nameSequence{0};

void EnsureFolder(const std::string& folder) {
    std::string path = folder;
    while (!path.empty() && path.back() == '\\') path.pop_back();
    if (path.empty() || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    CreateDirectoryA(path.c_str(), nullptr);
}

bool FolderOfPathExists(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    std::string folder = path.substr(0, slash + 1);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool RemoveThreatFileTo(const std::string& path, bool destroy, const std::string& quarantineFolder) {
    const NoFileRedirection noRedirection;
    if (destroy) return DeleteFileA(path.c_str()) != FALSE;

    EnsureFolder(quarantineFolder);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::int32_t suffix =
            QuarantineSuffix(GetTickCount(), g_nameSequence.fetch_add(1), GetCurrentProcessId());
        const auto destination = QuarantineDestination(quarantineFolder, path, suffix);
        if (!destination) return false; // the name would not fit a path buffer: leave the file alone
        // Never replaces a file; moves across drives by copying and deleting.
        if (MoveFileExA(path.c_str(), destination->c_str(), MOVEFILE_COPY_ALLOWED)) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

bool RemoveThreatFile(const std::string& path) {
    return RemoveThreatFileTo(path, Settings().destroyThreats == 1, Paths().quarantineFolder);
}

FileHealOutcome HealThreatFile(const std::string& path, bool destroy, const std::string& quarantineFolder) {
    {
        const NoFileRedirection noRedirection;
        if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND && FolderOfPathExists(path)) return FileHealOutcome::AlreadyGone;
            return FileHealOutcome::NotHealed;
        }
    }
    return RemoveThreatFileTo(path, destroy, quarantineFolder) ? FileHealOutcome::Removed
                                                               : FileHealOutcome::NotHealed;
}

} // namespace tollivar
