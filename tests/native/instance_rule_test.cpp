#include "app/instance_rule.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

TEST(InstanceRule, MatchesTheWholeNameWithoutRegardToCase) {
    struct Case {
        const char* name;
        bool isProgram;
    } cases[] = {
        {"tollguard.exe", true},   {"TOLLGUARD.EXE", true},     {"TollGuard.Exe", true},
        {"tollguard.exe ", false}, {"xtollguard.exe", false},   {"tollguard", false},
        {"tollguard2.exe", false}, {"guard copy.exe", false},   {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsProgramImageName(c.name), c.isProgram) << c.name;
}

TEST(InstanceRule, ThisCopyCountsItself) {
    EXPECT_FALSE(AnotherCopyRuns(0)); // a failed snapshot lets start-up go on
    EXPECT_FALSE(AnotherCopyRuns(1));
    EXPECT_TRUE(AnotherCopyRuns(2));
    EXPECT_TRUE(AnotherCopyRuns(3));
}

} // namespace
} // namespace tollivar
