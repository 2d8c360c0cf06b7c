// Entry point: the main window is a modal dialog whose procedure is the program's only event loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window_win.h"
#include "win/module_win.h"
#include "resources/resource_ids.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    tollivar::SetModuleInstance(GetModuleHandleA(nullptr));
    const INT_PTR result = DialogBoxParamA(tollivar::ModuleInstance(), MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr,
                                           tollivar::MainWindowProc, 0);
    ExitProcess(static_cast<UINT>(result));
}
