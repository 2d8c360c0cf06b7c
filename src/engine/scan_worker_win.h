// The Threat Scan worker: one thread that walks the definitions, the fixed drives' autorun entries
// and the removable drives, and reports every step as a value. It never touches a window.
#pragma once

#include <functional>
#include <string>

#include "engine/scan_report.h"

namespace tollivar {

// Whether healing could take the program that the autorun.inf of the drive at root names; the scan
// lists the running process of such a program only then. Called on the worker thread.
using AutorunTargetTest = std::function<bool(const std::string& target, const std::string& root)>;

struct ScanOrder {
    std::string definitionsFile;
    AutorunTargetTest targetMayBeTaken;
    ScanReportSink send; // waits for the program to apply the report and returns its answer
    ScanReportSink post; // does not wait
};

// Starts the worker at below-normal priority; nothing waits for it. False when no thread could be
// started (then no report is ever sent).
bool StartScanWorker(ScanOrder order);

} // namespace tollivar
