#include "engine/profile_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivar {
namespace {

struct ReadCase {
    const char* label;
    const char* fileText;
    const char* section;
    const char* key;
    const char* value;
};

class ProfileReading : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReading, ReturnsWhatTheProfileReaderReturns) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(ProfileText::Parse(c.fileText).Read(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileReading,
    testing::Values(
        ReadCase{"Plain", "[1]\nTh=Worm\n", "1", "Th", "Worm"},
        ReadCase{"NamesWithoutRegardToCase", "[info]\nversion=7\n", "INFO", "Version", "7"},
        ReadCase{"BlanksAroundEverything", "  [1]  \r\n\t Th \t=  Worm A \t\r\n", "1", "Th", "Worm A"},
        ReadCase{"BlanksInsideSectionBracketsDoNotCount", "[\t1 ]\nTh=Worm\n", "1", "Th", "Worm"},
        ReadCase{"BlanksAroundAskedNames", "[1]\nTh=Worm\n", " 1 ", " Th ", "Worm"},
        ReadCase{"TextAfterSectionBracket", "[1] ; first\nTh=Worm\n", "1", "Th", "Worm"},
        ReadCase{"TrailingNonBreakingSpaceKept", "[1]\nTh=Worm\xA0\n", "1", "Th", "Worm\xA0"},
        ReadCase{"DoubleQuotesRemoved", "[1]\nTh=\"  Worm \"\n", "1", "Th", "  Worm "},
        ReadCase{"SingleQuotesRemoved", "[1]\nTh='Worm'\n", "1", "Th", "Worm"},
        ReadCase{"UnmatchedQuotesKept", "[1]\nTh=\"Worm'\n", "1", "Th", "\"Worm'"},
        ReadCase{"OnlyOnePairRemoved", "[1]\nTh=\"\"Worm\"\"\n", "1", "Th", "\"Worm\""},
        ReadCase{"LoneQuoteKept", "[1]\nTh=\"\n", "1", "Th", "\""},
        ReadCase{"QuotesAroundNothing", "[1]\nTh=\"\"\n", "1", "Th", ""},
        ReadCase{"InnerQuotesKept", "[autorun]\nopen=\"my prog.exe\" /s\n", "autorun", "open",
                 "\"my prog.exe\" /s"},
        ReadCase{"EmptyValue", "[1]\nTh=\n", "1", "Th", ""},
        ReadCase{"KeyWithoutEquals", "[1]\nTh\n", "1", "Th", ""},
        ReadCase{"ValueMayHoldEquals", "[1]\nF1=a=b\n", "1", "F1", "a=b"},
        ReadCase{"FirstKeyWins", "[1]\nP1=a.exe\nP1=b.exe\n", "1", "P1", "a.exe"},
        ReadCase{"FirstSectionWins", "[1]\nTh=One\n[1]\nTh=Two\nP1=b.exe\n", "1", "P1", ""},
        ReadCase{"FirstSectionWinsWhateverItsCase", "[a]\nk=1\n[A]\nj=3\n", "A", "j", ""},
        ReadCase{"OtherSectionNotConsulted", "[2]\nTh=Two\n", "1", "Th", ""},
        ReadCase{"SectionUpToLastBracket", "[a]b]\nk=v\n", "a]b", "k", "v"},
        ReadCase{"BracketLineWithoutCloseIsAKey", "[1]\n[x=y\n", "1", "[x", "y"},
        ReadCase{"CommentLineIsNoKey", "[1]\n;Th=Old\nTh=New\n", "1", "Th", "New"},
        ReadCase{"KeysBeforeAnySection", "k=v\n[1]\n", "", "k", "v"},
        ReadCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[INFO]\nVersion=3\n", "INFO", "Version", "3"},
        ReadCase{"CarriageReturnsOnly", "[1]\rTh=Worm\rP1=w.exe\r", "1", "P1", "w.exe"},
        ReadCase{"LoneCarriageReturnEndsALine", "[1]\nTh=a\rP1=b\n", "1", "P1", "b"},
        ReadCase{"KeyAfterLoneCarriageReturn", "[1]\na\rb=c\n", "1", "b", "c"},
        ReadCase{"NoFinalNewline", "[1]\nTh=Worm", "1", "Th", "Worm"},
        ReadCase{"EmptyFile", "", "1", "Th", ""}, ReadCase{"EmptyKeyAsked", "[1]\n=v\n", "1", "", ""}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.label); });

TEST(ProfileReading, ZeroByteInsideAValue) {
    const std::string text("[1]\nTh=Wo\0rm\n", 13);
    EXPECT_EQ(ProfileText::Parse(text).Read("1", "Th"), "Wo");
}

TEST(ProfileReading, ValuesAreCutTo511Characters) {
    const std::string longValue(700, 'x');
    const auto quoted = [](std::size_t n) { return "'" + std::string(n, 'q') + "'"; };
    const ProfileText p = ProfileText::Parse("[1]\nF1=" + longValue + "\nF2=\"" + longValue +
                                             "\"\nF3=" + std::string(511, 'y') + "\nF4=" + quoted(510) +
                                             "\nF5=" + quoted(511) + "\nF6=" + quoted(512) + "\n");
    EXPECT_EQ(p.Read("1", "F1"), std::string(511, 'x'));
    EXPECT_EQ(p.Read("1", "F2"), std::string(511, 'x'));
    EXPECT_EQ(p.Read("1", "F3"), std::string(511, 'y'));
    // The platform reader's own edge: a quoted text of exactly 511 characters loses its last one.
    EXPECT_EQ(p.Read("1", "F4"), std::string(510, 'q'));
    EXPECT_EQ(p.Read("1", "F5"), std::string(510, 'q'));
    EXPECT_EQ(p.Read("1", "F6"), std::string(511, 'q'));
}

} // namespace
} // namespace tollivar
