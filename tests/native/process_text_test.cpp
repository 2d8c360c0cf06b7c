#include "engine/analyzing_text.h"
#include "engine/autorun_rules.h"
#include "engine/process_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tollivar {
namespace {

struct TextCase {
    std::uint32_t id;
    const char* name;
    const char* text;
};

class ProcessTexts : public testing::TestWithParam<TextCase> {};

TEST_P(ProcessTexts, FormattedAndReadBack) {
    const TextCase& c = GetParam();
    EXPECT_EQ(FormatProcessText(c.id, c.name), c.text);
    const auto parts = ParseProcessText(c.text);
    ASSERT_TRUE(parts.has_value());
    EXPECT_EQ(parts->processId, c.id);
    EXPECT_EQ(parts->imageName, c.name);
}

INSTANTIATE_TEST_SUITE_P(Ids, ProcessTexts,
                         testing::Values(TextCase{0x1A4, "Virus.EXE", "[1A4] - Virus.EXE"},
                                         TextCase{0, "[System Process]", "[0] - [System Process]"},
                                         TextCase{4, "System", "[4] - System"},
                                         TextCase{0xABCDEF0, "a b.exe", "[ABCDEF0] - a b.exe"},
                                         TextCase{0xFFFFFFFF, "x", "[FFFFFFFF] - x"}));

TEST(ProcessTexts, AnythingElseIsNoProcessText) {
    for (const char* text : {"", "C:\\[1A4] - x.exe", "[1a4] - x.exe", "[01A4] - x.exe", "[] - x.exe",
                             "[1A4 - x.exe", "[1A4]- x.exe", "[1A4] - ", "[1A4]", "[100000000] - x.exe",
                             "[-1] - x.exe", "[ 1A4] - x.exe", "[G] - x.exe"})
        EXPECT_FALSE(ParseProcessText(text).has_value()) << text;
}

TEST(ProcessTexts, LongNamesAreCutTo511AndNoLongerTextReadsBack) {
    const std::string text = FormatProcessText(0x10, std::string(600, 'n'));
    EXPECT_EQ(text.size(), 511u);
    EXPECT_EQ(text.substr(0, 7), "[10] - ");
    ASSERT_TRUE(ParseProcessText(text).has_value());
    EXPECT_EQ(ParseProcessText(text)->imageName, std::string(504, 'n'));
    // No row holds a longer text, so one is not a process text the program made.
    EXPECT_FALSE(ParseProcessText(text + "n").has_value());
}

TEST(ProcessSnapshot, FirstReportableProcessOfTheWholeNameInSnapshotOrder) {
    const ProcessSnapshot snapshot({{0x10, "notepad.exe"},
                                    {0x20, "svchost.exe"},
                                    {0x30, "NotePad.exe"},
                                    {0x40, "notepad.exe.bak"},
                                    {0x50, ""}});
    EXPECT_EQ(snapshot.FindProcessText("NOTEPAD.EXE"), "[10] - notepad.exe");
    EXPECT_EQ(
        snapshot.FindProcessText("notepad.exe", [](const ProcessEntry& e) { return e.processId != 0x10; }),
        "[30] - NotePad.exe");
    EXPECT_EQ(snapshot.FindProcessText("notepad.exe", [](const ProcessEntry&) { return false; }), "");
    for (const char* name : {"notepad", "C:\\Windows\\notepad.exe", "*.exe", "otepad.exe", ""})
        EXPECT_EQ(snapshot.FindProcessText(name), "") << name;
}

TEST(ProcessSnapshot, AutorunTargetFilterSkipsSameNamedSystemProcess) {
    // The filter the drive checks use: only the process whose image is the target itself.
    const std::map<std::uint32_t, std::string> images = {{0x10, "C:\\WINDOWS\\system32\\svchost.exe"},
                                                         {0x20, "E:\\svchost.exe"}};
    const ProcessSnapshot snapshot({{0x10, "svchost.exe"}, {0x20, "svchost.exe"}});
    const auto isTarget = [&](const std::string& target) {
        return [&images, target](const ProcessEntry& e) {
            return ProcessImageIsTarget(images.at(e.processId), target);
        };
    };
    EXPECT_EQ(snapshot.FindProcessText("svchost.exe", isTarget("e:\\SVCHOST.EXE")), "[20] - svchost.exe");
    EXPECT_EQ(snapshot.FindProcessText("svchost.exe", isTarget("F:\\svchost.exe")), "");
}

TEST(AnalyzingText, PrefixAndCut) {
    EXPECT_EQ(AnalyzingText("Worm"), " Analyzing >>  Worm");
    EXPECT_EQ(AnalyzingText(""), " Analyzing >>  ");
    const std::string cut = AnalyzingText(std::string(600, 'p'));
    EXPECT_EQ(cut.size(), 511u);
    EXPECT_EQ(cut.substr(0, 15), " Analyzing >>  ");
    // A path of Chinese characters is cut before the character that does not fit, not inside it.
    std::string chinese;
    for (int i = 0; i < 200; ++i)
        chinese += "\xE7\x97\x85";
    const std::string cutChinese = AnalyzingText(chinese);
    EXPECT_EQ(cutChinese.size(), 15u + 495u);
    EXPECT_EQ((cutChinese.size() - 15) % 3, 0u);
}

} // namespace
} // namespace tollivar
