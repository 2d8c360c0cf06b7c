#include "heal/autorun_target_check_win.h"

#include <windows.h>

#include <cctype>

#include "heal/autorun_target_rule.h"
#include "win/handles_win.h"
#include "win/no_redirection_win.h"

namespace tollivar {
namespace {

// The long form of an existing path; the path itself when it has none.
std::string LongFormOf(const std::string& path) {
    char longPath[MAX_PATH * 2] = {};
    const DWORD n = GetLongPathNameA(path.c_str(), longPath, sizeof longPath);
    return n > 0 && n < sizeof longPath ? std::string(longPath, n) : path;
}

// Where the file really is, links on the way resolved, as a drive path ("\\?\E:\..."); empty when it
// cannot be opened or the platform names it some other way (a volume or host path says nothing about
// drive letters and is not judged).
std::string FinalPathOf(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return {};
    char finalPath[MAX_PATH * 2] = {};
    const DWORD n = GetFinalPathNameByHandleA(file.get(), finalPath, sizeof finalPath, FILE_NAME_NORMALIZED);
    if (n == 0 || n >= sizeof finalPath) return {};
    const std::string found(finalPath, n);
    const std::size_t start = found.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
    const bool drivePath = found.size() >= start + 3 && std::isalpha(static_cast<unsigned char>(found[start])) &&
                           found[start + 1] == ':' && found[start + 2] == '\\';
    return drivePath ? found : std::string();
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    return n > 0 && n < sizeof folder ? std::string(folder, n) : std::string();
}

} // namespace

// Every name of the target (as listed, its long form, where a link leads) is judged against both
// forms of both folders.
bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder) {
    const NoFileRedirection noRedirection;
    const std::string windows = WindowsFolder();
    // Without the Windows folder nothing can be ruled out: take nothing.
    if (windows.empty()) return false;
    const std::string folders[][2] = {{windows, installFolder},
                                      {LongFormOf(windows), installFolder.empty() ? "" : LongFormOf(installFolder)}};
    for (const std::string& name : {target, LongFormOf(target), FinalPathOf(target)}) {
        if (name.empty()) continue;
        for (const auto& pair : folders)
            if (PlaceOfAutorunTarget(name, root, pair[0], pair[1]) != AutorunTargetPlace::OnItsDrive) return false;
    }
    return true;
}

} // namespace tollivar
