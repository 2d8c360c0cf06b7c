// The window's five pages as a user meets them in the real program: the tab control, every page's
// controls, the routes between pages, the Heal System catalogue and the list selection buttons.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "gui_session_win.h"
#include "heal/system_repairs.h"

namespace tollivar::test {
namespace {

struct PageIds {
    const char* screenshot;
    std::vector<int> ids;      // every control of the page
    std::vector<int> commands; // those that are children of the main window
};

std::vector<int> Range(int first, int last, std::vector<int> skip = {}) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        if (std::find(skip.begin(), skip.end(), id) == skip.end()) ids.push_back(id);
    return ids;
}

const std::vector<PageIds>& Pages() {
    static const std::vector<PageIds> pages = {
        {"page-main-info", Range(4000, 4026, {4010}), {4009, 4014}},
        {"page-threat-shield", Range(4100, 4107), {4105, 4106, 4107}},
        {"page-threat-scan", Range(4200, 4215, {4214}), {4211, 4212, 4213, 4215}},
        {"page-heal-system", Range(4300, 4307), {4305, 4306, 4307}},
        {"page-settings", Range(4400, 4410), {4410}},
    };
    return pages;
}

class PagesTest : public GuiSession {
  protected:
    PagesTest() : GuiSession("Tollivar Pages") {}
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GuiSession::SetUp());
        ASSERT_NO_FATAL_FAILURE(Start());
        tab_ = Tab();
        ASSERT_NE(tab_, nullptr);
        // Start-up ends with a shield pass, just after the window first shows.
        WaitForShieldIdle();
    }

    bool IsCommand(int id) const {
        for (const PageIds& page : Pages())
            for (int command : page.commands)
                if (command == id) return true;
        return false;
    }

    HWND Handle(int id) const { return IsCommand(id) ? Control(main_, id) : Control(panel_, id); }

    // Every control of the page is visible and every control of the four others hidden.
    bool OnlyPageShown(int shown) const {
        for (int page = 0; page < static_cast<int>(Pages().size()); ++page)
            for (int id : Pages()[static_cast<std::size_t>(page)].ids)
                if ((IsWindowVisible(Handle(id)) != FALSE) != (page == shown)) return false;
        return true;
    }

    void ExpectOnlyPage(int page, const std::string& route) {
        EXPECT_TRUE(WaitUntil([&] { return OnlyPageShown(page) && TabSelection(tab_) == page; }, 3000))
            << "after " << route << ": tab " << TabSelection(tab_);
    }

    void Route(int buttonId, int page) {
        ClickButton(main_, buttonId);
        ExpectOnlyPage(page, "button " + std::to_string(buttonId));
    }

    HWND tab_ = nullptr;
};

TEST_F(PagesTest, TheTabControlCarriesFivePaddedTabsAndThePanel) {
    EXPECT_EQ(ClassOf(tab_), "SysTabControl32");
    EXPECT_EQ(WindowText(tab_), "Main Tab");
    EXPECT_EQ(TabTexts(tab_), (std::vector<std::string>{"       Main Info       ", "     Threat Shield     ",
                                                        "       Threat Scan       ", "       Heal System       ",
                                                        "        Settings        "}));
    EXPECT_EQ(TabTexts(tab_).at(1).size(), 23u);
    EXPECT_EQ(ClassOf(panel_), "Static");
    EXPECT_EQ(WindowText(panel_), " ");
    EXPECT_NE(GetWindowLongA(panel_, GWL_STYLE) & WS_BORDER, 0);

    // The panel's origin in the main window is where the page buttons are placed from.
    POINT origin{0, 0};
    MapWindowPoints(panel_, main_, &origin, 1);
    EXPECT_EQ(origin.x, 143 + 1); // inside the one-pixel border
    EXPECT_EQ(origin.y, 95 + 1);

    // Start-up ends on Main Info.
    ExpectOnlyPage(0, "start-up");
}

struct ControlCase {
    int id;
    const char* className;
    const char* text;
};

TEST_F(PagesTest, EveryControlHasItsClassTextAndParent) {
    const ControlCase cases[] = {
        {4001, "Static", "Icon"},
        {4002, "Static", "Tollivar - The Ultimate USB Anti-Virus"},
        {4003, "Static", "Rock-Solid protection against any USB Threat attacks, guaranteed..."},
        {4004, "Button", "Why Tollivar"},
        {4006, "Static", "If you use any Removable Media(USB), you need Tollivar..."},
        {4008, "Static",
         "The best of the Anti-Virus misses most of these USB threats, Tollivar's unique technology  spares none, "
         "guaranteed."},
        {4009, "Button", "Scan Now >"},
        {4011, "Button", "Advanced System Heal"},
        {4014, "Button", "Heal It >"},
        {4015, "Button", "Threats Removal Statistics"},
        {4016, "Static", "Threats Removed :"},
        {4018, "Button", "Resident Shield Status"},
        {4019, "Static", "Status :"},
        {4020, "Static", "ACTIVE"},
        {4021, "Button", "Definition Database Version"},
        {4022, "Static", "Version :"},
        {4024, "Button", "Program Version"},
        {4025, "Static", "Version :"},
        {4026, "Static", "v1.0"},
        {4100, "Static", "Icon"},
        {4101, "Static", "Anti-Threat Resident Shield"},
        {4103, "SysListView32", "Listview"},
        // The page is built with "NO INFECTIONS DETECTED, SYSTEM IS PROTECTED..."; the start-up shield
        // pass rewrites it at once.
        {4104, "Static", " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING..."},
        {4105, "Button", "Select All"},
        {4106, "Button", "Deselect All"},
        {4107, "Button", "Heal Selected >"},
        {4201, "Static", "Anti-Threat Advanced Scan"},
        {4203, "Button", "Threat Scan Options."},
        {4204, "Button", " OS Memory."},
        {4205, "Button", " Local Drives."},
        {4206, "Button", " Removable Media."},
        {4207, "SysListView32", "Listview"},
        {4208, "Static", "Progress :"},
        {4209, "msctls_progress32", "Progress"},
        {4210, "Static", "PLEASE RUN A SCAN FIRST..."},
        {4211, "Button", "Select All"},
        {4212, "Button", "Deselect All"},
        {4213, "Button", "Start Scan >"},
        {4215, "Button", "Heal Sel. X"},
        {4301, "Static", "Advanced System Heal"},
        {4302, "Static",
         "You computer is vurnerable. A malware infection may have detected and removed from your system, but has "
         "your PC healed from the damage that had been done ? Does your system work the same way as before ?  Heal "
         "Now !"},
        {4303, "Button", " Advanced Heal Options."},
        {4304, "SysListView32", "Listview"},
        {4305, "Button", "Select All"},
        {4306, "Button", "Deselect All"},
        {4307, "Button", "Heal System >"},
        {4401, "Static", "Tollivar Settings"},
        {4403, "Button", " General Settings"},
        {4404, "Button", " Start with Windows.  [Recomended]"},
        {4405, "Button", " Display Splash Screen on startup."},
        {4406, "Button", " Display Alert Window on Threat Dectection."},
        {4407, "Button", " Threat Removal Settings"},
        {4408, "Button", " Quarantine Threats safely.  [Recomended]"},
        {4409, "Button", " Destroy Threats forever."},
        {4410, "Button", "Apply Settings >"},
    };
    for (const ControlCase& c : cases) {
        HWND control = Handle(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(GetParent(control), IsCommand(c.id) ? main_ : panel_) << c.id;
        EXPECT_EQ(ClassOf(control), c.className) << c.id;
        EXPECT_EQ(WindowText(control), c.text) << c.id;
    }
    // Every control of every page exists; the unused ids of a hundred have no control.
    for (const PageIds& page : Pages())
        for (int id : page.ids) EXPECT_NE(Handle(id), nullptr) << id;
    EXPECT_EQ(Control(panel_, 4010), nullptr);
    EXPECT_EQ(Control(main_, 4214), nullptr);

    // The icon statics show their images.
    for (int id : {4001, 4005, 4012, 4019, 4100, 4200, 4300, 4400})
        EXPECT_NE(SendMessageA(Handle(id), STM_GETIMAGE, IMAGE_ICON, 0), 0) << id;
}

TEST_F(PagesTest, EachRouteShowsExactlyOnePageWithItsButtons) {
    const struct {
        int button;
        int page;
    } leftButtons[] = {{1008, 1}, {1009, 2}, {1012, 3}, {1013, 4}, {1003, 0}};
    for (const auto& route : leftButtons) {
        Route(route.button, route.page);
        EXPECT_FALSE(SaveScreenshot(Pages()[static_cast<std::size_t>(route.page)].screenshot, main_).empty());
    }
    // The Main Info page leads to the Threat Scan and Heal System pages.
    Route(4009, 2);
    Route(1003, 0);
    Route(4014, 3);
    // A route to the page already shown keeps it shown.
    Route(1012, 3);
    // So do the tray menu's page items.
    Route(1003, 0);
    PostCommand(main_, 104);
    ExpectOnlyPage(2, "tray Threat Scan");
}

TEST_F(PagesTest, ATabClickSwitchesAndTheSelectedTabChangesNothing) {
    ASSERT_TRUE(ClickTab(tab_, 3));
    ExpectOnlyPage(3, "click on tab 3");
    ASSERT_TRUE(ClickTab(tab_, 3));
    Sleep(300);
    ExpectOnlyPage(3, "second click on tab 3");
    ASSERT_TRUE(ClickTab(tab_, 1));
    ExpectOnlyPage(1, "click on tab 1");
    ASSERT_TRUE(ClickTab(tab_, 2));
    ExpectOnlyPage(2, "click on tab 2");
    EXPECT_TRUE(IsShown(main_));
}

TEST_F(PagesTest, TheScanPageBeforeAnyScan) {
    Route(1009, 2);
    HWND memory = Handle(4204);
    EXPECT_EQ(SendMessageA(memory, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(memory));
    EXPECT_TRUE(IsWindowEnabled(Handle(4205)));
    EXPECT_TRUE(IsWindowEnabled(Handle(4206)));
    EXPECT_EQ(SendMessageA(Handle(4209), PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(SendMessageA(Handle(4209), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(Handle(4209), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(ControlText(panel_, 4210), "PLEASE RUN A SCAN FIRST...");
    HWND list = Handle(4207);
    EXPECT_EQ(ReadListView(list).size(), 0u);
    EXPECT_EQ(ListColumnCount(list), 3);
    // Nothing to select or heal yet; a scan can start.
    for (int id : {4211, 4212, 4215}) EXPECT_FALSE(IsWindowEnabled(Handle(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(Handle(4213)));
}

TEST_F(PagesTest, TheShieldPageWithNothingFound) {
    Route(1008, 1);
    EXPECT_EQ(ReadListView(Handle(4103)).size(), 0u);
    EXPECT_EQ(ListColumnCount(Handle(4103)), 3);
    EXPECT_EQ(ControlText(panel_, 4104), " NO THREAT(S)  DETECTED, RESIDENT SHIELD IS MONITORING...");
    for (int id : {4105, 4106, 4107}) EXPECT_FALSE(IsWindowEnabled(Handle(id))) << id;
    // Greyed buttons do nothing; the list stays empty and no box opens.
    ClickButton(main_, 4105);
    Sleep(300);
    EXPECT_EQ(ReadListView(Handle(4103)).size(), 0u);
}

TEST_F(PagesTest, TheHealSystemListStartsCheckedAndTheSelectionButtonsWork) {
    Route(1012, 3);
    HWND list = Handle(4304);
    EXPECT_EQ(ListColumnCount(list), 2);
    std::vector<ListRow> rows = ReadListView(list);
    ASSERT_EQ(rows.size(), kRepairRowCount);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].columns, (std::vector<std::string>{std::string(RepairRowName(i)),
                                                             std::string(RepairRowDamage(i))}))
            << i;
        EXPECT_TRUE(rows[i].checked) << i;
    }
    EXPECT_EQ(rows[14].columns[0], "Hidden File\\Folder Infection");

    ClickButton(main_, 4306); // Deselect All
    ASSERT_TRUE(WaitUntil([&] {
        rows = ReadListView(list);
        return !rows.empty() && !rows.front().checked && !rows.back().checked;
    }, 3000));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_FALSE(rows[i].checked) << i;
        EXPECT_EQ(rows[i].selected, i + 1 == rows.size()) << i;
    }

    ClickButton(main_, 4305); // Select All, twice
    ClickButton(main_, 4305);
    ASSERT_TRUE(WaitUntil([&] {
        rows = ReadListView(list);
        return !rows.empty() && rows.front().checked && rows.back().checked;
    }, 3000));
    for (const ListRow& row : rows) EXPECT_TRUE(row.checked);
    EXPECT_TRUE(rows.back().selected);

    // Switching pages keeps the rows and their boxes.
    ClickButton(main_, 4306);
    Route(1013, 4);
    Route(1012, 3);
    rows = ReadListView(list);
    ASSERT_EQ(rows.size(), kRepairRowCount);
    for (const ListRow& row : rows) EXPECT_FALSE(row.checked);
}

TEST_F(PagesTest, TheSettingsRadioButtonsUncheckEachOther) {
    Route(1013, 4);
    HWND quarantine = Handle(4408);
    HWND destroy = Handle(4409);
    PostMessageA(quarantine, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(quarantine, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000));
    PostMessageA(destroy, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(destroy, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000));
    EXPECT_EQ(SendMessageA(quarantine, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // An unapplied change stays on screen across page switches.
    Route(1003, 0);
    Route(1013, 4);
    EXPECT_EQ(SendMessageA(destroy, BM_GETCHECK, 0, 0), BST_CHECKED);
}

} // namespace
} // namespace tollivar::test
