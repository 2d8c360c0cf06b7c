// The program's only way of changing the registry: set one value under an existing key, and
// optionally delete it again at once. Silent about every failure.
#pragma once

#include <windows.h>

namespace tollivar {

// Opens subkey under root (never creates it) in the 64-bit view, also from a 32-bit build, and sets
// valueName. REG_DWORD data is one decimal digit stored as its value; other types store the text
// with its terminating zero (a null text stores an empty one). deleteAfter 1 deletes the value right
// after setting it, so it is gone afterwards whether or not it existed. Texts are UTF-8, cut at 511
// bytes; REG_SZ and REG_EXPAND_SZ data are stored as wide text.
void WriteRegistryValue(HKEY root, const char* subkey, DWORD type, const char* valueName,
                        const char* dataText, int deleteAfter);

} // namespace tollivar
