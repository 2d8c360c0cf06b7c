#include "pages/pages_win.h"

namespace tollivar {

// The tab control and the pages are not built yet: the main window shows its left buttons,
// banner and status bar only.
void BuildTabControl(HWND) {}

void BuildMainInfoPage(HWND) {}
void BuildShieldPage(HWND) {}
void BuildScanPage(HWND) {}
void BuildHealPage(HWND) {}
void BuildSettingsPage(HWND) {}

void ShowMainInfoPage(HWND, bool) {}
void ShowShieldPage(HWND, bool) {}
void ShowScanPage(HWND, bool) {}
void ShowHealPage(HWND, bool) {}
void ShowSettingsPage(HWND, bool) {}

} // namespace tollivar
