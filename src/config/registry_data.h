// The bytes the registry writer stores for a value. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

namespace tollivar {

// REG_DWORD: the little-endian 32-bit word formed by the first four bytes of the zero-filled
// 512-byte data buffer, minus 0x30, so a one-digit text stores that digit's value ("4" stores 4).
// Any other type: the text (cut at 511 characters) followed by its terminating zero, so that every
// reader finds a properly ended string; a null or empty text stores just the zero.
std::vector<std::uint8_t> RegistryValueBytes(std::uint32_t type, const char* dataText);

} // namespace tollivar
