// UTF-8 well-formedness and cutting on whole characters.
#include <gtest/gtest.h>

#include <string>

#include "config/utf8_text.h"

namespace tollivar {
namespace {

TEST(Utf8Text, TellsWellFormedFromMalformed) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain ASCII\r\n", true},
        {std::string("\0", 1), true},
        {"caf\xc3\xa9", true},
        {"\xe6\x96\x87", true},
        {"\xf0\x9f\x98\x80", true},
        {"\xf4\x8f\xbf\xbf", true}, // U+10FFFF
        {"\xef\xbf\xbd", true},     // U+FFFD
        {"\x80", false},            // a lone continuation byte
        {"\xc3", false},            // cut short
        {"\xe6\x96", false},
        {"\xc3\x28", false},
        {"\xc0\xaf", false}, // overlong "/"
        {"\xc1\xbf", false},
        {"\xe0\x80\xaf", false},     // overlong, three bytes
        {"\xf0\x80\x80\xaf", false}, // overlong, four bytes
        {"\xed\xa0\x80", false},     // a surrogate
        {"\xf4\x90\x80\x80", false}, // above U+10FFFF
        {"\xf5\x80\x80\x80", false},
        {"\xff", false},
        {"ok\xe6\x96\x87\xe6", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << testing::PrintToString(c.text);
}

TEST(Utf8Text, CutsOnWholeCharacters) {
    const std::string text = "a\xc3\xa9\xe6\x96\x87\xf0\x9f\x98\x80"; // 1 + 2 + 3 + 4 bytes
    const struct {
        std::size_t max;
        std::size_t length;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 3}, {6, 6}, {9, 6}, {10, 10}, {11, 10}};
    for (const auto& c : cases) {
        const std::string cut = CutUtf8(text, c.max);
        EXPECT_EQ(cut, text.substr(0, c.length)) << c.max;
        EXPECT_TRUE(IsValidUtf8(cut)) << c.max;
    }
}

} // namespace
} // namespace tollivar
