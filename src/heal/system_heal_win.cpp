#include "heal/system_heal_win.h"

#include <string>

#include "config/registry_writer_win.h"
#include "heal/system_repairs.h"
#include "pages/heal_page_win.h"
#include "pages/list_rows_win.h"

namespace tollivar {

void ApplySystemRepairs(const std::vector<std::size_t>& tickedRows, HKEY userRoot, HKEY machineRoot) {
    for (const RegistryWrite& write : RepairWritesForRows(tickedRows)) {
        const std::string subkey(write.subkey);
        const std::string name(write.valueName);
        WriteRegistryValue(write.root == RegistryRoot::CurrentUser ? userRoot : machineRoot, subkey.c_str(),
                           write.type, name.c_str(), write.dataText, write.deleteAfter ? 1 : 0);
    }
}

std::vector<std::size_t> TickedHealRows(HWND healList) {
    std::vector<std::size_t> rows;
    const int count = ListRowCount(healList);
    for (int row = 0; row < count && static_cast<std::size_t>(row) < kRepairRowCount; ++row)
        if (RowIsChecked(healList, row)) rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void HealSystem() { ApplySystemRepairs(TickedHealRows(HealList())); }

} // namespace tollivar
