#include "app/status_bar_win.h"

#include <commctrl.h>

#include "config/install_paths_win.h"
#include "config/text_rules.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"
#include "win/wide_text_win.h"

namespace tollivar {

void SetUpStatusBar(HWND mainWindow) {
    int rightEdges[2] = {520, -1};
    SendDlgItemMessageA(mainWindow, IDC_STATUS_BAR, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rightEdges));
    SetProtectionStatus(mainWindow, " [ NO INFECTIONS FOUND, SYSTEM IS PROTECTED ]");
    SendDlgItemMessageA(mainWindow, IDC_STATUS_BAR, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), TRUE);
}

void SetProtectionStatus(HWND mainWindow, const char* text) {
    // Wide: a path in the text (the scan's "Analyzing >> ...") shows with its real name.
    const std::wstring cut = WideFromUtf8(CutToBuffer(text));
    SendDlgItemMessageW(mainWindow, IDC_STATUS_BAR, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(cut.c_str()));
}

} // namespace tollivar
