// The tab control and the five pages: builders and show/hide switchers. What other code reads or
// writes on a page is reached through that page's own header.
#pragma once

#include <windows.h>

namespace tollivar {

void BuildTabControl(HWND mainWindow);

void BuildMainInfoPage(HWND mainWindow);
void BuildShieldPage(HWND mainWindow);
void BuildScanPage(HWND mainWindow);
void BuildHealPage(HWND mainWindow);
void BuildSettingsPage(HWND mainWindow);

// Show (true) or hide (false) every control of a page, its command buttons included.
void ShowMainInfoPage(bool show);
void ShowShieldPage(bool show);
void ShowScanPage(bool show);
void ShowHealPage(bool show);
void ShowSettingsPage(bool show);

} // namespace tollivar
