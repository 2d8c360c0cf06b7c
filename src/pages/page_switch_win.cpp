#include "pages/page_switch_win.h"

#include <commctrl.h>

#include "pages/pages_win.h"

namespace tollivar {
namespace {

void SwitchTo(Page page) {
    ShowMainInfoPage(page == Page::MainInfo);
    ShowShieldPage(page == Page::Shield);
    ShowScanPage(page == Page::Scan);
    ShowHealPage(page == Page::Heal);
    ShowSettingsPage(page == Page::Settings);
}

} // namespace

void ShowPage(HWND mainWindow, Page page) {
    // Moving the selection by message raises no TCN_SELCHANGE, so the switchers run here.
    SendDlgItemMessageA(mainWindow, kMainTabId, TCM_SETCURSEL, static_cast<WPARAM>(page), 1);
    SwitchTo(page);
}

void OnMainWindowNotify(HWND mainWindow, const NMHDR* header) {
    if (!header || header->idFrom != static_cast<UINT_PTR>(kMainTabId) || header->code != TCN_SELCHANGE) return;
    const int page = static_cast<int>(SendDlgItemMessageA(mainWindow, kMainTabId, TCM_GETCURSEL, 0, 0));
    if (page >= 0 && page < kPageCount) SwitchTo(static_cast<Page>(page));
}

} // namespace tollivar
