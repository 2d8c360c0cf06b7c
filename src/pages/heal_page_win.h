// Heal System page: the catalogue of system damage whose checked rows the system repairs act on.
#pragma once

#include <windows.h>

#include <string_view>

namespace tollivar {

HWND HealList();

// Appends one unchecked row (infection, damage) to the Heal System list.
void AddHealRow(HWND healList, std::string_view infection, std::string_view damage);

} // namespace tollivar
