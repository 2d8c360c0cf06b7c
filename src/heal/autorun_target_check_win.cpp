#include "heal/autorun_target_check_win.h"

#include <windows.h>

#include "engine/file_access_win.h"
#include "engine/final_path_rules.h"
#include "heal/autorun_target_rule.h"
#include "win/no_redirection_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// The long form of an existing path; the path itself when it has none.
std::string LongFormOf(const std::string& path) {
    const std::wstring wide = WidePath(path);
    std::wstring longPath(MAX_PATH * 2, L'\0');
    DWORD n = GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    if (n >= longPath.size()) {
        longPath.resize(n + 1);
        n = GetLongPathNameW(wide.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
    }
    // A long path keeps the verbatim prefix it was asked with; the place rules know that form.
    return n > 0 && n < longPath.size() ? Utf8FromWide(std::wstring_view(longPath.data(), n)) : path;
}

std::string WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? Utf8FromWide(std::wstring_view(folder, n)) : std::string();
}

bool Gone(unsigned long error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

} // namespace

TargetCheck CheckAutorunTarget(const std::string& target, const std::string& root, const std::string& installFolder) {
    const NoFileRedirection noRedirection;
    const std::string windows = WindowsFolder();
    // Without the Windows folder nothing can be ruled out: take nothing.
    if (windows.empty()) return TargetCheck::Refused;
    const std::string folders[][2] = {{windows, installFolder},
                                      {LongFormOf(windows), installFolder.empty() ? "" : LongFormOf(installFolder)}};
    const auto onItsDrive = [&](const std::string& name) {
        for (const auto& pair : folders)
            if (PlaceOfAutorunTarget(name, root, pair[0], pair[1]) != AutorunTargetPlace::OnItsDrive) return false;
        return true;
    };
    // The listed name first: a device path or another drive is refused before anything is opened.
    if (!onItsDrive(target)) return TargetCheck::Refused;
    unsigned long error = 0;
    const std::string finalPath = FinalPathOfFile(target, &error);
    if (finalPath.empty()) return Gone(error) ? TargetCheck::Gone : TargetCheck::Refused;
    if (!FinalPathIsOnDrive(finalPath, root)) return TargetCheck::Refused;
    return onItsDrive(finalPath) && onItsDrive(LongFormOf(target)) ? TargetCheck::MayBeTaken : TargetCheck::Refused;
}

bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder) {
    return CheckAutorunTarget(target, root, installFolder) == TargetCheck::MayBeTaken;
}

TargetCheck CheckListedPlace(const std::string& path) {
    const NoFileRedirection noRedirection;
    unsigned long error = 0;
    const std::string finalPath = FinalPathOfFile(path, &error);
    if (finalPath.empty()) return Gone(error) ? TargetCheck::Gone : TargetCheck::Refused;
    return FinalPathIsListedPath(finalPath, path) ? TargetCheck::MayBeTaken : TargetCheck::Refused;
}

} // namespace tollivar
