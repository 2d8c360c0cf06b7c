// The bytes the registry writer stores for a text of any bytes and either value type. Properties: a
// string value is the text up to its first zero, at most 511 characters, and one terminating zero;
// a DWORD is the first four bytes of the zero-filled buffer read low-order first, minus 0x30.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/registry_data.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        Check(tollivar::RegistryValueBytes(1, nullptr) == std::vector<std::uint8_t>{0});
        return 0;
    }
    const std::uint32_t type = data[0] % 2 ? 4 : data[0] % 8; // REG_DWORD (4) half of the time
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1); // a C string: ends at a zero
    const std::vector<std::uint8_t> stored = tollivar::RegistryValueBytes(type, text.c_str());

    const std::string cString = text.substr(0, std::strlen(text.c_str())).substr(0, 511);
    if (type == 4) {
        std::uint8_t buffer[4] = {0, 0, 0, 0};
        std::memcpy(buffer, cString.data(), cString.size() < 4 ? cString.size() : 4);
        const std::uint32_t word = (buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) |
                                    (static_cast<std::uint32_t>(buffer[3]) << 24)) -
                                   0x30u;
        Check(stored == std::vector<std::uint8_t>{
                            static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                            static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)});
    } else {
        Check(stored.size() == cString.size() + 1 && stored.back() == 0);
        Check(std::memcmp(stored.data(), cString.data(), cString.size()) == 0);
    }
    return 0;
}
