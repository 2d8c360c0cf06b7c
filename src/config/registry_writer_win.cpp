#include "config/registry_writer_win.h"

#include <string>
#include <vector>

#include "win/handles_win.h"
#include "config/registry_data.h"
#include "config/text_rules.h"
#include "win/wide_text_win.h"

namespace tollivar {

void WriteRegistryValue(HKEY root, const char* subkey, DWORD type, const char* valueName,
                        const char* dataText, int deleteAfter) {
    const std::string keyPath = CutToBuffer(subkey ? subkey : "");
    const std::string name = CutToBuffer(valueName ? valueName : "");
    const std::vector<std::uint8_t> data = RegistryValueBytes(type, dataText);

    const std::wstring wideName = WideFromUtf8(name);

    HKEY opened = nullptr;
    // A 32-bit build on 64-bit Windows would otherwise repair the 32-bit view, which Windows does not read.
    if (RegOpenKeyExW(root, WideFromUtf8(keyPath).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &opened) !=
        ERROR_SUCCESS)
        return;
    const UniqueKey key(opened);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        // Texts are UTF-8 (an install path can hold any letter): stored as the platform's wide text.
        const std::string text(data.begin(), data.end() - 1);
        const std::wstring wide = WideFromUtf8(text);
        RegSetValueExW(key.get(), wideName.c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    } else {
        RegSetValueExW(key.get(), wideName.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    }
    if (deleteAfter == 1) RegDeleteValueW(key.get(), wideName.c_str());
}

} // namespace tollivar
