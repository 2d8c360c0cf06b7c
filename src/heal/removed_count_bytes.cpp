#include "heal/removed_count_bytes.h"

namespace tollivar {

std::int32_t DecodeRemovedCount(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::array<std::uint8_t, 4> EncodeRemovedCount(std::int32_t count) {
    const auto value = static_cast<std::uint32_t>(count);
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::int32_t NextRemovedCount(std::int32_t count) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(count) + 1u);
}

std::string FormatRemovedCount(std::int32_t count) { return std::to_string(count); }

} // namespace tollivar
