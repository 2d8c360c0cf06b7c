#include "app/tray_win.h"

#include <shellapi.h>

#include "win/handles_win.h"
#include "app/tray_menu_items.h"
#include "app/window_visibility_win.h"

namespace tollivar {
namespace {

UniqueMenu g_trayMenu;
bool g_trayIconShown = false;
NOTIFYICONDATAA g_trayIconData{};

} // namespace

void CreateTrayMenu() {
    g_trayMenu.reset(CreatePopupMenu());
    for (const TrayMenuItem& item : kTrayMenuItems)
        AppendMenuA(g_trayMenu.get(), MF_STRING, static_cast<UINT_PTR>(item.id), item.text);
}

void AddTrayIcon(HWND mainWindow, HICON icon) {
    g_trayIconData = NOTIFYICONDATAA{};
    g_trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    g_trayIconData.hWnd = mainWindow;
    g_trayIconData.uID = 0;
    g_trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_trayIconData.uCallbackMessage = kTrayCallbackMessage;
    g_trayIconData.hIcon = icon;
    lstrcpynA(g_trayIconData.szTip, kTrayTip, 64);
    Shell_NotifyIconA(NIM_ADD, &g_trayIconData);
    g_trayIconShown = true;
}

void ReAddTrayIcon(HWND mainWindow) {
    if (g_trayIconShown && g_trayIconData.hWnd == mainWindow) Shell_NotifyIconA(NIM_ADD, &g_trayIconData);
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &g_trayIconData);
    g_trayIconShown = false;
}

void OnTrayCallback(HWND mainWindow, WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != 0) return;
    if (mouseMessage == WM_LBUTTONDOWN) {
        RestoreFromTray(mainWindow);
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(mainWindow);
        TrackPopupMenu(g_trayMenu.get(), TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, mainWindow,
                       nullptr);
    }
}

} // namespace tollivar
