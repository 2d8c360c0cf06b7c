// The Threat Scan as the program runs it: "Start Scan >" starts the worker, and every report the
// worker sends is applied here on the UI thread (rows, progress, texts, timer).
#pragma once

#include <windows.h>

namespace tollivar {

// The window message that carries a report: lParam owns it.
inline constexpr UINT kScanReportMessage = WM_APP + 0x40;

// True from the start request until the scan's result is shown: a second request meanwhile starts
// nothing, monitor ticks that were already queued run no pass, and the row buttons of both detection
// pages keep their state.
bool ScanInProgress();

// "Start Scan >": starts the worker unless a scan is in progress.
void StartScanCommand(HWND mainWindow);

// UI thread: takes ownership of the report (the message's lParam), applies it and returns the
// worker's answer.
LRESULT CarryOutScanReport(HWND mainWindow, LPARAM report);

} // namespace tollivar
