#include "engine/drive_units.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

TEST(DriveUnits, EachSetBitNamesItsLetterInLetterOrder) {
    using Roots = std::vector<std::string>;
    const struct {
        std::uint32_t mask;
        Roots roots;
    } cases[] = {
        {0, {}},
        {1u << 0, {"A:\\"}},
        {1u << 7, {"H:\\"}},
        {1u << 25, {"Z:\\"}},
        {(1u << 4) | (1u << 6), {"E:\\", "G:\\"}},
        {(1u << 26) | (1u << 31), {}}, // bits beyond Z: name no drive
        {0xFFFFFFFFu,
         [] {
             Roots all;
             for (char c = 'A'; c <= 'Z'; ++c)
                 all.push_back(std::string(1, c) + ":\\");
             return all;
         }()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RootsOfUnitMask(c.mask), c.roots) << std::hex << c.mask;
}

} // namespace
} // namespace tollivar
