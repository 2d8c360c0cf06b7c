// count.uas as it may be found: any length, any bytes. Properties: the count is the first four bytes
// low-order first (fewer bytes are the low-order ones), writing it back gives those bytes, one more
// removal wraps like the stored word, and the shown text reads back as the count.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "heal/removed_count_bytes.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const std::int32_t count = tollivar::DecodeRemovedCount(bytes);

    std::uint8_t word[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < size && i < 4; ++i)
        word[i] = data[i];
    const std::uint32_t expected =
        word[0] | (word[1] << 8) | (word[2] << 16) | (static_cast<std::uint32_t>(word[3]) << 24);
    Check(static_cast<std::uint32_t>(count) == expected);

    const auto stored = tollivar::EncodeRemovedCount(count);
    for (std::size_t i = 0; i < 4; ++i)
        Check(stored[i] == word[i]);
    Check(tollivar::DecodeRemovedCount(std::vector<std::uint8_t>(stored.begin(), stored.end())) == count);

    const std::int32_t next = tollivar::NextRemovedCount(count);
    Check(static_cast<std::uint32_t>(next) == expected + 1u);

    const std::string text = tollivar::FormatRemovedCount(count);
    Check(!text.empty() && text.size() <= 11);
    Check(text == "0" || (text[0] != '0' && !(text[0] == '-' && (text.size() < 2 || text[1] == '0'))));
    Check(std::stoll(text) == count);
    return 0;
}
