// Main Info page: the values that other code writes into it.
#pragma once

#include <windows.h>

#include <string>

namespace tollivar {

HWND RemovedCountText(); // the removed-threats count
HWND DefsVersionText();  // the definitions database version

void SetRemovedCountText(const std::string& text);
void SetDefinitionsVersionText(const std::string& text);

} // namespace tollivar
