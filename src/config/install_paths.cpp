#include "config/install_paths.h"

namespace tollivar {
namespace {

constexpr std::string_view kDefinitionsName = "def.uas";
constexpr std::string_view kCounterName = "count.uas";
constexpr std::string_view kSettingsName = "settings.ini";
constexpr std::string_view kQuarantineName = "quarantine\\";
constexpr std::string_view kBinName = "bin\\";
constexpr std::string_view kProgramName = "tollguard.exe";
constexpr std::string_view kHiddenStartSuffix = "\" /b";

std::string Join(std::string_view a, std::string_view b) {
    std::string s;
    s.reserve(a.size() + b.size());
    s.append(a);
    s.append(b);
    return s;
}

} // namespace

std::string InstallFolderFromCommandLine(std::string_view commandLine) {
    const std::size_t last = commandLine.rfind('\\');
    if (last == std::string_view::npos || last < 1) return {};
    return std::string(commandLine.substr(1, last));
}

std::string InstallFolderFromModulePath(std::string_view modulePath) {
    const std::size_t last = modulePath.rfind('\\');
    if (last == std::string_view::npos) return {};
    return std::string(modulePath.substr(0, last + 1));
}

bool HideAtStartFromCommandLine(std::string_view commandLine) {
    return !commandLine.empty() && commandLine.back() == 'b';
}

std::size_t MaxInstallFolderLength() {
    // The start-up command is the longest text built on the folder: quote + folder + name + "\" /b".
    const std::size_t longestTail = 1 + kProgramName.size() + kHiddenStartSuffix.size();
    return kMaxPathText - longestTail;
}

PathsResult BuildInstallPaths(std::string_view installFolder, std::string_view desktopDirectory) {
    PathsResult result;
    if (installFolder.empty() || installFolder.back() != '\\') {
        result.error = PathsError::NoFolder;
        return result;
    }
    if (installFolder.size() > MaxInstallFolderLength()) {
        result.error = PathsError::TooLong;
        return result;
    }
    InstallPaths& p = result.paths;
    p.installFolder = std::string(installFolder);
    p.definitionsFile = Join(installFolder, kDefinitionsName);
    p.counterFile = Join(installFolder, kCounterName);
    p.settingsFile = Join(installFolder, kSettingsName);
    p.quarantineFolder = Join(installFolder, kQuarantineName);
    p.binFolder = Join(installFolder, kBinName);
    p.startupCommand = Join(Join("\"", installFolder), Join(kProgramName, kHiddenStartSuffix));
    // The desktop only matters for restoring quarantined files; a path that would not fit is
    // left as the bare backslash a failed lookup gives, so restoring fails instead of overflowing.
    if (desktopDirectory.size() + 1 <= kMaxPathText) p.desktopFolder = Join(desktopDirectory, "\\");
    else p.desktopFolder = "\\";
    return result;
}

} // namespace tollivar
