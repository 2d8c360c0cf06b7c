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

} // namespace
} // namespace tollivar
