#include "app/main_window_win.h"

#include "app/commands_win.h"
#include "app/device_arrival_win.h"
#include "app/monitor_timer_win.h"
#include "app/startup_win.h"
#include "app/tray_win.h"
#include "app/window_visibility_win.h"
#include "pages/list_buttons_win.h"
#include "app/scan_reaction_win.h"
#include "pages/page_switch_win.h"

namespace tollivar {

namespace {

// While a scan runs its buttons stay greyed even as rows arrive, and the shield's keep their state.
void RefreshListButtonsUnlessScanning(HWND window) {
    if (!ScanInProgress()) RefreshListButtons(window);
}

// Explorer broadcasts this after it restarts; the notification area is new and holds no icon.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

} // namespace

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
    case WM_DEVICECHANGE:
        // A dialog procedure answers through DWLP_MSGRESULT: TRUE grants every query.
        OnDeviceChange(window, wParam, lParam);
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case kArrivalPassMessage:
        RunArrivalPass(window, wParam);
        break;
    case WM_WINDOWPOSCHANGING:
        KeepTrayHiddenWindowHidden(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    default:
        if (message == kTrayCallbackMessage) OnTrayCallback(window, wParam, lParam);
        if (message != 0 && message == TaskbarCreatedMessage()) ReAddTrayIcon(window);
        if (message == kScanReportMessage) {
            // The worker's request carries an answer: a dialog procedure returns it this way.
            const LRESULT answer = CarryOutScanReport(window, lParam);
            RefreshListButtonsUnlessScanning(window);
            SetWindowLongPtrA(window, DWLP_MSGRESULT, answer);
            return TRUE;
        }
        break;
    }
    RefreshListButtonsUnlessScanning(window);
    return FALSE;
}

} // namespace tollivar
