#include "config/registry_writer_win.h"

#include <string>
#include <vector>

#include "win/handles_win.h"
#include "config/registry_data.h"
#include "config/text_rules.h"

namespace tollivar {

void WriteRegistryValue(HKEY root, const char* subkey, DWORD type, const char* valueName, const char* dataText,
                        int deleteAfter) {
    const std::string keyPath = CutToBuffer(subkey ? subkey : "");
    const std::string name = CutToBuffer(valueName ? valueName : "");
    const std::vector<std::uint8_t> data = RegistryValueBytes(type, dataText);

    HKEY opened = nullptr;
    // A 32-bit build on 64-bit Windows would otherwise repair the 32-bit view, which Windows does not read.
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return;
    const UniqueKey key(opened);
    RegSetValueExA(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    if (deleteAfter == 1) RegDeleteValueA(key.get(), name.c_str());
}

} // namespace tollivar
