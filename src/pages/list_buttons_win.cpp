#include "pages/list_buttons_win.h"

#include "pages/list_rows_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_page_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

void EnableButtons(HWND mainWindow, std::initializer_list<int> ids, bool enable) {
    for (int id : ids) {
        HWND button = GetDlgItem(mainWindow, id);
        // Only a change is worth the messages: this runs after nearly every message of the window.
        if (button && (IsWindowEnabled(button) != FALSE) != enable) EnableWindow(button, enable);
    }
}

} // namespace

void RefreshListButtons(HWND mainWindow) {
    EnableButtons(mainWindow,
                  {IDC_SHIELD_SELECT_ALL_BUTTON, IDC_SHIELD_DESELECT_ALL_BUTTON, IDC_HEAL_SELECTED_BUTTON},
                  ListRowCount(ShieldList()) != 0);
    EnableButtons(mainWindow,
                  {IDC_SCAN_SELECT_ALL_BUTTON, IDC_SCAN_DESELECT_ALL_BUTTON, IDC_HEAL_SCAN_SELECTED_BUTTON},
                  ListRowCount(ScanList()) != 0);
}

} // namespace tollivar
