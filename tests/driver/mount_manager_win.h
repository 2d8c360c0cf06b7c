// Drives added and removed while Wine runs, through its mount manager, and the notice Windows gives
// every top-level window when a volume comes or goes (Wine sends none for these drives).
#pragma once

#include <windows.h>

#include <string>

namespace tollivar::test {

// Maps the letter to a Unix folder as a removable drive; false (with the reason) when the mount
// manager refuses.
bool DefineRemovableDrive(char letter, const std::string& unixFolder, std::string* error = nullptr);

// Removes the letter's drive; false when the mount manager refuses (a letter that is not defined is
// not refused).
bool RemoveDefinedDrive(char letter, std::string* error = nullptr);

// Sends WM_DEVICECHANGE with a volume whose unit mask names the letter to every top-level window,
// as Windows does; `event` is DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE. Returns when every
// window answered or `timeoutMs` passed for it.
void AnnounceVolume(char letter, WPARAM event, UINT timeoutMs = 2000);

} // namespace tollivar::test
