// The catalogue of system damage that the Heal System page lists, one row per kind. Platform-free.
// A row's index is how the system repairs find it: the order is fixed.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tollivar {

struct HealRowText {
    std::string_view infection; // column "Infection"
    std::string_view damage;    // column "Damage"
};

inline constexpr std::size_t kHealRowCount = 34;

const std::array<HealRowText, kHealRowCount>& HealRows();

} // namespace tollivar
