#include "engine/shortcut_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tollivar {
namespace {

ShortcutFinding Finding(std::vector<std::string> payloads, std::vector<std::string> web = {}) {
    ShortcutFinding f;
    f.shortcut = "E:\\Photos.lnk";
    f.root = "E:\\";
    f.verdict.bait = true;
    f.verdict.reason = "cmd runs something; hides E:\\Photos";
    f.verdict.payloads = std::move(payloads);
    f.verdict.webAddresses = std::move(web);
    f.verdict.mirroredOriginal = "E:\\Photos";
    return f;
}

TEST(ShortcutRows, WhatTheShortcutRowSaysItRuns) {
    const struct {
        ShortcutFinding finding;
        const char* runs;
    } cases[] = {
        {Finding({"E:\\x.vbs", "E:\\y.dll"}, {"http://a.example/p"}), "E:\\x.vbs"},
        {Finding({}, {"http://a.example/p", "http://b.example"}), "http://a.example/p"},
        {Finding({}), "cmd runs something; hides E:\\Photos"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WhatShortcutRuns(c.finding.verdict), c.runs);
}

TEST(ShortcutRows, ShieldRowsMarkTheShortcutAndCarryTheDrive) {
    const std::vector<ShieldRow> rows = ShortcutShieldRows(Finding({"E:\\x.vbs", "E:\\sub\\y.dll"}));
    const std::vector<ShieldRow> expected{
        {"E:\\Photos.lnk", "E:\\x.vbs", "shortcut worm.", "E:\\", true},
        {"E:\\x.vbs", "E:\\Photos.lnk", "shortcut worm.", "E:\\", false},
        {"E:\\sub\\y.dll", "E:\\Photos.lnk", "shortcut worm.", "E:\\", false},
    };
    EXPECT_EQ(rows, expected);
}

TEST(ShortcutRows, ScanRowsAreFileRowsAndTextsAreCut) {
    ShortcutFinding f = Finding({"E:\\" + std::string(600, 'p') + ".vbs"});
    const std::vector<ScanRow> rows = ShortcutScanRows(f);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (ScanRow{"E:\\Photos.lnk", "F", "shortcut worm.", "E:\\", "", false, true}));
    EXPECT_EQ(rows[1].kind, "F");
    EXPECT_EQ(rows[1].identification, "shortcut worm.");
    EXPECT_EQ(rows[1].autorunRoot, "E:\\");
    EXPECT_FALSE(rows[1].baitShortcut);
    EXPECT_EQ(rows[1].infection.size(), 511u);
}

} // namespace
} // namespace tollivar
