#include "app/main_window_win.h"

#include "app/commands_win.h"
#include "app/monitor_timer_win.h"
#include "app/startup_win.h"
#include "app/tray_win.h"
#include "app/window_visibility_win.h"
#include "engine/list_buttons_win.h"
#include "engine/scan_report_win.h"
#include "pages/page_switch_win.h"

namespace tollivar {

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return FALSE; // default colours, and no list-button refresh for these
    case WM_INITDIALOG:
        RunStartup(window); // ends with its own list-button refresh
        return FALSE;
    case WM_TIMER:
        OnMonitorTick(window);
        break;
    case WM_CLOSE:
        HideToTray(window);
        break;
    case WM_COMMAND:
        RunCommand(window, wParam);
        break;
    case WM_NOTIFY:
        OnMainWindowNotify(window, reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_WINDOWPOSCHANGING:
        KeepTrayHiddenWindowHidden(window, reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    default:
        if (message == kTrayCallbackMessage) OnTrayCallback(window, wParam, lParam);
        if (message == kScanReportMessage) {
            // The worker's request carries an answer: a dialog procedure returns it this way.
            const LRESULT answer = CarryOutScanReport(window, lParam);
            RefreshListButtons(window);
            SetWindowLongPtrA(window, DWLP_MSGRESULT, answer);
            return TRUE;
        }
        break;
    }
    RefreshListButtons(window);
    return FALSE;
}

} // namespace tollivar
