// Heal System page: the catalogue of system damage whose checked rows the system repairs act on.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace tollivar {

HWND HealList();

// The rows of the Heal System list that are ticked now, in row order.
std::vector<std::size_t> TickedHealRows();

// Appends one unchecked row (infection, damage) to the Heal System list.
void AddHealRow(HWND healList, std::string_view infection, std::string_view damage);

} // namespace tollivar
