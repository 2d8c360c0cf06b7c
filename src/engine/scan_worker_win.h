// The Threat Scan worker's running flag, read by the UI thread.
#pragma once

namespace tollivar {

void ClearScanRunning();
bool ScanRunning();

} // namespace tollivar
