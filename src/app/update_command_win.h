// "Update": hands over to the update program in the install folder and ends, once the user agrees.
#pragma once

#include <windows.h>

namespace tollivar {

// Asks first. On Yes makes def.uas writable for the update program, starts KVRUpdate.exe and shuts
// down; when the update program cannot be started, says so, puts def.uas's attributes back and keeps
// running.
void UpdateCommand(HWND mainWindow);

} // namespace tollivar
