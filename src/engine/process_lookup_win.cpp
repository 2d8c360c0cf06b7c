#include "engine/process_lookup_win.h"

#include <vector>

#include "win/handles_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// The full-access right the detectors ask for, as older systems define it.
constexpr DWORD kFullProcessAccess = 0x1F0FFF;

std::string ProcessImagePath(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return Utf8FromWide(std::wstring_view(path, size));
}

// The long form of a path that may hold short (8.3) folder or file names.
std::string LongPathOf(const std::string& path) {
    wchar_t longPath[MAX_PATH * 4] = {};
    const DWORD n = GetLongPathNameW(WidePath(path).c_str(), longPath, MAX_PATH * 4);
    return n > 0 && n < MAX_PATH * 4 ? Utf8FromWide(std::wstring_view(longPath, n)) : path;
}

} // namespace

ProcessSnapshot TakeProcessSnapshot() {
    std::vector<ProcessEntry> entries;
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot) {
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
             more = Process32NextW(snapshot.get(), &entry))
            entries.push_back(ProcessEntry{entry.th32ProcessID, Utf8FromWide(entry.szExeFile)});
    }
    return ProcessSnapshot(std::move(entries));
}

bool UserControlsProcess(DWORD processId) {
    UniqueHandle process(OpenProcess(kFullProcessAccess, FALSE, processId));
    if (!process) return false;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process.get(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    CloseHandle(token);
    return true;
}

std::string FindRunningProcess(const std::string& imageName) {
    return TakeProcessSnapshot().FindProcessText(
        imageName, [](const ProcessEntry& entry) { return UserControlsProcess(entry.processId); });
}

std::string FindRunningAutorunTarget(const ProcessSnapshot& snapshot, const AutorunFinding& finding) {
    if (!finding.Found()) return {};
    const std::string target = finding.targetPath;
    return snapshot.FindProcessText(finding.targetName, [&](const ProcessEntry& entry) {
        const std::string image = ProcessImagePath(entry.processId);
        if (image.empty()) return false;
        const bool isTarget = ProcessImageIsTarget(image, target) ||
                              ProcessImageIsTarget(LongPathOf(image), LongPathOf(target));
        return isTarget && UserControlsProcess(entry.processId);
    });
}

std::string FindRunningAutorunTarget(const AutorunFinding& finding) {
    return FindRunningAutorunTarget(TakeProcessSnapshot(), finding);
}

} // namespace tollivar
