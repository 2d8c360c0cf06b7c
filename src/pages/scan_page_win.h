// Threat Scan page: the scan-area check boxes, the result list, the progress bar and the status text
// that the scan worker, the settings and healing work with.
#pragma once

#include <windows.h>

#include <string_view>

namespace tollivar {

HWND ScanMemoryCheck(); // always checked and greyed
HWND ScanLocalDrivesCheck();
HWND ScanRemovableCheck();
HWND ScanList();
HWND ScanProgress();
HWND ScanStatusText();
HWND StartScanButton(); // a child of the main window
void SetScanStatusText(std::string_view text);

// The scan-area boxes and "Start Scan >" are greyed while a scan runs.
void EnableScanControls(bool enable);
bool LocalDrivesTicked();
bool RemovableMediaTicked();

} // namespace tollivar
