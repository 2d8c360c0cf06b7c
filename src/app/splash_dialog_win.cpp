#include "app/dialogs_win.h"

#include "resources/resource_ids.h"

namespace tollivar {
namespace {

constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMs = 4096;

// The picture decides the size: the dialog-unit size only matches it with the font it was laid out
// for, so the window is fitted around the bitmap and centred again.
void FitToPicture(HWND dialog) {
    HWND picture = GetDlgItem(dialog, IDC_SPLASH_PICTURE);
    const auto bitmap = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
    RECT frame{0, 0, info.bmWidth, info.bmHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(picture, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Only its own timer ends it: clicks, Enter, Escape and Alt+F4 (which arrive as IDOK, IDCANCEL or
// WM_CLOSE) are ignored.
INT_PTR CALLBACK SplashDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        FitToPicture(dialog);
        SetTimer(dialog, kSplashTimer, kSplashMs, nullptr);
    } else if (message == WM_TIMER && wParam == kSplashTimer) {
        KillTimer(dialog, kSplashTimer);
        EndDialog(dialog, 0);
    }
    return FALSE;
}

} // namespace

void ShowSplashDialog(HWND mainWindow) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SPLASH), mainWindow, SplashDialogProc, 0);
}

} // namespace tollivar
