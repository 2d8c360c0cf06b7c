// Threat Shield page: the list of what the Resident Shield found, and its status text.
#pragma once

#include <windows.h>

#include <string_view>

namespace tollivar {

HWND ShieldList();
HWND ShieldStatusText();
void SetShieldStatusText(std::string_view text);

} // namespace tollivar
