// The rows of a drive whose autorun.inf names several programs: the autorun file once, then each
// program, with the drive kept on every program's row for healing.
#include <gtest/gtest.h>

#include "engine/autorun_rules.h"
#include "engine/detection_rows.h"

namespace tollivar {
namespace {

const AutorunFinding kRun{"E:\\autorun.inf", "E:\\run.exe", "run.exe"};
const AutorunFinding kPayload{"E:\\autorun.inf", "E:\\RECYCLER\\x.dll", "x.dll"};
const AutorunFinding kOther{"G:\\autorun.inf", "G:\\a.exe", "a.exe"};

TEST(DriveRows, ShieldListsTheAutorunFileOnceThenEveryProgram) {
    const std::vector<ShieldRow> rows = ShieldRowsForDrive({kRun, kPayload});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ShieldRow{"E:\\autorun.inf", "run.exe", "suspicious."}));
    EXPECT_EQ(rows[1], (ShieldRow{"E:\\run.exe", "possible malware.", "suspicious.", "E:\\"}));
    EXPECT_EQ(rows[2], (ShieldRow{"E:\\RECYCLER\\x.dll", "possible malware.", "suspicious.", "E:\\"}));
    EXPECT_TRUE(ShieldRowsForDrive({}).empty());
    // One finding gives the pair it always gave.
    const auto pair = ShieldRowsFor(kRun);
    EXPECT_EQ(ShieldRowsForDrive({kRun}), (std::vector<ShieldRow>{pair[0], pair[1]}));
}

TEST(DriveRows, FindingsAreGroupedByTheirAutorunFile) {
    const auto drives = FindingsByDrive({kRun, kPayload, kOther});
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].size(), 2u);
    EXPECT_EQ(drives[1][0].infPath, "G:\\autorun.inf");
    EXPECT_TRUE(FindingsByDrive({}).empty());
}

TEST(DriveRows, ScanListsProcessesThenTheAutorunFileOnceThenEveryProgram) {
    const std::vector<ScanRow> rows = AutorunScanRowsForDrive({kRun, kPayload}, {"[1A4] - run.exe", ""});
    const std::vector<std::string> texts = [&] {
        std::vector<std::string> t;
        for (const ScanRow& r : rows) t.push_back(r.infection + "|" + r.kind + "|" + r.autorunRoot);
        return t;
    }();
    EXPECT_EQ(texts, (std::vector<std::string>{"[1A4] - run.exe|P|", "E:\\autorun.inf|F|", "E:\\run.exe|F|E:\\",
                                               "E:\\RECYCLER\\x.dll|F|E:\\"}));
    EXPECT_EQ(AutorunScanRowsForDrive({kRun}, {""}), AutorunScanRows(kRun, ""));
}

} // namespace
} // namespace tollivar
