#include "config/registry_data.h"

#include <array>
#include <cstring>

#include "config/install_paths.h"

namespace tollivar {
namespace {

constexpr std::uint32_t kRegDwordType = 4;

} // namespace

std::vector<std::uint8_t> RegistryValueBytes(std::uint32_t type, const char* dataText) {
    std::array<char, kMaxPathText + 1> buffer{};
    if (dataText) std::strncpy(buffer.data(), dataText, kMaxPathText);

    if (type == kRegDwordType) {
        std::uint32_t word = 0;
        for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<std::uint8_t>(buffer[static_cast<std::size_t>(i)]);
        word -= 0x30;
        return {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
    }
    const std::size_t length = std::strlen(buffer.data());
    return std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length) + 1);
}

} // namespace tollivar
