// The Heal System table: for each of its 34 rows the infection and damage the list shows and the
// registry values that undo that kind of policy damage. Platform-free: the Win32 side opens the
// roots and writes. A row's index is how the list and the repairs meet: the order is fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tollivar {

inline constexpr std::size_t kRepairRowCount = 34;

// Registry value types as the registry numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

enum class RegistryRoot { CurrentUser, LocalMachine };

// One value write. dataText is null for an empty REG_SZ; for REG_DWORD it is one decimal digit.
struct RegistryWrite {
    RegistryRoot root;
    std::string_view subkey;
    std::uint32_t type;
    std::string_view valueName;
    const char* dataText;
    bool deleteAfter; // set, then delete at once: the value is gone afterwards
};

// The row's texts as the Heal System list shows them ("Infection", "Damage"); empty outside the table.
std::string_view RepairRowName(std::size_t row);
std::string_view RepairRowDamage(std::size_t row);

// The writes of one row in the order they are made: every line of the row under the current user,
// then every line again under the local machine. Empty for a row outside the table.
std::vector<RegistryWrite> RepairWritesForRow(std::size_t row);

// The writes of the ticked rows, row by row in ascending order; rows outside the table are ignored.
std::vector<RegistryWrite> RepairWritesForRows(const std::vector<std::size_t>& tickedRows);

} // namespace tollivar
