#include "app/device_arrival_win.h"

#include <dbt.h>

#include "app/scan_reaction_win.h"
#include "app/shield_reaction_win.h"
#include "engine/drive_units.h"
#include "engine/drives_win.h"

namespace tollivar {

void OnDeviceChange(HWND mainWindow, WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL || data == 0) return;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header->dbch_devicetype != DBT_DEVTYP_VOLUME || header->dbch_size < sizeof(DEV_BROADCAST_VOLUME))
        return;
    const DWORD units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
    if (units != 0) PostMessageA(mainWindow, kArrivalPassMessage, units, 0);
}

void RunArrivalPass(HWND mainWindow, WPARAM unitMask) {
    if (ScanInProgress()) return;
    const std::vector<std::string> roots =
        RemovableRootsAmong(RootsOfUnitMask(static_cast<std::uint32_t>(unitMask)));
    if (!roots.empty()) RunShieldPass(mainWindow, roots);
}

} // namespace tollivar
