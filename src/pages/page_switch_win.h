// Selecting a page: by command (tab moved, then the switchers) or by the user's tab click.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

namespace tollivar {

inline constexpr int kMainTabId = IDC_MAIN_TAB;
inline constexpr int kPageCount = 5;

void ShowPage(HWND mainWindow, int page);

// WM_NOTIFY of the main window: only a selection change of the tab control switches pages.
void OnMainWindowNotify(HWND mainWindow, const NMHDR* header);

} // namespace tollivar
