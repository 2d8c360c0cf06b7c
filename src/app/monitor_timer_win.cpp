#include "app/monitor_timer_win.h"

#include "config/install_paths_win.h"
#include "engine/resident_shield_win.h"

namespace tollivar {

void StartMonitorTimer(HWND mainWindow) { SetTimer(mainWindow, kMonitorTimerId, 100, nullptr); }

void StopMonitorTimer(HWND mainWindow) { KillTimer(mainWindow, kMonitorTimerId); }

void RearmMonitorTimer(HWND mainWindow) {
    KillTimer(mainWindow, kMonitorTimerId);
    SetTimer(mainWindow, kMonitorTimerId, 1000, nullptr);
}

void OnMonitorTick(HWND mainWindow) {
    RearmMonitorTimer(mainWindow);
    ResidentShieldPass(mainWindow);
    if (HideAtStart()) {
        ClearHideAtStart();
        SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
}

} // namespace tollivar
