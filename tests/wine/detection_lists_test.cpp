// The detection rows, list selection and list buttons on the real pages, built in this process on a
// window of the test's own.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/autorun_rules.h"
#include "pages/detection_lists_win.h"
#include "pages/list_buttons_win.h"
#include "heal/system_repairs.h"
#include "pages/heal_page_win.h"
#include "pages/list_rows_win.h"
#include "pages/list_selection_win.h"
#include "pages/pages_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_page_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

struct Row {
    std::vector<std::string> columns;
    bool checked;
    bool selected;
    bool operator==(const Row& o) const {
        return columns == o.columns && checked == o.checked && selected == o.selected;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    out << "{";
    for (const auto& c : row.columns) out << '"' << c << "\" ";
    return out << (row.checked ? "checked" : "unchecked") << (row.selected ? " selected}" : "}");
}

std::vector<Row> Rows(HWND list, int columns) {
    std::vector<Row> rows;
    for (int i = 0; i < ListRowCount(list); ++i) {
        Row row{{}, RowIsChecked(list, i),
                (SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED) != 0};
        for (int c = 0; c < columns; ++c) row.columns.push_back(ListRowText(list, i, c));
        rows.push_back(row);
    }
    return rows;
}

AutorunFinding Finding(const std::string& root, const std::string& program) {
    return AutorunFinding{root + "autorun.inf", root + program, program};
}

// A stand-in for the main window with the tab control and the pages built on it.
class PagesOnATestWindow : public testing::Test {
  protected:
    void SetUp() override {
        InitCommonControls();
        host_ = CreateWindowExA(0, "Static", "Tollivar pages", WS_OVERLAPPED, 0, 0, 700, 500, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        BuildTabControl(host_);
        BuildMainInfoPage(host_);
        BuildShieldPage(host_);
        BuildScanPage(host_);
        BuildHealPage(host_);
        BuildSettingsPage(host_);
        ASSERT_NE(ShieldList(), nullptr);
        ASSERT_NE(ScanList(), nullptr);
    }
    void TearDown() override { DestroyWindow(host_); }

    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(host_, id)) != FALSE; }

    HWND host_ = nullptr;
};

TEST_F(PagesOnATestWindow, AShieldPairHasTheAutorunFileAndItsProgramAndIsListedOnce) {
    EXPECT_TRUE(AddShieldDetection(ShieldList(), Finding("E:\\", "virus.exe")));
    const std::vector<Row> pair = {
        {{"E:\\autorun.inf", "virus.exe", "suspicious."}, true, false},
        {{"E:\\virus.exe", "possible malware.", "suspicious."}, true, true},
    };
    EXPECT_EQ(Rows(ShieldList(), 3), pair);

    // The next pass finds the same drive, even naming another program: nothing new.
    EXPECT_FALSE(AddShieldDetection(ShieldList(), Finding("E:\\", "virus.exe")));
    EXPECT_FALSE(AddShieldDetection(ShieldList(), Finding("E:\\", "other.exe")));
    EXPECT_EQ(Rows(ShieldList(), 3), pair);

    // The comparison is exact: another case is another path.
    EXPECT_TRUE(AddShieldDetection(ShieldList(), Finding("G:\\", "run.exe")));
    EXPECT_TRUE(AddShieldDetection(ShieldList(), AutorunFinding{"e:\\autorun.inf", "e:\\x.exe", "x.exe"}));
    const std::vector<Row> rows = Rows(ShieldList(), 3);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[2].columns, (std::vector<std::string>{"G:\\autorun.inf", "run.exe", "suspicious."}));
    EXPECT_EQ(rows[3].columns, (std::vector<std::string>{"G:\\run.exe", "possible malware.", "suspicious."}));
    EXPECT_EQ(rows[4].columns[0], "e:\\autorun.inf");
    for (const Row& row : rows) EXPECT_TRUE(row.checked);
}

// Passes come every second, also with a drive pulled (no findings): the list keeps its image list
// as it was built (the threat icon; this test program has no icons to load) and every row shows image 0.
TEST_F(PagesOnATestWindow, ShieldRowsKeepTheirIconAcrossPasses) {
    HWND list = ShieldList();
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr) << "the list has its icon before any pass";
    const int built = ImageList_GetImageCount(images);
    ShowShieldFindings({Finding("E:\\", "virus.exe")});
    ShowShieldFindings({});
    ShowShieldFindings({Finding("E:\\", "virus.exe"), Finding("G:\\", "run.exe")});
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), images);
    EXPECT_EQ(ImageList_GetImageCount(images), built) << "passes add no images";
    ASSERT_EQ(ListRowCount(list), 4);
    for (int row = 0; row < 4; ++row) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.iImage, 0) << row;
    }
}

TEST_F(PagesOnATestWindow, ScanRowsKeepTheirOrderAndDuplicates) {
    AddScanRow(ScanList(), MakeScanRow("[1A4] - Virus.EXE", "P", "Worm.X"));
    AddScanRow(ScanList(), MakeScanRow("E:\\autorun.inf", "F", "suspicious."));
    AddScanRow(ScanList(), MakeScanRow("E:\\autorun.inf", "F", "suspicious."));
    const std::vector<Row> expected = {
        {{"[1A4] - Virus.EXE", "P", "Worm.X"}, true, false},
        {{"E:\\autorun.inf", "F", "suspicious."}, true, false},
        {{"E:\\autorun.inf", "F", "suspicious."}, true, true},
    };
    EXPECT_EQ(Rows(ScanList(), 3), expected);
}

TEST_F(PagesOnATestWindow, TextsAreCutAt511Characters) {
    const std::string longPath = "E:\\" + std::string(600, 'a') + ".exe";
    AddScanRow(ScanList(), MakeScanRow(longPath, "F", std::string(700, 'T')));
    AddShieldDetection(ShieldList(), AutorunFinding{"E:\\autorun.inf", longPath, std::string(520, 'n')});
    EXPECT_EQ(ListRowText(ScanList(), 0, 0), longPath.substr(0, 511));
    EXPECT_EQ(ListRowText(ScanList(), 0, 2), std::string(511, 'T'));
    EXPECT_EQ(ListRowText(ShieldList(), 0, 1), std::string(511, 'n'));
    EXPECT_EQ(ListRowText(ShieldList(), 1, 0), longPath.substr(0, 511));

    // A listed path of 511 characters or more still matches its drive's next finding.
    const std::string longInf = std::string(520, 'z');
    EXPECT_TRUE(AddShieldDetection(ShieldList(), AutorunFinding{longInf, "E:\\a.exe", "a.exe"}));
    EXPECT_FALSE(AddShieldDetection(ShieldList(), AutorunFinding{longInf, "E:\\a.exe", "a.exe"}));
}

TEST_F(PagesOnATestWindow, EmptyListsGreyTheirButtonsAndARowEnablesThem) {
    const int shieldButtons[] = {IDC_SHIELD_SELECT_ALL_BUTTON, IDC_SHIELD_DESELECT_ALL_BUTTON,
                                 IDC_HEAL_SELECTED_BUTTON};
    const int scanButtons[] = {IDC_SCAN_SELECT_ALL_BUTTON, IDC_SCAN_DESELECT_ALL_BUTTON,
                               IDC_HEAL_SCAN_SELECTED_BUTTON};
    RefreshListButtons(host_);
    for (int id : shieldButtons) EXPECT_FALSE(Enabled(id)) << id;
    for (int id : scanButtons) EXPECT_FALSE(Enabled(id)) << id;
    // Buttons that do not depend on the rows are left alone.
    EXPECT_TRUE(Enabled(IDC_START_SCAN_BUTTON));
    EXPECT_TRUE(Enabled(IDC_HEAL_SELECT_ALL_BUTTON));

    AddShieldDetection(ShieldList(), Finding("E:\\", "virus.exe"));
    RefreshListButtons(host_);
    for (int id : shieldButtons) EXPECT_TRUE(Enabled(id)) << id;
    for (int id : scanButtons) EXPECT_FALSE(Enabled(id)) << id;

    AddScanRow(ScanList(), MakeScanRow("E:\\x.exe", "F", "suspicious."));
    RefreshListButtons(host_);
    for (int id : scanButtons) EXPECT_TRUE(Enabled(id)) << id;

    SendMessageA(ShieldList(), LVM_DELETEALLITEMS, 0, 0);
    RefreshListButtons(host_);
    for (int id : shieldButtons) EXPECT_FALSE(Enabled(id)) << id;
    for (int id : scanButtons) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(PagesOnATestWindow, SelectAllRowsChecksOrUnchecksEveryRowAndLeavesTheLastSelected) {
    SelectAllRows(ScanList(), 1); // an empty list: nothing to do, nothing breaks
    EXPECT_EQ(ListRowCount(ScanList()), 0);

    for (const char* path : {"E:\\a.exe", "E:\\b.exe", "E:\\c.exe"}) AddScanRow(ScanList(), MakeScanRow(path, "F", "suspicious."));
    // The user picks the first row and unticks the second.
    SetRowCheckAndSelection(ScanList(), 0, kRowChecked);
    SetRowCheckAndSelection(ScanList(), 1, kRowUnchecked);

    for (int flag : {0, 7}) { // any value but 1 unchecks
        SelectAllRows(ScanList(), flag);
        const std::vector<Row> rows = Rows(ScanList(), 1);
        ASSERT_EQ(rows.size(), 3u);
        for (const Row& row : rows) EXPECT_FALSE(row.checked) << flag;
        EXPECT_FALSE(rows[0].selected);
        EXPECT_TRUE(rows[2].selected) << flag;
    }
    SelectAllRows(ScanList(), 1);
    SelectAllRows(ScanList(), 1);
    const std::vector<Row> rows = Rows(ScanList(), 1);
    for (const Row& row : rows) EXPECT_TRUE(row.checked);
    EXPECT_TRUE(rows[2].selected);
}

TEST_F(PagesOnATestWindow, TheHealListHoldsTheCatalogueUncheckedWithItsIcon) {
    HWND list = HealList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ListRowCount(list), static_cast<int>(kRepairRowCount));
    for (int i = 0; i < ListRowCount(list); ++i) {
        EXPECT_EQ(ListRowText(list, i, 0), RepairRowName(static_cast<std::size_t>(i))) << i;
        EXPECT_EQ(ListRowText(list, i, 1), RepairRowDamage(static_cast<std::size_t>(i))) << i;
        // New rows start unchecked; the settings load ticks them all at start-up.
        EXPECT_FALSE(RowIsChecked(list, i)) << i;
    }
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_NE(images, nullptr); // its one icon is the program's own, not loaded in this process

    AddHealRow(list, std::string(600, 'h'), "damage");
    EXPECT_EQ(ListRowText(list, 34, 0), std::string(511, 'h'));
    EXPECT_EQ(ListRowText(list, 34, 1), "damage");
}

TEST_F(PagesOnATestWindow, ListViewsHaveCheckBoxesAndSingleSelection) {
    for (HWND list : {ShieldList(), ScanList(), HealList()}) {
        const LONG style = GetWindowLongA(list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_NE(style & LVS_SINGLESEL, 0);
        EXPECT_NE(style & WS_BORDER, 0);
        const DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        EXPECT_EQ(extended & 0x125u, 0x125u);
    }
    // Both detection lists have their row icon from the start.
    EXPECT_NE(SendMessageA(ShieldList(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    EXPECT_NE(SendMessageA(ScanList(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

} // namespace
} // namespace tollivar
