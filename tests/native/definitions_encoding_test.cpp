// One encoding decision for def.uas, shared by the scan and the update check.
#include "engine/definitions_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/profile_text.h"

namespace tollivar {
namespace {

std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

std::string Utf16Be(const std::string& ascii) {
    std::string bytes = "\xFE\xFF";
    for (char c : ascii)
        bytes += std::string{'\0', c};
    return bytes;
}

constexpr char kFile[] = "[INFO]\r\nVersion=9\r\n[1]\r\nTh=Worm.A\r\n";

TEST(DefinitionsEncodingTest, DecidesOnceHowTheFileIsRead) {
    using E = DefinitionsEncoding;
    const struct {
        const char* name;
        std::string bytes;
        E encoding;
    } cases[] = {
        {"8-bit", kFile, E::Ansi},
        {"UTF-8 mark", std::string("\xEF\xBB\xBF") + kFile, E::Ansi},
        {"8-bit with a zero", std::string("[INFO]\0", 7), E::NotText},
        {"UTF-16 little-endian", Utf16Le(kFile), E::Utf16Ascii},
        {"UTF-16 big-endian", Utf16Be(kFile), E::Utf16Ascii},
        // The mark alone does not make a file UTF-16: the scan would find nothing in it.
        {"mark on 8-bit text", std::string("\xFF\xFE") + kFile, E::NotUtf16},
        {"mark on 8-bit text, even length", std::string("\xFF\xFE") + kFile + "x", E::NotUtf16},
        {"odd length", Utf16Le(kFile) + "x", E::NotUtf16},
        {"zero character", Utf16Le(kFile) + std::string(2, '\0'), E::NotUtf16},
        {"lone low surrogate", Utf16Le(kFile) + std::string("\x00\xDC", 2), E::NotUtf16},
        {"high surrogate at the end", Utf16Le(kFile) + "\x3D\xD8", E::NotUtf16},
        {"high surrogate without its low one", Utf16Le(kFile) + "\x3D\xD8" + "A" + std::string(1, '\0'),
         E::NotUtf16},
        {"the mark only", "\xFF\xFE", E::NotUtf16},
        {"a character beyond ASCII", Utf16Le(kFile) + "\xE9" + std::string(1, '\0'), E::Utf16Wide},
        {"a surrogate pair", Utf16Le(kFile) + std::string("\x3D\xD8\x00\xDE", 4), E::Utf16Wide},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeDefinitionsFile(c.bytes).encoding, c.encoding) << c.name;
}

TEST(DefinitionsEncodingTest, WhatIsReadIsTheTextTheFileHolds) {
    for (const std::string& bytes : {std::string(kFile), Utf16Le(kFile), Utf16Be(kFile)}) {
        const ProfileText text = ProfileText::Parse(DecodeDefinitionsFile(bytes).text);
        EXPECT_EQ(text.Read("INFO", "Version"), "9");
        EXPECT_EQ(text.Read("1", "Th"), "Worm.A");
    }
    // A mark on 8-bit text is read as 8-bit text by the scan, not as characters it cannot find threats in.
    const ProfileText marked =
        ProfileText::Parse(DecodeDefinitionsFile(std::string("\xFF\xFE\r\n") + kFile).text);
    EXPECT_EQ(marked.Read("1", "Th"), "Worm.A");
    EXPECT_TRUE(DecodeDefinitionsFile(Utf16Le(kFile) + "\xE9" + std::string(1, '\0')).text.empty());
}

} // namespace
} // namespace tollivar
