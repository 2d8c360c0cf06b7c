#include "pages/shield_alert_win.h"

#include "win/module_win.h"
#include "config/install_paths_win.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"

namespace tollivar {
namespace {

AlertChoice* ChoiceOf(HWND dialog) { return reinterpret_cast<AlertChoice*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void Choose(HWND dialog, AlertChoice choice) {
    if (AlertChoice* slot = ChoiceOf(dialog)) *slot = choice;
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK ShieldAlertDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        MessageBeep(MB_ICONASTERISK);
        static const int kTextControls[] = {IDC_ALERT_HEAL_BUTTON, IDC_ALERT_IGNORE_BUTTON, IDC_ALERT_TEXT,
                                            IDC_ALERT_ADVICE_TEXT, IDC_ALERT_GROUP, IDC_ALERT_FULL_SCAN_BUTTON};
        for (int id : kTextControls)
            SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), FALSE);
        if (AlertChoice* slot = ChoiceOf(dialog)) *slot = AlertChoice::Ignore;
        break;
    }
    case WM_COMMAND:
        // The whole wParam: only clicks match, and Enter (IDOK) and Escape (IDCANCEL) match nothing.
        if (wParam == IDC_ALERT_HEAL_BUTTON) Choose(dialog, AlertChoice::Heal);
        else if (wParam == IDC_ALERT_IGNORE_BUTTON) Choose(dialog, AlertChoice::Ignore);
        else if (wParam == IDC_ALERT_FULL_SCAN_BUTTON) Choose(dialog, AlertChoice::FullScan);
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0); // the choice stays Ignore
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

AlertChoice ShowShieldAlert(HWND mainWindow) {
    AlertChoice choice = AlertChoice::Ignore;
    DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_ALERT), mainWindow, ShieldAlertDialog,
                    reinterpret_cast<LPARAM>(&choice));
    return choice;
}

} // namespace tollivar
