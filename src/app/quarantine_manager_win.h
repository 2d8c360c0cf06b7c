// The Quarantine manager (dialog 1142): lists the quarantine folder and deletes a file for good or
// restores it to the desktop.
#pragma once

#include <windows.h>

namespace tollivar {

// Modal over owner; returns when the user closes it.
void ShowQuarantineManager(HWND owner);

} // namespace tollivar
