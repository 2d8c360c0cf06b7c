// Settings page: the controls that show the user's settings; loading and saving them is done by the
// settings store.
#pragma once

#include <windows.h>

namespace tollivar {

HWND StartWithWindowsCheck();
HWND SplashCheck();
HWND AlertCheck();
HWND QuarantineRadio();
HWND DestroyRadio();

} // namespace tollivar
