#include "engine/autorun_inf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tollivar {
namespace {

using namespace std::string_literals;

// The bytes of text saved as UTF-16; text holds ASCII or UTF-8.
std::string Utf16(const std::string& text, bool bigEndian, bool mark) {
    std::u16string units;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t cp = c;
        std::size_t length = 1;
        if (c >= 0xF0)
            cp = c & 0x07, length = 4;
        else if (c >= 0xE0)
            cp = c & 0x0F, length = 3;
        else if (c >= 0xC0)
            cp = c & 0x1F, length = 2;
        for (std::size_t k = 1; k < length; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (cp >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(cp);
        }
    }
    std::string bytes;
    if (mark) units.insert(units.begin(), u'\xFEFF');
    for (char16_t u : units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Worm-style padding: binary junk lines, a binary comment, blanks and tabs everywhere, mixed case,
// a header without its "]".
const std::string kPadded = "\x8f\x12\xff\xfe\x01 junk\r\n"
                            ";\x01\x02\xfe\xee binary comment = open=no.exe\r\n"
                            "\x00\x00\x00\x00\r\n"s
                            " \t [AuToRuN\r\n"
                            "\x93\x81 random = bytes\r\n"
                            "\t  oPeN \t=\t  RECYCLER\\x.exe  \t\r\n"
                            "no equals sign here\r\n"
                            "  ShElL\\OpEn\\CoMmAnD  =  RECYCLER\\x.exe\r\n"
                            "icon = %SystemRoot%\\system32\\SHELL32.dll,4\r\n";

// The same padding saved as UTF-16 with a mark: junk code units (a stray mark, a control character, an
// unpaired surrogate) before the text.
const std::string kPaddedUtf16 = "\xFF\xFE\x8f\x12\xff\xfe\x01\x00\x00\xD8\r\x00\n\x00"s +
                                 Utf16(";\x01\x02 comment\r\n\t [AuToRuN\r\n\x7f random = bytes\r\n"
                                       "\t  oPeN \t=\t  RECYCLER\\x.exe  \t\r\n"
                                       "  ShElL\\OpEn\\CoMmAnD  =  RECYCLER\\x.exe\r\n",
                                       false, false);

struct ReadCase {
    const char* label;
    std::string bytes;
    AutorunTextEncoding encoding;
    std::vector<AutorunEntry> entries;
    std::string defaultVerb = "";
};

class AutorunInfReading : public testing::TestWithParam<ReadCase> {};

TEST_P(AutorunInfReading, GivesEveryLaunchEntryInFileOrder) {
    const ReadCase& c = GetParam();
    const AutorunInf inf = ReadAutorunInf(c.bytes);
    EXPECT_EQ(inf.encoding, c.encoding);
    EXPECT_EQ(inf.launchEntries, c.entries);
    EXPECT_EQ(inf.defaultVerb, c.defaultVerb);
}

const std::string kSimple = "[autorun]\r\nopen=x.exe\r\nshellexecute=y.exe\r\n";
const std::vector<AutorunEntry> kSimpleEntries = {{"open", "x.exe", ""}, {"shellexecute", "y.exe", ""}};

INSTANTIATE_TEST_SUITE_P(
    Files, AutorunInfReading,
    testing::Values(
        ReadCase{"PaddedWithJunkAndUnclosedHeader",
                 kPadded,
                 AutorunTextEncoding::Ansi,
                 {{"oPeN", "RECYCLER\\x.exe", ""}, {"ShElL\\OpEn\\CoMmAnD", "RECYCLER\\x.exe", "OpEn"}}},
        ReadCase{"PaddedUtf16LittleEndian",
                 kPaddedUtf16,
                 AutorunTextEncoding::Utf16Le,
                 // The junk bytes are read as UTF-16 too; the entries survive.
                 {{"oPeN", "RECYCLER\\x.exe", ""}, {"ShElL\\OpEn\\CoMmAnD", "RECYCLER\\x.exe", "OpEn"}}},
        ReadCase{"Utf16LittleEndian", Utf16(kSimple, false, true), AutorunTextEncoding::Utf16Le,
                 kSimpleEntries},
        ReadCase{"Utf16BigEndian", Utf16(kSimple, true, true), AutorunTextEncoding::Utf16Be, kSimpleEntries},
        ReadCase{"Utf16LittleEndianWithoutMark", Utf16(kSimple, false, false), AutorunTextEncoding::Utf16Le,
                 kSimpleEntries},
        ReadCase{"Utf16BigEndianWithoutMark", Utf16(kSimple, true, false), AutorunTextEncoding::Utf16Be,
                 kSimpleEntries},
        ReadCase{"Utf8WithMark", "\xEF\xBB\xBF" + kSimple, AutorunTextEncoding::Utf8, kSimpleEntries},
        // A few zero bytes in ANSI text, on both sides, do not make it UTF-16.
        ReadCase{"AnsiWithZeroBytes", "\0\0[autorun]\r\n\0open=x.exe\r\nshellexecute=y.exe\0\0\0\r\n"s,
                 AutorunTextEncoding::Ansi, kSimpleEntries},
        // Padding laid out as UTF-16 ASCII would be: the file still reads as ANSI.
        ReadCase{"ZeroPaddingThatLooksLikeUtf16", "A\0A\0A\0A\0A\0A\0A\0A\0A\0A\0A\0A\0\n"s + kSimple,
                 AutorunTextEncoding::Ansi, kSimpleEntries},
        ReadCase{"AnsiWithOneTrailingZero", kSimple + "\0"s, AutorunTextEncoding::Ansi, kSimpleEntries},
        ReadCase{"Utf16TextBecomesUtf8",
                 Utf16("[autorun]\nopen=\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80.exe\n", false, true),
                 AutorunTextEncoding::Utf16Le,
                 {{"open", "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80.exe", ""}}},
        ReadCase{"Utf16LoneSurrogatesReplaced",
                 "\xFF\xFE"s + Utf16("[autorun]\nopen=", false, false) + "\x00\xD8"s + "x\0\x00\xDC"s +
                     Utf16(".exe\n", false, false),
                 AutorunTextEncoding::Utf16Le,
                 {{"open", "\xEF\xBF\xBDx\xEF\xBF\xBD.exe", ""}}},
        ReadCase{"Utf16OddLastByteDropped", Utf16(kSimple, false, true) + "o", AutorunTextEncoding::Utf16Le,
                 kSimpleEntries},
        ReadCase{"AnsiBytesKept",
                 "[autorun]\nopen=\xFC\xE9.exe\n",
                 AutorunTextEncoding::Ansi,
                 {{"open", "\xFC\xE9.exe", ""}}},
        ReadCase{"InvalidUtf8Replaced",
                 "\xEF\xBB\xBF[autorun]\nopen=\xFC.exe\xC3\n",
                 AutorunTextEncoding::Utf8,
                 {{"open", "\xEF\xBF\xBD.exe\xEF\xBF\xBD", ""}}},
        ReadCase{"ShellChoosesCustomVerb",
                 "[autorun]\nshell=Hax0r\nshell\\Hax0r=&Open\nshell\\Hax0r\\command=sys\\h.exe\n"
                 "shell\\explore\\command=sys\\h.exe\nshell=ignored\n",
                 AutorunTextEncoding::Ansi,
                 {{"shell\\Hax0r\\command", "sys\\h.exe", "Hax0r"},
                  {"shell\\explore\\command", "sys\\h.exe", "explore"}},
                 "Hax0r"},
        ReadCase{"OnlyShellOpenCommand",
                 "[autorun]\nshell\\open=Open\nshell\\open\\default=1\nshell\\open\\command=p.exe\n",
                 AutorunTextEncoding::Ansi,
                 {{"shell\\open\\command", "p.exe", "open"}}},
        ReadCase{"BlanksAroundKeyParts",
                 "[autorun]\nshell \\ auto play \\ command = p.exe\n",
                 AutorunTextEncoding::Ansi,
                 {{"shell \\ auto play \\ command", "p.exe", "auto play"}}},
        ReadCase{"NotVerbCommands",
                 "[autorun]\nshell\\command=a.exe\nshell\\ \\command=b.exe\nshellx\\o\\command=c\n",
                 AutorunTextEncoding::Ansi,
                 {}},
        ReadCase{"OnlyIconAndLabel",
                 "[autorun]\nicon=setup.exe,0\nlabel=Setup\naction=Install\nuseautoplay=1\n",
                 AutorunTextEncoding::Ansi,
                 {}},
        ReadCase{"EmptyFile", "", AutorunTextEncoding::Ansi, {}},
        ReadCase{
            "CommentedAndOutsideEntries",
            "open=before.exe\n[autorun]\n;open=commented.exe\n  ; open=commented.exe\n[setup]\nopen=s.exe\n"
            "[autorunx]\nopen=x.exe\n",
            AutorunTextEncoding::Ansi,
            {}},
        // Every autorun section counts, platform ones included, wherever they stand.
        ReadCase{
            "EverySectionAndEveryDuplicate",
            "[autorun]\nopen=a.exe\nopen=b.exe\n[other]\nopen=o.exe\n[ AutoRun.Amd64 ]\nopen=c.exe\n"
            "[AUTORUN] trailing text\nopen=d.exe\n",
            AutorunTextEncoding::Ansi,
            {{"open", "a.exe", ""}, {"open", "b.exe", ""}, {"open", "c.exe", ""}, {"open", "d.exe", ""}}},
        ReadCase{"ValueKeepsQuotesAndEndsAtZeroByte",
                 "[autorun]\nopen = \"my prog.exe\" /s \nshellexecute=y.exe\0junk=z.exe\n"s,
                 AutorunTextEncoding::Ansi,
                 {{"open", "\"my prog.exe\" /s", ""}, {"shellexecute", "y.exe", ""}}},
        ReadCase{"LoneCarriageReturnsEndLines", "[autorun]\ropen=x.exe\rshellexecute=y.exe",
                 AutorunTextEncoding::Ansi, kSimpleEntries}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.label); });

TEST(AutorunInfReading, HugeJunkIsReadOnlyUpToTheLimit) {
    // A 20 MB "autorun.inf" of junk with an entry beyond the limit: only the prefix counts.
    std::string junk(20 * 1024 * 1024, '\0');
    std::uint32_t seed = 12345;
    for (char& c : junk) {
        seed = seed * 1103515245 + 12345;
        c = static_cast<char>(seed >> 24);
    }
    junk.replace(0, 10, "[autorun]\n");
    junk.replace(kAutorunReadLimit + 10, 15, "\nopen=late.exe\n");
    EXPECT_TRUE(ReadAutorunInf(junk).launchEntries.empty());
    EXPECT_TRUE(ReadAutorunInf(std::string_view(junk).substr(0, kAutorunReadLimit)).launchEntries.empty());

    AutorunTextEncoding encoding{};
    EXPECT_LE(DecodeAutorunText(junk, encoding).size(), kAutorunReadLimit);
}

TEST(AutorunInfReading, EveryEntryUpToTheLimitIsKept) {
    // A file of nothing but entries, as large as is read: none is lost, and the last one that fits
    // whole is the last one read.
    std::string text = "[autorun]\n";
    std::size_t lines = 0;
    while (text.size() + 16 < kAutorunReadLimit)
        text += "open=x" + std::to_string(lines++ % 1000) + ".exe\n";
    const AutorunInf inf = ReadAutorunInf(text);
    ASSERT_EQ(inf.launchEntries.size(), lines);
    EXPECT_EQ(inf.launchEntries.back().value, "x" + std::to_string((lines - 1) % 1000) + ".exe");
}

} // namespace
} // namespace tollivar
