#include "app/status_bar_win.h"

#include <commctrl.h>

#include "config/install_paths_win.h"
#include "config/text_rules.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"

namespace tollivar {

void SetUpStatusBar(HWND mainWindow) {
    int rightEdges[2] = {520, -1};
    SendDlgItemMessageA(mainWindow, IDC_STATUS_BAR, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rightEdges));
    SetProtectionStatus(mainWindow, " [ NO INFECTIONS FOUND, SYSTEM IS PROTECTED ]");
    SendDlgItemMessageA(mainWindow, IDC_STATUS_BAR, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), TRUE);
}

void SetProtectionStatus(HWND mainWindow, const char* text) {
    const std::string cut = CutToBuffer(text);
    SendDlgItemMessageA(mainWindow, IDC_STATUS_BAR, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(cut.c_str()));
}

} // namespace tollivar
