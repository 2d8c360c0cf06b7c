#include "heal/process_terminate_win.h"

#include <string>
#include <vector>

#include "win/handles_win.h"
#include "win/wide_text_win.h"
#include "config/text_rules.h"
#include "engine/autorun_rules.h"
#include "engine/process_lookup_win.h"

namespace tollivar {
namespace {

constexpr DWORD kEndWaitMs = 5000;

// Whether a snapshot still lists a process of this id and name (used when it cannot be opened).
bool ListedProcessRuns(DWORD processId, std::string_view imageName) {
    const std::string text = TakeProcessSnapshot().FindProcessText(
        imageName, [processId](const ProcessEntry& entry) { return entry.processId == processId; });
    return !text.empty();
}

std::string ImagePathOf(HANDLE process) {
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    return Utf8FromWide(std::wstring_view(path, size));
}

// The drive letters and the device names the platform gives their volumes, for native image paths.
std::vector<VolumeDrive> VolumeDrives() {
    std::vector<VolumeDrive> volumes;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const wchar_t drive[3] = {static_cast<wchar_t>(letter), L':', L'\0'};
        wchar_t device[MAX_PATH] = {};
        if (QueryDosDeviceW(drive, device, MAX_PATH))
            volumes.push_back({Utf8FromWide(device), std::string{letter, ':'}});
    }
    return volumes;
}

} // namespace

TerminateOutcome TerminateListedProcess(DWORD processId, std::string_view imageName, std::string_view imagePath) {
    if (imageName.empty()) return TerminateOutcome::Failed;
    if (processId == GetCurrentProcessId()) return TerminateOutcome::Failed;

    const UniqueHandle process(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
    if (!process)
        return ListedProcessRuns(processId, imageName) ? TerminateOutcome::Failed : TerminateOutcome::NotRunning;
    if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) return TerminateOutcome::NotRunning;

    // The handle pins this very process: what it is now is what would be ended.
    const std::string runningPath = ImagePathOf(process.get());
    if (runningPath.empty()) return TerminateOutcome::Failed;
    if (!EqualsUpper(FileNameOfPath(runningPath), imageName)) return TerminateOutcome::NotRunning;
    if (!imagePath.empty() && !ProcessImageIsTarget(runningPath, imagePath, VolumeDrives()))
        return TerminateOutcome::NotRunning;

    if (!TerminateProcess(process.get(), 0) && WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0)
        return TerminateOutcome::Failed;
    return WaitForSingleObject(process.get(), kEndWaitMs) == WAIT_OBJECT_0 ? TerminateOutcome::Terminated
                                                                            : TerminateOutcome::Failed;
}

} // namespace tollivar
