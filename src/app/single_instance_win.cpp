#include "app/single_instance_win.h"

#include "win/handles_win.h"
#include "app/instance_rule.h"

namespace tollivar {
namespace {

int CountProgramCopies() {
    UniqueSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int copies = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        if (IsProgramImageName(entry.szExeFile)) ++copies;
    return copies;
}

} // namespace

void EndIfAnotherCopyRuns(HWND mainWindow) {
    if (!AnotherCopyRuns(CountProgramCopies())) return;
    MessageBoxA(mainWindow,
                "Another instance of Tollivar is already running.\n\rPlease click in icon in the system tray to "
                "restore it..",
                "[ WARNING ]", MB_OK);
    TerminateProcess(GetCurrentProcess(), 0);
}

} // namespace tollivar
