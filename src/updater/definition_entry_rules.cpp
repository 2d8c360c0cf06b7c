#include "updater/definition_entry_rules.h"

#include <algorithm>
#include <array>
#include <vector>

#include "config/text_rules.h"
#include "engine/autorun_rules.h"
#include "engine/definitions_walk.h"
#include "engine/path_form.h"

namespace tollivar {
namespace {

// Processes that healing must never end: Windows and the user's session cannot run without them, and
// Tollivar's own.
constexpr std::array<std::string_view, 47> kNeverEnded = {
    "SYSTEM",
    "REGISTRY",
    "MEMORY COMPRESSION",
    "SECURE SYSTEM",
    "SMSS.EXE",
    "CSRSS.EXE",
    "WININIT.EXE",
    "WINLOGON.EXE",
    "LOGONUI.EXE",
    "SERVICES.EXE",
    "LSASS.EXE",
    "LSAISO.EXE",
    "LSM.EXE",
    "SVCHOST.EXE",
    "USERINIT.EXE",
    "EXPLORER.EXE",
    "DWM.EXE",
    "SIHOST.EXE",
    "CTFMON.EXE",
    "CONHOST.EXE",
    "FONTDRVHOST.EXE",
    "RUNTIMEBROKER.EXE",
    "TASKHOST.EXE",
    "TASKHOSTEX.EXE",
    "TASKHOSTW.EXE",
    "SEARCHHOST.EXE",
    "SEARCHUI.EXE",
    "SEARCHAPP.EXE",
    "SEARCHINDEXER.EXE",
    "STARTMENUEXPERIENCEHOST.EXE",
    "SHELLEXPERIENCEHOST.EXE",
    "TEXTINPUTHOST.EXE",
    "APPLICATIONFRAMEHOST.EXE",
    "AUDIODG.EXE",
    "SPOOLSV.EXE",
    "DLLHOST.EXE",
    "WMIPRVSE.EXE",
    "WUDFHOST.EXE",
    "SMARTSCREEN.EXE",
    "MSMPENG.EXE",
    "NISSRV.EXE",
    "SECURITYHEALTHSERVICE.EXE",
    "SGRMBROKER.EXE",
    "TASKMGR.EXE",
    "TOLLGUARD.EXE",
    "KVRUPDATE.EXE",
    "UNINSTALL.EXE",
};

// Names that are Tollivar's wherever they lie.
constexpr std::array<std::string_view, 6> kOwnFileNames = {
    "TOLLGUARD.EXE", "KVRUPDATE.EXE", "DEF.UAS", "DEF.UAS.BAK", "DEF.UAS.NEW", "COUNT.UAS",
};

// Files every Windows ships in its system folder and cannot start without.
constexpr std::array<std::string_view, 26> kCriticalSystemFiles = {
    "NTOSKRNL.EXE", "NTKRNLPA.EXE", "HAL.DLL",      "WINLOAD.EXE",    "WINLOAD.EFI", "WINRESUME.EXE",
    "CI.DLL",       "NTDLL.DLL",    "KERNEL32.DLL", "KERNELBASE.DLL", "USER32.DLL",  "GDI32.DLL",
    "ADVAPI32.DLL", "SHELL32.DLL",  "WINLOGON.EXE", "CSRSS.EXE",      "SMSS.EXE",    "LSASS.EXE",
    "SERVICES.EXE", "SVCHOST.EXE",  "WININIT.EXE",  "USERINIT.EXE",   "CMD.EXE",     "DWM.EXE",
    "CONHOST.EXE",  "RUNDLL32.EXE",
};

// Files of the Windows folder itself and of the system drive's root.
constexpr std::array<std::string_view, 2> kCriticalWindowsFiles = {"EXPLORER.EXE", "REGEDIT.EXE"};
constexpr std::array<std::string_view, 7> kBootFiles = {
    "BOOTMGR", "NTLDR", "NTDETECT.COM", "BOOT.INI", "PAGEFILE.SYS", "HIBERFIL.SYS", "SWAPFILE.SYS",
};

// The folders of a user profile that are the user's own.
constexpr std::array<std::string_view, 14> kProfileFolders = {
    "Desktop",          "Documents",  "Downloads", "Pictures", "Music",          "Videos",
    "Favorites",        "Links",      "Contacts",  "AppData",  "AppData\\Local", "AppData\\LocalLow",
    "AppData\\Roaming", "Start Menu",
};
// ...and those whose every file is the user's work.
constexpr std::array<std::string_view, 5> kDocumentFolders = {"Documents", "Pictures", "Music", "Videos",
                                                              "My Documents"};

// Variables that name folders of this computer.
constexpr std::array<std::string_view, 17> kFolderVariables = {
    "USERPROFILE",
    "APPDATA",
    "LOCALAPPDATA",
    "TEMP",
    "TMP",
    "ProgramData",
    "ALLUSERSPROFILE",
    "PUBLIC",
    "ProgramFiles",
    "ProgramFiles(x86)",
    "ProgramW6432",
    "CommonProgramFiles",
    "CommonProgramFiles(x86)",
    "CommonProgramW6432",
    "SystemRoot",
    "windir",
    "OneDrive",
};

template <typename List> bool Contains(const List& list, std::string_view upper) {
    return std::find(list.begin(), list.end(), upper) != list.end();
}

std::string FileNameOf(std::string_view comparable) {
    return std::string(comparable.substr(comparable.rfind('\\') + 1));
}

// The comparable folder that holds a comparable path; empty for a root.
std::string FolderOf(std::string_view comparable) {
    const std::size_t slash = comparable.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(comparable.substr(0, slash));
}

bool IsInside(std::string_view comparable, std::string_view folder) {
    return !folder.empty() && comparable.size() > folder.size() &&
           comparable.compare(0, folder.size(), folder) == 0 && comparable[folder.size()] == '\\';
}

// A comparable drive folder from a text that names one; empty otherwise.
std::string DriveFolder(std::string_view text) {
    const NormalPath path = NormalizePath(text);
    return path.form == PathForm::Drive ? ComparablePath(text) : std::string();
}

bool IsCriticalWindowsFile(const std::string& comparable, const std::vector<std::string>& windowsFolders) {
    const std::string folder = FolderOf(comparable);
    const std::string name = FileNameOf(comparable);
    for (const std::string& windows : windowsFolders) {
        if (IsInside(comparable, windows + "\\SYSTEM32\\CONFIG")) return true; // the registry's own files
        for (std::string_view system : {"\\SYSTEM32", "\\SYSWOW64", "\\SYSNATIVE"})
            if (folder == windows + std::string(system) && Contains(kCriticalSystemFiles, name)) return true;
        if (folder == windows && Contains(kCriticalWindowsFiles, name)) return true;
        if (folder == windows.substr(0, 2) && Contains(kBootFiles, name)) return true;
    }
    return false;
}

} // namespace

FileEntryJudge::FileEntryJudge(DefinitionsSafety safety) : safety_(std::move(safety)) {
    install_ = DriveFolder(safety_.installFolder);
    const auto value = [&](std::string_view name) -> std::string {
        if (!safety_.environment) return {};
        const std::optional<std::string> found = safety_.environment(std::string(name));
        return found ? DriveFolder(*found) : std::string();
    };
    const auto add = [](std::vector<std::string>& list, std::string folder) {
        if (!folder.empty()) list.push_back(std::move(folder));
    };
    for (std::string_view name : kFolderVariables)
        add(folders_, value(name));

    const std::string profile = value("USERPROFILE");
    if (!profile.empty()) {
        add(userTop_, profile);
        add(folders_, FolderOf(profile)); // the folder of every profile
        for (std::string_view sub : kProfileFolders)
            add(userTop_, ToUpperAscii(profile + "\\" + std::string(sub)));
        for (std::string_view sub : kDocumentFolders)
            add(documents_, ToUpperAscii(profile + "\\" + std::string(sub)));
    }
    for (std::string_view name : {"APPDATA", "LOCALAPPDATA"})
        add(userTop_, value(name));
    const std::string appData = value("APPDATA");
    if (!appData.empty()) {
        add(userTop_, appData + "\\MICROSOFT\\WINDOWS\\START MENU");
        add(userTop_, appData + "\\MICROSOFT\\WINDOWS\\START MENU\\PROGRAMS");
        add(userTop_, appData + "\\MICROSOFT\\WINDOWS\\START MENU\\PROGRAMS\\STARTUP");
    }
    add(documents_, value("OneDrive"));

    for (std::string_view name : {"SystemRoot", "windir"})
        add(windows_, value(name));
    // Without either variable the usual place still counts.
    if (windows_.empty()) windows_.push_back("C:\\WINDOWS");
    for (const std::string& windows : std::vector<std::string>(windows_)) {
        for (std::string_view sub : {"SYSTEM32", "SYSWOW64", "SYSNATIVE", "SYSTEM32\\DRIVERS",
                                     "SYSTEM32\\CONFIG", "SYSTEM", "WINSXS", "FONTS", "BOOT"})
            add(folders_, windows + "\\" + std::string(sub));
        add(folders_, windows);
    }
    folders_.insert(folders_.end(), userTop_.begin(), userTop_.end());
    folders_.insert(folders_.end(), documents_.begin(), documents_.end());
}

FileEntryVerdict FileEntryJudge::operator()(std::string_view value) const {
    const std::optional<std::string> expanded = ExpandDefinitionPath(value, safety_.environment);
    if (!expanded || expanded->empty()) return FileEntryVerdict::Allowed;
    const NormalPath path = NormalizePath(*expanded);
    if (path.form != PathForm::Drive) return FileEntryVerdict::NotFullPath;
    // A verbatim path keeps trailing dots and blanks that every other reader drops: such a name would be
    // judged as one file and shown as another.
    if (path.verbatim && NormalizePath(path.text).text != path.text) return FileEntryVerdict::NotFullPath;
    std::string comparable = ToUpperAscii(path.text);
    if (comparable.back() == '\\') comparable.pop_back();
    if (!install_.empty() && (comparable == install_ || IsInside(comparable, install_)))
        return FileEntryVerdict::TollivarFile;
    if (Contains(userTop_, comparable)) return FileEntryVerdict::UserFile;
    if (path.namesFolder) return FileEntryVerdict::Folder;
    if (Contains(folders_, comparable)) return FileEntryVerdict::Folder;
    for (const std::string& folder : documents_)
        if (IsInside(comparable, folder)) return FileEntryVerdict::UserFile;
    if (Contains(kOwnFileNames, FileNameOf(comparable))) return FileEntryVerdict::TollivarFile;

    if (IsCriticalWindowsFile(comparable, windows_)) return FileEntryVerdict::WindowsFile;
    if (safety_.isProtectedSystemFile) {
        const std::optional<bool> shipped = safety_.isProtectedSystemFile(path.text);
        if (shipped && *shipped) return FileEntryVerdict::WindowsFile;
    }
    return FileEntryVerdict::Allowed;
}

FileEntryVerdict JudgeFileEntry(std::string_view value, const DefinitionsSafety& safety) {
    return FileEntryJudge(safety)(value);
}

bool IsNeverEndedProcess(std::string_view imageName) {
    return Contains(kNeverEnded, ToUpperAscii(imageName));
}

} // namespace tollivar
