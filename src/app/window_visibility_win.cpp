#include "app/window_visibility_win.h"

#include "app/dialogs_win.h"

namespace tollivar {
namespace {

bool g_hiddenInTray = false;
bool g_ownShow = false;

void ShowOwn(HWND mainWindow, int command) {
    g_ownShow = true;
    g_hiddenInTray = false;
    ShowWindow(mainWindow, command);
    g_ownShow = false;
}

} // namespace

void ShowAtStart(HWND mainWindow) {
    ShowOwn(mainWindow, SW_MINIMIZE);
    ShowOwn(mainWindow, SW_RESTORE);
}

void HideToTray(HWND mainWindow) {
    ShowTrayNotice(mainWindow);
    ShowWindow(mainWindow, SW_MINIMIZE);
    ShowWindow(mainWindow, SW_HIDE);
    g_hiddenInTray = true;
}

void RestoreAndShow(HWND mainWindow) {
    ShowOwn(mainWindow, SW_RESTORE);
    ShowOwn(mainWindow, SW_SHOW);
}

void RestoreFromTray(HWND mainWindow) { ShowOwn(mainWindow, SW_RESTORE); }

void KeepTrayHiddenWindowHidden(WINDOWPOS* change) {
    if (g_hiddenInTray && !g_ownShow && change && (change->flags & SWP_SHOWWINDOW))
        change->flags &= ~SWP_SHOWWINDOW;
}

} // namespace tollivar
