#include "engine/shield_rules.h"

#include <gtest/gtest.h>

namespace tollivar {
namespace {

TEST(ShieldTexts, CountsAreWrittenIntoEachLine) {
    EXPECT_EQ(ShieldStatusLine(0), " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...");
    EXPECT_EQ(ShieldStatusLine(2), " 2 THREAT(S)  DETECTED, HEAL NOW...");
    EXPECT_EQ(ProtectionStatusLine(0), " NO THREAT DETECTED, RESIDENT SHIELD IS MONITORING...");
    EXPECT_EQ(ProtectionStatusLine(13), " 13 THREAT(S)  DETECTED, IMMEDIATE ACTION IS REQUIRED...");
    EXPECT_EQ(ScanResultLine(0), "NO THREAT(S)  DETECTED.");
    EXPECT_EQ(ScanResultLine(5), "5 THREAT(S)  DETECTED.");
}

TEST(AlertCount, ANewNonzeroCountAlertsOnceAndAHealDoesNotForgetIt) {
    AlertCount count;
    const struct {
        int rows;
        bool alerts;
    } passes[] = {
        {0, false}, // nothing found
        {2, true},  // a stick: alert
        {2, false}, // the passes that follow, and those during the alert
        {4, true},  // a second stick
        {0, false}, // healed: the list is empty, the count is kept
        {4, false}, // back to exactly the old count: no switch, no alert
        {2, true},  // any other nonzero count alerts
        {2, false},
    };
    for (const auto& pass : passes) {
        const int before = count.Last();
        EXPECT_EQ(count.TakeCount(pass.rows), pass.alerts) << "after " << before << ", " << pass.rows << " rows";
    }
    count.Reset();
    EXPECT_TRUE(count.TakeCount(2)) << "start-up forgets the old count";
}

} // namespace
} // namespace tollivar
