// Selecting a page: by command (tab moved, then the switchers) or by the user's tab click.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

namespace tollivar {

inline constexpr int kMainTabId = IDC_MAIN_TAB;
inline constexpr int kPageCount = 5;

// The pages in the order of their tabs.
enum class Page { MainInfo = 0, Shield = 1, Scan = 2, Heal = 3, Settings = 4 };

void ShowPage(HWND mainWindow, Page page);

// WM_NOTIFY of the main window: only a selection change of the tab control switches pages.
void OnMainWindowNotify(HWND mainWindow, const NMHDR* header);

} // namespace tollivar
