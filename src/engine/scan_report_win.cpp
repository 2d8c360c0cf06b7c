#include "engine/scan_report_win.h"

#include <commctrl.h>

#include <memory>

#include "app/monitor_timer_win.h"
#include "app/status_bar_win.h"
#include "engine/detection_lists_win.h"
#include "engine/list_buttons_win.h"
#include "engine/resident_shield_win.h"
#include "engine/scan_worker_win.h"
#include "engine/shield_rules.h"
#include "pages/list_rows_win.h"
#include "pages/scan_page_win.h"

namespace tollivar {
namespace {

void EnableScanControls(bool enable) {
    for (HWND control : {ScanLocalDrivesCheck(), ScanRemovableCheck(), StartScanButton()})
        if (control) EnableWindow(control, enable);
}

bool Ticked(HWND box) { return box && SendMessageA(box, BM_GETCHECK, 0, 0) != BST_UNCHECKED; }

} // namespace

LRESULT CarryOutScanReport(HWND mainWindow, LPARAM lParam) {
    const std::unique_ptr<ScanReport> report(reinterpret_cast<ScanReport*>(lParam));
    if (!report) return 0;
    switch (report->kind) {
    case ScanReport::Kind::Begin:
        SendMessageA(ScanProgress(), PBM_SETPOS, 0, 0);
        StopMonitorTimer(mainWindow); // the shield rests while the scan runs
        SendMessageA(ScanList(), LVM_DELETEALLITEMS, 0, 0);
        SetScanStatusText(kScanningText);
        return 0;
    case ScanReport::Kind::Lock: {
        RefreshListButtons(mainWindow); // the scan's buttons grey out with the emptied list
        SetScanRunning(true);
        const LRESULT areas = (Ticked(ScanLocalDrivesCheck()) ? kScanLocalDrives : 0) |
                              (Ticked(ScanRemovableCheck()) ? kScanRemovableMedia : 0);
        EnableScanControls(false);
        return areas;
    }
    case ScanReport::Kind::Row:
        AddScanRow(ScanList(), report->row);
        return 0;
    case ScanReport::Kind::Progress:
        SendMessageA(ScanProgress(), PBM_SETPOS, static_cast<WPARAM>(report->progress), 0);
        return 0;
    case ScanReport::Kind::Status:
        SetProtectionStatus(mainWindow, report->text.c_str());
        return 0;
    case ScanReport::Kind::Finish:
        SetScanStatusText(ScanResultLine(ListRowCount(ScanList())));
        EnableScanControls(true);
        SetScanRunning(false);
        RefreshListButtons(mainWindow);
        EndScanUnderWay();
        RearmMonitorTimer(mainWindow);
        return 0;
    case ScanReport::Kind::ClosingPass:
        ResidentShieldPass(mainWindow);
        return 0;
    }
    return 0;
}

} // namespace tollivar
