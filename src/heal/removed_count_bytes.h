// count.uas: the number of removed threats as 4 little-endian bytes. Platform-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tollivar {

// The count a file's first bytes hold: up to four bytes, low-order first; a shorter file gives the
// bytes it has as the low-order ones, an empty file 0.
std::int32_t DecodeRemovedCount(const std::vector<std::uint8_t>& bytes);

std::array<std::uint8_t, 4> EncodeRemovedCount(std::int32_t count);

// One more removal; the 32-bit count wraps like the stored word does.
std::int32_t NextRemovedCount(std::int32_t count);

// The count as Main Info shows it: signed decimal without leading zeros.
std::string FormatRemovedCount(std::int32_t count);

} // namespace tollivar
