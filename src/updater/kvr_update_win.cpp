// KVRUpdate.exe: the offline update program. It replaces the installed def.uas with a newer
// definitions file that the user picks (for example on a USB stick), keeps the old one as
// def.uas.bak and offers to start Tollivar again.
//
//   KVRUpdate.exe                 asks for the new file with the Open dialog
//   KVRUpdate.exe FILE            takes FILE, then asks the same questions
//   KVRUpdate.exe /s FILE         silent: no questions, no restart; the exit code tells the outcome
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "config/event_kinds.h"
#include "config/log_event_win.h"
#include "updater/definitions_check.h"
#include "updater/definitions_files_win.h"
#include "updater/desktop_start_win.h"
#include "updater/restart_route.h"
#include "updater/update_exit_codes.h"

namespace tollivar {
namespace {

constexpr char kCaption[] = "Tollivar Update";
constexpr char kUnchanged[] = "\r\n\r\nThe installed definitions have not been changed.";

// Everything sits in the folder of this program: the install folder.
std::string InstallFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n < sizeof path ? n : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::optional<std::string> EnvironmentVariable(const std::string& name) {
    char value[32767];
    const DWORD n = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
    if (n == 0 || n >= sizeof value) return std::nullopt;
    return std::string(value, n);
}

// Asks Windows whether it ships and protects a file; nothing when it cannot say.
std::optional<bool> WindowsProtectsFile(const std::string& path) {
    using SfcIsFileProtectedFn = BOOL(WINAPI*)(HANDLE, LPCWSTR);
    static const auto isProtected = [] {
        const HMODULE sfc = LoadLibraryA("sfc.dll");
        return sfc ? reinterpret_cast<SfcIsFileProtectedFn>(reinterpret_cast<void*>(GetProcAddress(sfc, "SfcIsFileProtected")))
                   : nullptr;
    }();
    if (!isProtected) return std::nullopt;
    wchar_t wide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH * 2) == 0) return std::nullopt;
    SetLastError(ERROR_SUCCESS);
    if (isProtected(nullptr, wide)) return true;
    // A file it does not protect is told apart from a question it could not answer.
    return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<bool>(false) : std::nullopt;
}

// The Open dialog starts on the first removable drive that holds a disk, where a new file usually is.
std::string FirstStickRoot() {
    char drives[256] = {};
    const DWORD n = GetLogicalDriveStringsA(sizeof drives - 1, drives);
    for (const char* root = drives; n && n < sizeof drives && *root; root += lstrlenA(root) + 1)
        if (GetDriveTypeA(root) == DRIVE_REMOVABLE && GetFileAttributesA(root) != INVALID_FILE_ATTRIBUTES) return root;
    return {};
}

std::optional<std::string> AskForFile() {
    char file[MAX_PATH * 2] = {};
    const std::string startFolder = FirstStickRoot();
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = "Tollivar definitions (*.uas)\0*.uas\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    dialog.lpstrTitle = "Choose the new Tollivar definitions file (def.uas)";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog)) return std::nullopt;
    return std::string(file);
}

// Every refusal is also written to the event log, with what the user was told.
int Tell(bool silent, const std::string& text, UINT icon, int code) {
    std::string reason = text;
    const std::string unchanged = kUnchanged;
    if (reason.size() > unchanged.size() &&
        reason.compare(reason.size() - unchanged.size(), unchanged.size(), unchanged) == 0)
        reason.resize(reason.size() - unchanged.size());
    WriteLogEvent(DefinitionsRefusedEvent(reason));
    if (!silent) MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK | icon);
    return code;
}

int RunUpdate(const std::string& candidatePath, bool silent) {
    const std::string folder = InstallFolder();
    const std::string definitionsFile = folder + "def.uas";

    const auto candidate = ReadWholeFile(candidatePath, kMaxDefinitionsFileSize);
    if (!candidate)
        return Tell(silent, "The file " + candidatePath + " could not be read." + kUnchanged, MB_ICONWARNING,
                    kUpdateUnreadable);
    const std::string installed = ReadWholeFile(definitionsFile, kMaxDefinitionsFileSize).value_or(std::string());

    DefinitionsSafety safety;
    safety.environment = EnvironmentVariable;
    safety.installFolder = folder;
    safety.isProtectedSystemFile = WindowsProtectsFile;
    const UpdateDecision decision = DecideUpdate(installed, *candidate, safety);
    switch (decision.verdict) {
    case UpdateVerdict::Unreadable:
        return Tell(silent, DescribeDecision(decision) + kUnchanged, MB_ICONWARNING, kUpdateUnreadable);
    case UpdateVerdict::SameVersion:
    case UpdateVerdict::Older:
        return Tell(silent, DescribeDecision(decision) + kUnchanged, MB_ICONINFORMATION, kUpdateNotNewer);
    case UpdateVerdict::Replace:
        break;
    }

    if (!silent) {
        const std::string question = DescribeDecision(decision) +
                                     "\r\n\r\nReplace the installed definitions? The installed file is kept as def.uas.bak.";
        if (MessageBoxA(nullptr, question.c_str(), kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return kUpdateCancelled;
    }

    switch (ReplaceDefinitionsFile(definitionsFile, folder + "def.uas.bak", *candidate)) {
    case ReplaceResult::Replaced:
        WriteLogEvent(DefinitionsUpdatedEvent(decision.candidate.version, decision.candidate.threats));
        break;
    case ReplaceResult::CannotWriteNew:
        return Tell(silent, "The new definitions could not be written to " + folder + "." + kUnchanged, MB_ICONERROR,
                    kUpdateFailed);
    case ReplaceResult::CannotKeepBackup:
        return Tell(silent, "The installed definitions could not be kept as def.uas.bak." + std::string(kUnchanged),
                    MB_ICONERROR, kUpdateFailed);
    case ReplaceResult::CannotReplace:
        return Tell(silent, "def.uas could not be replaced (is it in use?)." + std::string(kUnchanged), MB_ICONERROR,
                    kUpdateFailed);
    }

    if (!silent) {
        const std::string done = "The definitions have been updated to version " + decision.candidate.version +
                                 ".\r\nThe previous file is kept as def.uas.bak.\r\n\r\nStart Tollivar now?";
        if (MessageBoxA(nullptr, done.c_str(), kCaption, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
            const std::string program = folder + "tollguard.exe";
            const RestartRoute route = ChooseRestartRoute(ProcessIsElevated());
            const bool started =
                route == RestartRoute::Directly
                    ? reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", program.c_str(), nullptr, folder.c_str(),
                                                              SW_SHOWNORMAL)) > 32
                    : StartAsDesktopUser(program, folder);
            if (!started) MessageBoxA(nullptr, RestartNotDoneText(route, program).c_str(), kCaption, MB_ICONWARNING);
        }
    }
    return kUpdateReplaced;
}

} // namespace
} // namespace tollivar

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace tollivar;
    const int argc = __argc;
    char** argv = __argv;
    if (argc == 1) {
        const auto file = AskForFile();
        return file ? RunUpdate(*file, false) : kUpdateCancelled;
    }
    if (argc == 2 && argv[1][0] != '/') return RunUpdate(argv[1], false);
    if (argc == 3 && (lstrcmpiA(argv[1], "/s") == 0)) return RunUpdate(argv[2], true);
    MessageBoxA(nullptr, "Usage: KVRUpdate.exe [/s] [new def.uas]", "Tollivar Update", MB_ICONINFORMATION);
    return kUpdateBadCommandLine;
}
