#include "engine/shell_link.h"

#include <gtest/gtest.h>

#include <string>

#include "shell_link_images.h"

namespace tollivar {
namespace {

using test::ComputerItem;
using test::DriveItem;
using test::FileItem;
using test::LinkImage;
using test::PathItems;
using test::Put16;
using test::Put32;

ShellLink Parsed(const std::string& image) {
    const ShellLinkReading reading = ParseShellLink(image);
    EXPECT_TRUE(reading.Ok()) << static_cast<int>(reading.error);
    return reading.link;
}

// A file item whose primary name is stored in UTF-16 (type 0x36), without an extension block.
std::string UnicodeFileItem(std::string_view name) {
    std::string item("\x36", 1);
    item += '\0';
    Put32(item, 0);
    Put32(item, 0);
    Put16(item, 0x20);
    item += test::WideZ(name);
    Put16(item, 0);
    return item;
}

// Link info that names only a network share and the path below it.
std::string NetworkLinkInfo(std::string_view share, std::string_view suffix) {
    std::string network;
    Put32(network, 0); // size, set below
    Put32(network, 0x2);
    Put32(network, 0x14); // name right after the fixed part
    Put32(network, 0);
    Put32(network, 0x20000);
    network += share;
    network += '\0';
    network[0] = static_cast<char>(network.size());
    std::string info;
    Put32(info, 0);
    Put32(info, 0x1C);
    Put32(info, 0x2);
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, 0x1C);
    Put32(info, static_cast<std::uint32_t>(0x1C + network.size()));
    info += network;
    info += suffix;
    info += '\0';
    info[0] = static_cast<char>(info.size());
    return info;
}

TEST(ParseShellLink, TargetFromEachPartInOrderOfPreference) {
    struct Case {
        const char* what;
        LinkImage image;
        const char* linkInfo;
        const char* environment;
        const char* idList;
        const char* target;
    } cases[] = {
        {"link info, ANSI", LinkImage().LocalPath("C:\\Windows\\System32\\cmd.exe"),
         "C:\\Windows\\System32\\cmd.exe", "", "", "C:\\Windows\\System32\\cmd.exe"},
        {"link info base and suffix", LinkImage().LocalPath("C:\\Docs", "a.txt"), "C:\\Docs\\a.txt", "", "",
         "C:\\Docs\\a.txt"},
        {"link info, Unicode offsets",
         LinkImage().LocalPath("E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe\\x.vbs", "", true),
         "E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe\\x.vbs", "", "",
         "E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe\\x.vbs"},
        {"environment block only", LinkImage().Environment("%windir%\\system32\\wscript.exe"), "",
         "%windir%\\system32\\wscript.exe", "", "%windir%\\system32\\wscript.exe"},
        {"ID list only", LinkImage().Items(PathItems("C:\\Windows\\System32\\rundll32.exe")), "", "",
         "C:\\Windows\\System32\\rundll32.exe", "C:\\Windows\\System32\\rundll32.exe"},
        {"ID list, Chinese and emoji long names",
         LinkImage().Items(PathItems("E:\\\xe7\x85\xa7\xe7\x89\x87\\\xf0\x9f\x98\x80.exe")), "", "",
         "E:\\\xe7\x85\xa7\xe7\x89\x87\\\xf0\x9f\x98\x80.exe",
         "E:\\\xe7\x85\xa7\xe7\x89\x87\\\xf0\x9f\x98\x80.exe"},
        {"ID list, short names only",
         LinkImage().Items({ComputerItem(), DriveItem("E:\\"), FileItem("PHOTOS~1", "", true),
                            FileItem("X.VBS", "", false)}),
         "", "", "E:\\PHOTOS~1\\X.VBS", "E:\\PHOTOS~1\\X.VBS"},
        {"ID list, extension blocks of versions 3, 7 and 8",
         LinkImage().Items({ComputerItem(), DriveItem("E:\\"), FileItem("A~1", "Alpha", true, 3),
                            FileItem("B~1", "Beta", true, 7), FileItem("C~1", "Gamma.js", false, 8)}),
         "", "", "E:\\Alpha\\Beta\\Gamma.js", "E:\\Alpha\\Beta\\Gamma.js"},
        {"ID list, a Unicode primary name",
         LinkImage().Items(
             {ComputerItem(), DriveItem("E:\\"), UnicodeFileItem("\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs")}),
         "", "", "E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs", "E:\\\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe.vbs"},
        {"link info of a network share",
         LinkImage().RawLinkInfo(NetworkLinkInfo("\\\\server\\share", "x.vbs")), "\\\\server\\share\\x.vbs",
         "", "", "\\\\server\\share\\x.vbs"},
        {"ID list without a drive names no path",
         LinkImage().Items({ComputerItem(), FileItem("X", "x.exe", false)}), "", "", "", ""},
        {"link info wins over the rest",
         LinkImage().Items(PathItems("C:\\b.exe")).LocalPath("C:\\a.exe").Environment("%x%\\c.exe"),
         "C:\\a.exe", "%x%\\c.exe", "C:\\b.exe", "C:\\a.exe"},
        {"the environment block wins over the ID list",
         LinkImage().Items(PathItems("C:\\b.exe")).Environment("%x%\\c.exe"), "", "%x%\\c.exe", "C:\\b.exe",
         "%x%\\c.exe"},
        {"link info the flags say to ignore",
         LinkImage().Items(PathItems("C:\\b.exe")).LocalPath("C:\\a.exe").ForceNoLinkInfo(), "", "",
         "C:\\b.exe", "C:\\b.exe"},
    };
    for (const Case& c : cases) {
        const ShellLink link = Parsed(c.image.Build());
        EXPECT_EQ(link.linkInfoPath, c.linkInfo) << c.what;
        EXPECT_EQ(link.environmentPath, c.environment) << c.what;
        EXPECT_EQ(link.idListPath, c.idList) << c.what;
        EXPECT_EQ(link.targetPath, c.target) << c.what;
    }
}

TEST(ParseShellLink, StringDataInUnicodeAndAnsi) {
    for (bool unicode : {true, false}) {
        const std::string image = LinkImage()
                                      .Unicode(unicode)
                                      .Attributes(0x22)
                                      .Name("Photos")
                                      .RelativePath(".\\x.vbs")
                                      .WorkingDir("E:\\")
                                      .Arguments("/c start x.vbs & exit")
                                      .Icon("%SystemRoot%\\system32\\shell32.dll")
                                      .Build();
        const ShellLink link = Parsed(image);
        EXPECT_EQ(link.fileAttributes, 0x22u);
        EXPECT_EQ(link.flags & kLinkIsUnicode, unicode ? kLinkIsUnicode : 0u);
        EXPECT_EQ(link.name, "Photos");
        EXPECT_EQ(link.relativePath, ".\\x.vbs");
        EXPECT_EQ(link.workingDir, "E:\\");
        EXPECT_EQ(link.arguments, "/c start x.vbs & exit");
        EXPECT_EQ(link.iconLocation, "%SystemRoot%\\system32\\shell32.dll");
    }
}

TEST(ParseShellLink, TextsBecomeUtf8) {
    struct Case {
        const char* what;
        bool unicode;
        std::string arguments; // as given to the builder: UTF-8, or raw ANSI bytes
        std::string expected;
    } cases[] = {
        {"Cyrillic", true, "\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe", "\xd0\xa4\xd0\xbe\xd1\x82\xd0\xbe"},
        {"emoji as a surrogate pair", true, "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
        {"no-break space", true, "\xc2\xa0", "\xc2\xa0"},
        {"ANSI byte above ASCII", false, "caf\xe9", "caf\xc3\xa9"},
        {"ends at the first NUL", true, std::string("a\0b", 3), "a"},
        {"ANSI ends at the first NUL", false, std::string("a\0b", 3), "a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(LinkImage().Unicode(c.unicode).Arguments(c.arguments).Build()).arguments, c.expected)
            << c.what;

    // A lone surrogate is not lost silently: it becomes U+FFFD and what follows is kept.
    std::string lone;
    Put16(lone, 0xD800);
    Put16(lone, 'x');
    EXPECT_EQ(Utf16ToUtf8(lone), "\xef\xbf\xbd"
                                 "x");

    // The caller's decoder turns ANSI text into UTF-8.
    const AnsiDecoder upper = [](std::string_view bytes) { return "[" + std::string(bytes) + "]"; };
    EXPECT_EQ(ParseShellLink(LinkImage().Unicode(false).Arguments("ab").Build(), upper).link.arguments,
              "[ab]");
}

TEST(ParseShellLink, RefusesWhatIsNotAWholeShortcut) {
    const std::string good = LinkImage().LocalPath("C:\\a.exe").Arguments("x").Build();
    std::string wrongHeader = good;
    wrongHeader[0] = 0x4D;
    std::string wrongClass = good;
    wrongClass[19] = 0x47;
    std::string hugeIdList = LinkImage().Items(PathItems("C:\\a.exe")).Build();
    hugeIdList[0x4C] = '\xFF';
    hugeIdList[0x4D] = '\xFF';
    std::string tinyInfo = good;
    tinyInfo.replace(0x4C, 4, std::string("\x1B\0\0\0", 4));
    std::string infoPastEnd = good;
    infoPastEnd.replace(0x4C, 4, std::string("\x00\x10\0\0", 4));
    std::string hugeCount = LinkImage().Arguments("abc").Build();
    hugeCount[0x4C] = '\xFF';
    hugeCount[0x4D] = '\xFF';

    struct Case {
        const char* what;
        std::string bytes;
        ShellLinkError error;
    } cases[] = {
        {"empty", "", ShellLinkError::Truncated},
        {"header only in part", good.substr(0, 0x4B), ShellLinkError::Truncated},
        {"over the size limit", good + std::string(kShellLinkMaxBytes, '\0'), ShellLinkError::TooLarge},
        {"wrong header size", wrongHeader, ShellLinkError::NotShortcut},
        {"wrong class id", wrongClass, ShellLinkError::NotShortcut},
        {"ID list size past the end", hugeIdList, ShellLinkError::Truncated},
        {"link info smaller than its header", tinyInfo, ShellLinkError::BadLinkInfo},
        {"link info size past the end", infoPastEnd, ShellLinkError::Truncated},
        {"string count past the end", hugeCount, ShellLinkError::Truncated},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseShellLink(c.bytes).error, c.error) << c.what;

    // Exactly at the limit is still read.
    std::string atLimit = LinkImage().Arguments("x").Build();
    atLimit.resize(kShellLinkMaxBytes, '\0');
    EXPECT_TRUE(ParseShellLink(atLimit).Ok());
}

// Every prefix of a real-looking shortcut: up to the end of the string data it is an error; inside
// the extra data the strings read before stay as they were, and a cut block is dropped whole.
TEST(ParseShellLink, TruncatedAtEveryOffset) {
    const LinkImage images[] = {
        LinkImage()
            .Items(PathItems("C:\\Windows\\System32\\cmd.exe"))
            .LocalPath("C:\\Windows\\System32\\cmd.exe", "", true)
            .Name("Photos")
            .Arguments("/c start x.vbs & start explorer \"\xc2\xa0\" & exit")
            .Icon("shell32.dll")
            .Environment("%windir%\\system32\\cmd.exe"),
        LinkImage().Unicode(false).LocalPath("C:\\x.exe", "y").WorkingDir("E:\\").Arguments("a"),
    };
    for (const LinkImage& image : images) {
        const std::string full = image.Build();
        const ShellLink whole = Parsed(full);
        const std::size_t extraAt = full.size() - 4 - ((image.Flags() & kLinkHasExpString) ? 0x314 : 0);
        for (std::size_t cut = 0; cut < full.size(); ++cut) {
            const ShellLinkReading r = ParseShellLink(std::string_view(full).substr(0, cut));
            if (cut < extraAt) {
                EXPECT_FALSE(r.Ok()) << cut;
                continue;
            }
            ASSERT_TRUE(r.Ok()) << cut;
            EXPECT_EQ(r.link.arguments, whole.arguments) << cut;
            EXPECT_EQ(r.link.iconLocation, whole.iconLocation) << cut;
            EXPECT_EQ(r.link.linkInfoPath, whole.linkInfoPath) << cut;
            EXPECT_EQ(r.link.environmentPath, cut >= extraAt + 0x314 ? whole.environmentPath : "") << cut;
        }
    }
}

// Sizes and offsets inside a part that contradict it: the part's text is skipped, never read from
// outside the part, and the rest of the file is still read.
TEST(ParseShellLink, InconsistentInsidesAreSkipped) {
    auto list = [](std::vector<std::string> items) {
        std::string bytes;
        for (const std::string& item : items) {
            Put16(bytes, static_cast<std::uint32_t>(item.size() + 2));
            bytes += item;
        }
        Put16(bytes, 0);
        return bytes;
    };
    auto idList = [](std::string bytes) {
        return LinkImage().RawIdList(std::move(bytes)).Arguments("after");
    };
    std::string sizeOne, pastList;
    Put16(sizeOne, 1);
    Put16(sizeOne, 0);
    Put16(pastList, 0x40);
    pastList += DriveItem("C:\\");
    // A file item whose extension block claims more than the item holds: the short name is used.
    std::string longBlockItem = FileItem("X.VBS", "long.vbs", false);
    longBlockItem[longBlockItem.find("\x04\x00\xEF\xBE", 0, 4) - 4] = '\x7F';

    // Link info holding "C:\a.exe" at baseOffset, with the header size given.
    auto linkInfo = [](std::uint32_t headerSize, std::uint32_t baseOffset, bool terminated = true) {
        std::string info;
        Put32(info, 0); // size, set below
        Put32(info, headerSize);
        Put32(info, 0x1);
        Put32(info, 0);
        Put32(info, baseOffset);
        Put32(info, 0);
        Put32(info, 0);
        info += "C:\\a.exe";
        if (terminated) info += '\0';
        info[0] = static_cast<char>(info.size());
        return LinkImage().RawLinkInfo(info).Arguments("after");
    };

    struct Case {
        const char* what;
        LinkImage image;
        const char* idList;
        const char* linkInfo;
    } cases[] = {
        {"well-formed list", idList(list({DriveItem("E:\\"), FileItem("X.VBS", "x.vbs", false)})),
         "E:\\x.vbs", ""},
        {"ID list ends at once", idList(list({})), "", ""},
        {"item of size 1", idList(sizeOne), "", ""},
        {"item past the list", idList(pastList), "", ""},
        {"drive item without a drive", idList(list({DriveItem("CX\\")})), "", ""},
        {"item of a kind that names no path", idList(list({std::string("\x61\0\0", 3)})), "", ""},
        {"file item before any drive", idList(list({FileItem("X.VBS", "x.vbs", false)})), "", ""},
        {"file item too short for its name", idList(list({DriveItem("E:\\"), std::string("\x32\0\0\0", 4)})),
         "", ""},
        {"extension block past its item", idList(list({DriveItem("E:\\"), longBlockItem})), "E:\\X.VBS", ""},
        {"well-formed link info", linkInfo(0x1C, 0x1C), "", "C:\\a.exe"},
        {"link info header larger than the link info", linkInfo(0x40, 0x1C), "", ""},
        {"path offset inside the header", linkInfo(0x1C, 0x08), "", ""},
        {"path offset past the link info", linkInfo(0x1C, 0x1000), "", ""},
        {"path without its NUL", linkInfo(0x1C, 0x1C, false), "", ""},
    };
    for (const Case& c : cases) {
        const ShellLink link = Parsed(c.image.Build());
        EXPECT_EQ(link.idListPath, c.idList) << c.what;
        EXPECT_EQ(link.linkInfoPath, c.linkInfo) << c.what;
        EXPECT_EQ(link.arguments, "after") << c.what;
    }
}

// A part the flags announce with a size of zero: an empty ID list and an empty string are fine, a
// link info of size zero cannot hold its own header.
TEST(ParseShellLink, ZeroSizes) {
    auto announce = [](std::uint32_t flag, std::string part) {
        std::string image = LinkImage().Arguments("after").Build();
        image[0x14] = static_cast<char>(image[0x14] | flag);
        image.insert(0x4C, part);
        return image;
    };
    const ShellLinkReading emptyList = ParseShellLink(announce(kLinkHasIdList, std::string(2, '\0')));
    ASSERT_TRUE(emptyList.Ok());
    EXPECT_EQ(emptyList.link.idListPath, "");
    EXPECT_EQ(emptyList.link.arguments, "after");

    EXPECT_EQ(ParseShellLink(announce(kLinkHasLinkInfo, std::string(4, '\0'))).error,
              ShellLinkError::BadLinkInfo);

    const ShellLink emptyName = Parsed(LinkImage().Name("").Arguments("after").Build());
    EXPECT_EQ(emptyName.name, "");
    EXPECT_EQ(emptyName.arguments, "after");
}

TEST(ParseShellLink, ExtraDataBlocks) {
    std::string tinyEnv;
    Put32(tinyEnv, 0x20);
    Put32(tinyEnv, 0xA0000001);
    tinyEnv.resize(0x20, 'A');
    std::string other;
    Put32(other, 0x10);
    Put32(other, 0xA0000005);
    other.resize(0x10, '\0');
    std::string pastEnd;
    Put32(pastEnd, 0x1000);
    Put32(pastEnd, 0xA0000001);
    std::string sizeFive;
    Put32(sizeFive, 5);
    Put32(sizeFive, 0);

    struct Case {
        const char* what;
        LinkImage image;
        const char* environment;
    } cases[] = {
        {"other blocks before it are stepped over", LinkImage().RawExtra(other).Environment("%a%\\b.exe"),
         "%a%\\b.exe"},
        {"a block too small to be the environment block", LinkImage().RawExtra(tinyEnv), ""},
        {"a block past the end ends the walk",
         LinkImage().Environment("%a%\\b.exe").RawExtra(pastEnd).NoTerminalBlock(), "%a%\\b.exe"},
        {"a size too small for a block ends the walk",
         LinkImage().RawExtra(sizeFive).Environment("%a%\\b.exe"), ""},
        {"no terminal block", LinkImage().Environment("%a%\\b.exe").NoTerminalBlock(), "%a%\\b.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(c.image.Build()).environmentPath, c.environment) << c.what;

    // Without Unicode text the ANSI copy is used.
    std::string ansiOnly;
    Put32(ansiOnly, 0x314);
    Put32(ansiOnly, 0xA0000001);
    ansiOnly += "%windir%\\cmd.exe";
    ansiOnly.resize(0x314, '\0');
    EXPECT_EQ(Parsed(LinkImage().RawExtra(ansiOnly).Build()).environmentPath, "%windir%\\cmd.exe");
}

} // namespace
} // namespace tollivar
