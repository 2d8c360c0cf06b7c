// The whole-file profile reader: any bytes parse, and every answer keeps the reader's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tollivar::ProfileText text = tollivar::ProfileText::Parse(bytes);
    for (const char* section : {"autorun", "AUTORUN", "INFO", "1", ""}) {
        for (const char* key : {"open", "A", "B", "P", "F", "VER", ""}) {
            if (text.Read(section, key).size() > 511) std::abort();
        }
    }
    return 0;
}
