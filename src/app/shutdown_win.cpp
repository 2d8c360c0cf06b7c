#include "app/shutdown_win.h"

#include "app/tray_win.h"

namespace tollivar {

void ShutdownProgram(HWND mainWindow) {
    RemoveTrayIcon();
    EndDialog(mainWindow, 0);
}

} // namespace tollivar
