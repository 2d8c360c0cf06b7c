// What the scan worker asks of the UI thread. The worker never touches a window: it allocates one
// report per request and sends it to the main window with kScanReportMessage; the UI thread takes
// ownership of the report and carries it out. No buffer is shared between the two threads.
#pragma once

#include <windows.h>

#include <string>

#include "engine/detection_rows.h"

namespace tollivar {

inline constexpr UINT kScanReportMessage = WM_APP + 0x40;

struct ScanReport {
    enum class Kind {
        Begin,       // progress 0, shield paused, list emptied, "SCANNING, PLEASE WAIT..."
        Lock,        // buttons refreshed, scan marked running, areas and Start Scan greyed; answers the areas
        Row,         // one row for the Threat Scan list
        Progress,    // the progress bar's position
        Status,      // the status bar's left part ("Analyzing >> ...")
        Finish,      // the result line, controls enabled, running cleared, buttons refreshed, shield re-armed
        ClosingPass, // one Resident Shield pass (it may alert)
    };
    Kind kind = Kind::Begin;
    ScanRow row;
    int progress = 0;
    std::string text;
};

// The answer to Lock: the scan areas ticked when the scan began.
inline constexpr LRESULT kScanLocalDrives = 1;
inline constexpr LRESULT kScanRemovableMedia = 2;

// UI thread: takes ownership of the report (the message's lParam) and carries it out.
LRESULT CarryOutScanReport(HWND mainWindow, LPARAM report);

} // namespace tollivar
