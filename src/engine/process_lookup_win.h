// Running processes: the snapshot, the full-access test, and the lookups of the detectors.
#pragma once

#include <windows.h>

#include <string>

#include "engine/autorun_rules.h"
#include "engine/process_text.h"

namespace tollivar {

// All running processes in the order the platform lists them.
ProcessSnapshot TakeProcessSnapshot();

// A process the user fully controls: it opens with full access and its token opens for adjusting
// privileges. Processes of other users or of the system are not reported.
bool UserControlsProcess(DWORD processId);

// "[%lX] - name" of the first running process with this image name (whole name, any case) that the
// user controls; empty when there is none. Takes a fresh snapshot.
std::string FindRunningProcess(const std::string& imageName);

// The same for the program an autorun entry names, but only a process whose image file is that
// program: a process of the same name elsewhere (the system's own svchost.exe) is never reported.
std::string FindRunningAutorunTarget(const AutorunFinding& finding);
std::string FindRunningAutorunTarget(const ProcessSnapshot& snapshot, const AutorunFinding& finding);

} // namespace tollivar
