// One copy of the program at a time.
#pragma once

#include <windows.h>

namespace tollivar {

// Counts the processes running this program's executable name; when another copy runs, says so
// and ends this process with exit code 0 before anything else of the start-up has run.
void EndIfAnotherCopyRuns(HWND mainWindow);

} // namespace tollivar
