// Heal System: the fixed catalogue of system damage, one check-box row per kind, in the order the
// repairs look the rows up by.
#include "pages/heal_page_win.h"

#include <iterator>

#include "heal/system_repairs.h"
#include "pages/list_rows_win.h"
#include "pages/page_controls_win.h"
#include "pages/pages_win.h"
#include "resources/resource_ids.h"

namespace tollivar {
namespace {

PageControls g_page(4300);

using K = ControlKind;
using F = ControlFont;

const ControlSpec kHeader[] = {
    {IDC_HEAL_PAGE_ICON, K::Icon, "Icon", 20, 18, 34, 34, F::None, &ShellIcons::heal},
    {IDC_HEAL_PAGE_TITLE, K::Text, "Advanced System Heal", 70, 12, 250, 18, F::Bold},
    {IDC_HEAL_PAGE_TEXT, K::Text,
     "You computer is vurnerable. A malware infection may have detected and removed from your system, but has your "
     "PC healed from the damage that had been done ? Does your system work the same way as before ?  Heal Now !",
     70, 25, 430, 40, F::Normal},
    {IDC_HEAL_OPTIONS_GROUP, K::Group, " Advanced Heal Options.", 23, 70, 470, 244, F::Normal},
};

const ListColumn kColumns[] = {{"Infection", 190}, {"Damage", 230}};

const ControlSpec kCommands[] = {
    {IDC_HEAL_SELECT_ALL_BUTTON, K::Command, "Select All", 165, 417, 90, 24, F::Normal},
    {IDC_HEAL_DESELECT_ALL_BUTTON, K::Command, "Deselect All", 260, 417, 90, 24, F::Normal},
    {IDC_HEAL_SYSTEM_BUTTON, K::Command, "Heal System >", 535, 417, 100, 24, F::Normal},
};

} // namespace

HWND HealList() { return g_page.Get(IDC_HEAL_LIST); }

void AddHealRow(HWND healList, std::string_view infection, std::string_view damage) {
    AppendListRow(healList, {infection, damage});
}

std::vector<std::size_t> TickedHealRows() {
    HWND healList = HealList();
    std::vector<std::size_t> rows;
    const int count = ListRowCount(healList);
    for (int row = 0; row < count && static_cast<std::size_t>(row) < kRepairRowCount; ++row)
        if (RowIsChecked(healList, row)) rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void BuildHealPage(HWND mainWindow) {
    for (const ControlSpec& spec : kHeader) CreatePageControl(mainWindow, spec, g_page);
    HWND list = CreateCheckListView(IDC_HEAL_LIST, 35, 87, 445, 215, kColumns,
                                    static_cast<int>(std::size(kColumns)), g_page);
    // Rows carry no image of their own and so all show image 0, the tool box.
    AttachRowIcon(list, Icons().heal);
    for (std::size_t row = 0; row < kRepairRowCount; ++row) AddHealRow(list, RepairRowName(row), RepairRowDamage(row));
    for (const ControlSpec& spec : kCommands) CreatePageControl(mainWindow, spec, g_page);
}

void ShowHealPage(bool show) { g_page.Show(show); }

} // namespace tollivar
