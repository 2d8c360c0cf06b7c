#include "app/monitor_timer_win.h"

#include "config/install_paths_win.h"
#include "app/scan_reaction_win.h"
#include "app/shield_reaction_win.h"

namespace tollivar {

void StartMonitorTimer(HWND mainWindow) { SetTimer(mainWindow, kMonitorTimerId, 100, nullptr); }

void StopMonitorTimer(HWND mainWindow) { KillTimer(mainWindow, kMonitorTimerId); }

void RearmMonitorTimer(HWND mainWindow) {
    KillTimer(mainWindow, kMonitorTimerId);
    SetTimer(mainWindow, kMonitorTimerId, 1000, nullptr);
}

void OnMonitorTick(HWND mainWindow) {
    if (ScanInProgress()) {
        // A tick queued before the scan stopped the timer: the shield rests until the scan re-arms it.
        StopMonitorTimer(mainWindow);
    } else {
        RearmMonitorTimer(mainWindow);
        RunShieldPass(mainWindow);
    }
    if (HideAtStart()) {
        ClearHideAtStart();
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
}

} // namespace tollivar
