// SHA-256 of a file's content, fed in chunks so that the shell can hash a large file without holding
// it. Platform-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tollivar {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
  public:
    Sha256() { Reset(); }

    // Adds bytes; any split of the same bytes over calls gives the same digest.
    void Update(const void* data, std::size_t size);
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }

    // The digest of everything added since construction or the last Final; the hasher then starts over.
    Sha256Digest Final();

  private:
    void Reset();
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_{};
    std::array<std::uint8_t, 64> block_{};
    std::size_t blockSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// 64 lower-case hexadecimal digits.
std::string Sha256Hex(const Sha256Digest& digest);

// The lower-case hex digest of one whole text.
std::string Sha256HexOf(std::string_view bytes);

// Exactly 64 characters, each 0-9 or a-f.
bool IsSha256Hex(std::string_view text);

} // namespace tollivar
