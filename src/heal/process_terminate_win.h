// Ending a process that a Threat Scan row lists, safe against its id having been reused.
#pragma once

#include <windows.h>

#include <string_view>

namespace tollivar {

enum class TerminateOutcome {
    Terminated, // the listed process has ended
    NotRunning, // no process of that id and image name runs any more: nothing to do
    Failed,     // it still runs: it could not be opened, checked or ended
};

// Opens the process first and then checks, through that handle, that its image file has the listed
// name (and, when imagePath is given, that its full image path is that file: a program of the same
// name elsewhere is another program), so a process that took over the id after the scan is never
// touched. Waits a moment for the process to end so that its file can be removed next. This program
// itself is never ended.
TerminateOutcome TerminateListedProcess(DWORD processId, std::string_view imageName, std::string_view imagePath = {});

} // namespace tollivar
