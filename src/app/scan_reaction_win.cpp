#include "app/scan_reaction_win.h"

#include <commctrl.h>

#include <memory>

#include "app/event_reports_win.h"
#include "app/monitor_timer_win.h"
#include "app/shield_reaction_win.h"
#include "app/status_bar_win.h"
#include "config/install_paths_win.h"
#include "engine/scan_worker_win.h"
#include "engine/shield_rules.h"
#include "heal/autorun_target_check_win.h"
#include "pages/detection_lists_win.h"
#include "pages/list_buttons_win.h"
#include "pages/list_rows_win.h"
#include "pages/scan_page_win.h"

namespace tollivar {
namespace {

bool g_scanInProgress = false; // UI thread only

ScanReportSink ReportSink(HWND mainWindow, bool wait) {
    return [mainWindow, wait](std::unique_ptr<ScanReport> report) -> std::intptr_t {
        if (!IsWindow(mainWindow)) return 0;
        const auto lParam = reinterpret_cast<LPARAM>(report.get());
        if (!wait) {
            if (PostMessageA(mainWindow, kScanReportMessage, 0, lParam)) report.release();
            return 0;
        }
        // The UI thread takes ownership as soon as the message arrives.
        return SendMessageA(mainWindow, kScanReportMessage, 0, reinterpret_cast<LPARAM>(report.release()));
    };
}

} // namespace

bool ScanInProgress() { return g_scanInProgress; }

void StartScanCommand(HWND mainWindow) {
    if (g_scanInProgress) return;
    ScanOrder order;
    order.definitionsFile = Paths().definitionsFile;
    order.targetMayBeTaken = [installFolder = Paths().installFolder](const std::string& target,
                                                                      const std::string& root) {
        return AutorunTargetMayBeTaken(target, root, installFolder);
    };
    order.send = ReportSink(mainWindow, true);
    order.post = ReportSink(mainWindow, false);
    if (StartScanWorker(std::move(order))) g_scanInProgress = true;
}

LRESULT CarryOutScanReport(HWND mainWindow, LPARAM lParam) {
    const std::unique_ptr<ScanReport> report(reinterpret_cast<ScanReport*>(lParam));
    if (!report) return 0;
    switch (report->kind) {
    case ScanReport::Kind::Begin:
        SendMessageA(ScanProgress(), PBM_SETPOS, 0, 0);
        StopMonitorTimer(mainWindow); // the shield rests while the scan runs
        ClearDetectionList(ScanList());
        SetScanStatusText(kScanningText);
        RefreshListButtons(mainWindow); // the scan's buttons grey out with the emptied list
        return 0;
    case ScanReport::Kind::Lock: {
        RefreshListButtons(mainWindow);
        const LRESULT areas = (LocalDrivesTicked() ? kScanLocalDrives : 0) |
                              (RemovableMediaTicked() ? kScanRemovableMedia : 0);
        EnableScanControls(false);
        return areas;
    }
    case ScanReport::Kind::Row:
        AddScanRow(ScanList(), report->row);
        LogScanDetection(report->row);
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
        g_scanInProgress = false;
        RefreshListButtons(mainWindow);
        RearmMonitorTimer(mainWindow);
        return 0;
    case ScanReport::Kind::ClosingPass:
        RunShieldPass(mainWindow);
        return 0;
    }
    return 0;
}

} // namespace tollivar
