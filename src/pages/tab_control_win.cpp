#include "pages/tab_control_win.h"

#include <commctrl.h>

#include <iterator>

#include "win/module_win.h"
#include "config/install_paths_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"
#include "win/fonts_win.h"

namespace tollivar {
namespace {

HWND g_mainTab = nullptr;
HWND g_pagePanel = nullptr;

// The blanks widen the tabs; they are part of the texts.
constexpr const char* kTabTexts[] = {
    "       Main Info       ",   "     Threat Shield     ", "       Threat Scan       ",
    "       Heal System       ", "        Settings        ",
};

} // namespace

HWND MainTab() { return g_mainTab; }
HWND PagePanel() { return g_pagePanel; }

void BuildTabControl(HWND mainWindow) {
    g_mainTab = CreateWindowExA(0, WC_TABCONTROLA, "Main Tab", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 136, 68, 535, 388,
                                mainWindow, reinterpret_cast<HMENU>(IDC_MAIN_TAB), ModuleInstance(), nullptr);
    SendMessageA(g_mainTab, WM_SETFONT, reinterpret_cast<WPARAM>(NormalFont()), 0);
    g_pagePanel = CreateWindowExA(0, "Static", " ", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | SS_REALSIZEIMAGE,
                                  7, 27, 519, 352, g_mainTab, reinterpret_cast<HMENU>(IDC_PAGE_PANEL),
                                  ModuleInstance(), nullptr);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.iImage = -1;
    for (int i = 0; i < static_cast<int>(std::size(kTabTexts)); ++i) {
        item.pszText = const_cast<char*>(kTabTexts[i]);
        SendMessageA(g_mainTab, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

} // namespace tollivar
