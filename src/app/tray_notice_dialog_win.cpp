#include "app/dialogs_win.h"

#include <string>

#include "win/handles_win.h"
#include "config/install_paths_win.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr char kTraySection[] = "TRAY";
constexpr char kTrayKey[] = "1";

bool SwitchedOff() {
    return GetPrivateProfileIntW(WideFromUtf8(kTraySection).c_str(), WideFromUtf8(kTrayKey).c_str(), 0,
                                 WidePath(Paths().settingsFile).c_str()) != 0;
}

void OnInitDialog(HWND dialog, HFONT font) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON));
    if (icon) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    const auto wfont = reinterpret_cast<WPARAM>(font);
    SendMessageA(dialog, WM_SETFONT, wfont, TRUE);
    for (int id : {IDC_TRAY_NOTICE_TEXT, IDC_TRAY_NOTICE_CHECK, IDC_TRAY_NOTICE_OK_BUTTON, IDC_TRAY_NOTICE_HINT})
        SendDlgItemMessageA(dialog, id, WM_SETFONT, wfont, TRUE);
    // Switched off meanwhile: end before the dialog is ever shown.
    if (SwitchedOff()) SendMessageA(dialog, WM_CLOSE, 0, 0);
}

// "Ok" keeps the box's state; the close box keeps nothing, so the notice comes again next time.
INT_PTR CALLBACK TrayNoticeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<HFONT>(lParam));
        break;
    case WM_COMMAND:
        if (wParam == IDC_TRAY_NOTICE_OK_BUTTON) {
            const LRESULT state = SendDlgItemMessageA(dialog, IDC_TRAY_NOTICE_CHECK, BM_GETCHECK, 0, 0);
            const std::string value = std::to_string(state);
            WritePrivateProfileStringW(WideFromUtf8(kTraySection).c_str(), WideFromUtf8(kTrayKey).c_str(),
                                       WideFromUtf8(value).c_str(), WidePath(Paths().settingsFile).c_str());
            SendMessageA(dialog, WM_CLOSE, 0, 0);
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

void ShowTrayNotice(HWND mainWindow) {
    if (SwitchedOff()) return;
    UniqueFont font(NewTahomaFont(false)); // deleted once the dialog and its controls are gone
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TRAY_NOTICE), mainWindow, TrayNoticeProc,
                    reinterpret_cast<LPARAM>(font.get()));
}

} // namespace tollivar
