#include "heal/heal_status_text.h"
#include "heal/quarantine_names.h"
#include "heal/removed_count_bytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

namespace tollivar {
namespace {

TEST(QuarantineNames, TheFileNameKeepsItsDotsAndTakesTheNumberAndQr) {
    const struct {
        const char* path;
        std::int32_t suffix;
        const char* name;
    } cases[] = {
        {"E:\\autorun.inf", 5841203, "autorun.inf.5841203qr"},
        {"E:\\deep\\folder\\a.b.exe", 7, "a.b.exe.7qr"},
        {"E:\\x.exe", -1234, "x.exe.-1234qr"},
        {"E:\\x.exe", INT_MIN, "x.exe.-2147483648qr"},
        {"bare name.exe", 0, "bare name.exe.0qr"},
        {"E:\\noext", 12, "noext.12qr"},
    };
    for (const auto& c : cases) {
        const std::string name = QuarantineFileName(c.path, c.suffix);
        EXPECT_EQ(name, c.name) << c.path;
        // The quarantine manager recovers the file name by cutting at the last dot.
        EXPECT_EQ(OriginalNameOfQuarantined(name), FileNameOfPath(c.path)) << c.path;
    }
    EXPECT_EQ(OriginalNameOfQuarantined("nodot"), "nodot");
}

TEST(QuarantineNames, ANameThatWouldLeaveTheFolderOrOpenADeviceIsMadePlain) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        // Windows splits at a slash as at a backslash: "a/../../x" must not climb out of the folder.
        {"E:\\dir/evil.exe", "evil.exe.5qr"},
        {"E:\\a/../../evil.exe", "evil.exe.5qr"},
        {"E:\\evil.exe:stream", "evil.exe_stream.5qr"}, // a colon would name a stream of another file
        {"E:\\a<b>c|d?e*f\"g.exe", "a_b_c_d_e_f_g.exe.5qr"},
        {"E:\\tab\tname.exe", "tab_name.exe.5qr"}, // a control character
        {"E:\\con", "_con.5qr"},
        {"E:\\NUL.exe", "_NUL.exe.5qr"},
        {"E:\\Com1.txt", "_Com1.txt.5qr"},
        {"E:\\lpt9", "_lpt9.5qr"},
        {"E:\\COM\xC2\xB9.exe", "_COM\xC2\xB9.exe.5qr"}, // superscript one, in UTF-8
        {"E:\\lpt\xC2\xB3", "_lpt\xC2\xB3.5qr"},
        {"E:\\COM\xC2\xB4.exe", "COM\xC2\xB4.exe.5qr"}, // an acute accent is no digit
        {"E:\\\xD0\xBF\xD0\xB5\xD0\xB9\xD0\xBB\xD0\xBE\xD0\xB0\xD0\xB4.exe",
         "\xD0\xBF\xD0\xB5\xD0\xB9\xD0\xBB\xD0\xBE\xD0\xB0\xD0\xB4.exe.5qr"},
        {"E:\\aux .exe", "_aux .exe.5qr"},
        {"E:\\CONOUT$", "_CONOUT$.5qr"},
        {"E:\\console.exe", "console.exe.5qr"},
        {"E:\\COM10.exe", "COM10.exe.5qr"},
        {"E:\\COM0.exe", "COM0.exe.5qr"},
        {"E:\\", ".5qr"},
    };
    for (const auto& c : cases) {
        const std::string name = QuarantineFileName(c.path, 5);
        EXPECT_EQ(name, c.name) << c.path;
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
}

TEST(QuarantineNames, PlainFileNames) {
    for (const char* name : {"autorun.inf", "a", ".hidden", "x.", "console", "COM10", "LPT0.txt", "nul_"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name : {"", ".", "..", "...", " ", ". .", "a\\b", "a/b", "a:b", "a*", "a\x01", "CON",
                             "con.txt", "Prn .x", "LPT3", "com\xC2\xB2", "conin$", "con.sole"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
}

TEST(QuarantineNames, TheDestinationIsInTheQuarantineFolderAndMustFitAPathBuffer) {
    EXPECT_EQ(QuarantineDestination("C:\\Tollivar\\quarantine\\", "E:\\autorun.inf", -5),
              "C:\\Tollivar\\quarantine\\autorun.inf.-5qr");
    const std::string folder = "C:\\" + std::string(480, 'f') + "\\quarantine\\";
    EXPECT_FALSE(QuarantineDestination(folder, "E:\\" + std::string(40, 'n') + ".exe", 1).has_value());
    const auto fits = QuarantineDestination(folder, "E:\\n.exe", 1);
    ASSERT_TRUE(fits.has_value());
    EXPECT_LE(fits->size(), 511u);
}

TEST(QuarantineNames, SuffixesDifferWithinOneMillisecondAndAcrossTicks) {
    std::set<std::int32_t> seen;
    for (std::uint32_t sequence = 0; sequence < 1000; ++sequence)
        seen.insert(QuarantineSuffix(5000, sequence, 42));
    for (std::uint32_t tick = 0; tick < 1000; ++tick)
        seen.insert(QuarantineSuffix(tick, 0, 42));
    EXPECT_GT(seen.size(), 1990u);
    bool negative = false;
    for (std::int32_t s : seen)
        negative = negative || s < 0;
    EXPECT_TRUE(negative) << "the whole signed range is used";
}

TEST(RemovedCount, FourLittleEndianBytesShortFilesGiveLowOrderBytes) {
    const struct {
        std::vector<std::uint8_t> bytes;
        std::int32_t count;
    } cases[] = {
        {{}, 0},
        {{1, 0, 0, 0}, 1},
        {{0x11}, 0x11},
        {{0x34, 0x12}, 0x1234},
        {{0x01, 0x02, 0x03}, 0x030201},
        {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {{2, 0, 0, 0, 9, 9}, 2}, // bytes after the fourth are not part of the count
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeRemovedCount(c.bytes), c.count);

    for (std::int32_t count : {0, 1, 2, 256, 0x01020304, -1, INT_MAX, INT_MIN}) {
        const auto bytes = EncodeRemovedCount(count);
        EXPECT_EQ(DecodeRemovedCount({bytes.begin(), bytes.end()}), count);
    }
    EXPECT_EQ(EncodeRemovedCount(1), (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(EncodeRemovedCount(0x01020304), (std::array<std::uint8_t, 4>{4, 3, 2, 1}));
}

TEST(RemovedCount, GrowsByOneAndWrapsLikeTheStoredWord) {
    EXPECT_EQ(NextRemovedCount(0), 1);
    EXPECT_EQ(NextRemovedCount(-1), 0);
    EXPECT_EQ(NextRemovedCount(INT_MAX), INT_MIN);
    EXPECT_EQ(FormatRemovedCount(17), "17");
    EXPECT_EQ(FormatRemovedCount(-3), "-3");
}

TEST(HealStatus, SuccessOnlyWhenEveryCheckedRowWasHealed) {
    const struct {
        HealedList list;
        HealTally tally;
        const char* text;
    } cases[] = {
        {HealedList::Shield, {2, 0, 2}, " All Infections Successfully Healed..."},
        {HealedList::Shield, {0, 0, 0}, " All Infections Successfully Healed..."},
        {HealedList::Scan, {3, 0, 1}, " All Infections Healed..."},
        {HealedList::Shield, {2, 1, 1}, " 1 Infection NOT Healed..."},
        {HealedList::Scan, {5, 3, 2}, " 3 Infections NOT Healed..."},
        // The user's items a bait shortcut hid are told after either outcome.
        {HealedList::Shield, {2, 0, 2, 3}, " All Infections Successfully Healed... 3 items unhidden."},
        {HealedList::Scan, {2, 0, 2, 1}, " All Infections Healed... 1 item unhidden."},
        {HealedList::Shield, {3, 1, 2, 2}, " 1 Infection NOT Healed... 2 items unhidden."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HealStatusText(c.list, c.tally), c.text);
}

} // namespace
} // namespace tollivar
