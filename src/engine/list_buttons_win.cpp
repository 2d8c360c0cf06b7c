#include "engine/list_buttons_win.h"

#include "engine/scan_worker_win.h"

namespace tollivar {

void RefreshListButtons(HWND) {
    if (ScanRunning()) return;
    // The detection pages and their buttons are not built yet: nothing to enable.
}

} // namespace tollivar
