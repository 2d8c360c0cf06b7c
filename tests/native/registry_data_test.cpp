#include "config/registry_data.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivar {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RegistryValueBytes, DwordTextIsTheDigitsValueAsFourLittleEndianBytes) {
    const struct {
        const char* text;
        Bytes bytes;
    } cases[] = {
        {"0", {0, 0, 0, 0}},
        {"4", {4, 0, 0, 0}},
        {"9", {9, 0, 0, 0}},
        // The first four bytes of the buffer form the word: a second digit lands in the second byte.
        {"12", {0x01, 0x32, 0, 0}},
        // An empty text leaves a zero word, minus 0x30.
        {"", {0xD0, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) EXPECT_EQ(RegistryValueBytes(4, c.text), c.bytes) << '"' << c.text << '"';
    EXPECT_EQ(RegistryValueBytes(4, nullptr), (Bytes{0xD0, 0xFF, 0xFF, 0xFF}));
}

TEST(RegistryValueBytes, TextsKeepTheirTerminatingZero) {
    const std::string explorer = "Explorer.exe";
    Bytes expected(explorer.begin(), explorer.end());
    expected.push_back(0);
    EXPECT_EQ(RegistryValueBytes(1, explorer.c_str()), expected);
    EXPECT_EQ(RegistryValueBytes(1, ""), Bytes{0});
    EXPECT_EQ(RegistryValueBytes(1, nullptr), Bytes{0});
}

TEST(RegistryValueBytes, ATextLongerThanTheBufferIsCutAt511Characters) {
    const std::string longText(700, 'x');
    const Bytes bytes = RegistryValueBytes(1, longText.c_str());
    ASSERT_EQ(bytes.size(), 512u);
    EXPECT_EQ(bytes[510], 'x');
    EXPECT_EQ(bytes[511], 0);
}

} // namespace
} // namespace tollivar
