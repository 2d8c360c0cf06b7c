// Writes 24-bit RGB pixels as a PNG file (stored deflate blocks: no compression library needed).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tollivar::test {

// rgb holds width * height * 3 bytes, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

} // namespace tollivar::test
