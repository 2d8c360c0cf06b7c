// The tab control of the main window and the bordered panel inside it that carries the pages.
#pragma once

#include <windows.h>

namespace tollivar {

HWND MainTab();
// Parent of every page control but the command buttons; its origin in the main window is (143, 95).
HWND PagePanel();

} // namespace tollivar
