// Heal System: the registry repairs of the ticked rows of the Heal System list.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace tollivar {

// Makes the writes of every ticked row (0 to 33), row by row, under userRoot and then machineRoot.
// Keys that do not exist are not created; nothing is reported.
void ApplySystemRepairs(const std::vector<std::size_t>& tickedRows, HKEY userRoot = HKEY_CURRENT_USER,
                        HKEY machineRoot = HKEY_LOCAL_MACHINE);

} // namespace tollivar
