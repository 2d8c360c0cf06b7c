#include "config/text_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivar {
namespace {

TEST(TextRules, UpperCasingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(ToUpperAscii("a-z_0\\\xe9x"), "A-Z_0\\\xe9X");
    EXPECT_TRUE(EqualsUpper("Autorun.INF", "AUTORUN.inf"));
    EXPECT_FALSE(EqualsUpper("autorun.inf", "autorun.in"));
}

TEST(TextRules, ListTextsAreCutAt511Characters) {
    EXPECT_EQ(CutToBuffer(std::string(600, 'x')).size(), 511u);
    EXPECT_EQ(CutToBuffer(std::string(511, 'x')).size(), 511u);
    EXPECT_EQ(CutToBuffer("short"), "short");
}

// A cut inside a character's bytes would hand the list an invalid sequence (shown as a stray mark).
TEST(TextRules, CutsNeverSplitAUtf8Character) {
    const std::string cyrillic = "\xD0\xBF";      // two bytes
    const std::string chinese = "\xE7\x97\x85";   // three bytes
    const std::string emoji = "\xF0\x9F\x98\x80"; // four bytes
    struct Case {
        std::string text;
        std::size_t maxBytes;
        std::string expected;
    } cases[] = {
        {"ab" + cyrillic, 3, "ab"},
        {"ab" + cyrillic, 4, "ab" + cyrillic},
        {"a" + chinese + "b", 2, "a"},
        {"a" + chinese + "b", 3, "a"},
        {"a" + chinese + "b", 4, "a" + chinese},
        {"a" + emoji, 4, "a"},
        {"a" + emoji, 5, "a" + emoji},
        {emoji, 0, ""},
        {"abc", 2, "ab"},
        // Not UTF-8 at the cut (four continuation bytes in a row): cut where asked.
        {"a\x80\x80\x80\x80\x80", 5, "a\x80\x80\x80\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutBeforeCharacter(c.text, c.maxBytes), c.expected) << c.maxBytes;

    std::string path(510, 'p');
    path += chinese;
    EXPECT_EQ(CutToBuffer(path), std::string(510, 'p'));
}

} // namespace
} // namespace tollivar
