// The Heal System catalogue: the system repairs find a row by its index, so the order and the texts
// are a contract.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "heal/heal_rows.h"

namespace tollivar {
namespace {

TEST(HealRows, KeyRowsSitAtTheirIndexes) {
    const auto& rows = HealRows();
    const struct {
        std::size_t index;
        std::string_view infection;
        std::string_view damage;
    } cases[] = {
        {0, "WinLogon Infection", "Infection tries to deploy WinLogon."},
        {3, "Security Centre Infection", "Unable to install updates."},
        {4, "Windows Update Infection", "Unable to install updates."},
        {9, "Task Manager Infection", "Unable to launch Task Manager."},
        {14, "Hidden File\\Folder Infection", "Unable to view Hidden Files/Folders."},
        {22, "Shutdown Infection", "Unable to Shutdown Windows."},
        {33, "IE Toolbar Infection", "Unable to view IE Toolbar Buttons."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rows[c.index].infection, c.infection) << c.index;
        EXPECT_EQ(rows[c.index].damage, c.damage) << c.index;
    }
}

TEST(HealRows, EveryRowIsADistinctKindWithBothTexts) {
    std::set<std::string_view> names;
    for (const HealRowText& row : HealRows()) {
        EXPECT_FALSE(row.infection.empty());
        EXPECT_FALSE(row.damage.empty());
        EXPECT_LE(row.infection.size(), 511u);
        EXPECT_LE(row.damage.size(), 511u);
        EXPECT_EQ(row.infection.substr(row.infection.size() - 9), "Infection") << row.infection;
        EXPECT_TRUE(names.insert(row.infection).second) << "listed twice: " << row.infection;
    }
}

} // namespace
} // namespace tollivar
