#include "engine/scan_worker_win.h"

#include <atomic>

namespace tollivar {
namespace {

std::atomic<bool> g_scanRunning{false};

} // namespace

void ClearScanRunning() { g_scanRunning = false; }
bool ScanRunning() { return g_scanRunning; }

} // namespace tollivar
