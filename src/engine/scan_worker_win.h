// The Threat Scan: "Start Scan >" starts one worker thread that walks the definitions, the fixed
// drives' autorun entries and the removable drives, and reports to the UI thread by message.
#pragma once

#include <windows.h>

namespace tollivar {

// scanRunning: set from the moment the scan's controls are greyed until its result is shown; while it
// is set, the row buttons of both detection pages keep their state.
void ClearScanRunning();
bool ScanRunning();
void SetScanRunning(bool running);

// True from the start request until the scan has finished: a second request meanwhile starts nothing,
// and monitor ticks that were already queued run no pass.
bool ScanUnderWay();
void EndScanUnderWay();

// "Start Scan >" (UI thread): starts the worker at below-normal priority unless a scan is under way.
void StartScanCommand(HWND mainWindow);

} // namespace tollivar
