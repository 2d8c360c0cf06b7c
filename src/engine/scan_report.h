// What the scan worker tells the program while it runs: one value per report, in order. The worker
// computes and reports; the program applies each report on the UI thread (rows, progress, texts,
// timer). Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/detection_rows.h"

namespace tollivar {

struct ScanReport {
    enum class Kind {
        Begin,       // the scan starts: progress 0, shield paused, list emptied, "SCANNING, PLEASE WAIT..."
        Lock,        // controls greyed; the answer names the scan areas ticked now
        Row,         // one row for the Threat Scan list
        Progress,    // the progress bar's position
        Status,      // the status bar's left part ("Analyzing >> ...")
        Finish,      // the result line, controls enabled, shield re-armed
        ClosingPass, // one Resident Shield pass (it may alert)
    };
    Kind kind = Kind::Begin;
    ScanRow row;
    int progress = 0;
    std::string text;
};

// The answer to Lock: the scan areas ticked when the scan began.
inline constexpr std::intptr_t kScanLocalDrives = 1;
inline constexpr std::intptr_t kScanRemovableMedia = 2;

// Hands a report to the program. The worker's sink waits for the answer; the closing pass is handed
// to a sink that does not wait (the pass may sit in the alert for as long as the user takes).
using ScanReportSink = std::function<std::intptr_t(std::unique_ptr<ScanReport>)>;

} // namespace tollivar
