// The one-second timer that drives the Resident Shield.
#pragma once

#include <windows.h>

namespace tollivar {

inline constexpr UINT_PTR kMonitorTimerId = 1;

// First tick after 100 ms; every tick re-arms the timer at 1000 ms.
void StartMonitorTimer(HWND mainWindow);
void StopMonitorTimer(HWND mainWindow);
void RearmMonitorTimer(HWND mainWindow);

// A tick: re-arm, one shield pass, then the first tick of a hidden start hides the window.
void OnMonitorTick(HWND mainWindow);

} // namespace tollivar
