#include "heal/system_heal_win.h"

#include <string>

#include "config/registry_writer_win.h"
#include "heal/system_repairs.h"

namespace tollivar {

void ApplySystemRepairs(const std::vector<std::size_t>& tickedRows, HKEY userRoot, HKEY machineRoot) {
    for (const RegistryWrite& write : RepairWritesForRows(tickedRows)) {
        const std::string subkey(write.subkey);
        const std::string name(write.valueName);
        WriteRegistryValue(write.root == RegistryRoot::CurrentUser ? userRoot : machineRoot, subkey.c_str(),
                           write.type, name.c_str(), write.dataText, write.deleteAfter ? 1 : 0);
    }
}

} // namespace tollivar
