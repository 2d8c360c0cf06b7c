#include "config/install_paths_win.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "win/wide_text_win.h"

namespace tollivar {
namespace {

InstallPaths g_paths;
bool g_hideAtStart = false;

std::string ModulePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0 || n >= buffer.size()) return {};
    return Utf8FromWide(std::wstring_view(buffer.data(), n));
}

std::string DesktopDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
    return Utf8FromWide(buffer);
}

void RefuseFolder(HWND owner, const std::string& folder) {
    const std::string text = "Tollivar cannot run from this folder because its path is too long:\n\r" + folder +
                             "\n\r\n\rPlease install Tollivar in a folder whose path has at most " +
                             std::to_string(MaxInstallFolderLength()) + " characters.";
    MessageBoxW(owner, WideFromUtf8(text).c_str(), L"Tollivar", MB_OK | MB_ICONERROR);
}

} // namespace

PathSetup SetUpPaths(HWND mainWindow) {
    const char* commandLine = GetCommandLineA();
    g_hideAtStart = HideAtStartFromCommandLine(commandLine ? commandLine : "");

    // The executable's own path gives the folder even when the command line is not quoted.
    const std::string folder = InstallFolderFromModulePath(ModulePath());
    PathsResult built = BuildInstallPaths(folder, DesktopDirectory());
    if (built.error != PathsError::None) {
        RefuseFolder(mainWindow, folder);
        return PathSetup::FolderRefused;
    }
    g_paths = std::move(built.paths);
    SetFileAttributesW(WidePath(g_paths.definitionsFile).c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return PathSetup::Ok;
}

const InstallPaths& Paths() { return g_paths; }
bool HideAtStart() { return g_hideAtStart; }
void ClearHideAtStart() { g_hideAtStart = false; }

} // namespace tollivar
