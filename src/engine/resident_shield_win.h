// The Resident Shield: one pass over the removable drives on every monitor tick.
#pragma once

#include <windows.h>

namespace tollivar {

void ResetAlertCount();
void ResidentShieldPass(HWND mainWindow);

} // namespace tollivar
