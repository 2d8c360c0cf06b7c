// Selecting a page: by command (tab moved, then the switchers) or by the user's tab click.
#pragma once

#include <windows.h>

namespace tollivar {

inline constexpr int kMainTabId = 2000;
inline constexpr int kPageCount = 5;

void ShowPage(HWND mainWindow, int page);

// WM_NOTIFY of the main window: only a selection change of the tab control switches pages.
void OnMainWindowNotify(HWND mainWindow, const NMHDR* header);

} // namespace tollivar
