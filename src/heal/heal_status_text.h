// What a heal of a detection list did, and the status line that tells the user. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

inline constexpr std::string_view kShieldHealedText = " All Infections Successfully Healed...";
inline constexpr std::string_view kScanHealedText = " All Infections Healed...";

struct HealTally {
    int checkedRows = 0;
    int notHealed = 0;   // checked rows whose threat is still there
    int filesRemoved = 0; // files moved to quarantine or deleted, each counted once
    int itemsUnhidden = 0; // the user's items a bait shortcut hid, shown again
};

enum class HealedList { Shield, Scan };

// The list's success text when every checked row was healed; otherwise how many were not,
// short enough for the narrow Threat Scan status line. Items shown again are told after either:
// " 3 items unhidden."
std::string HealStatusText(HealedList list, const HealTally& tally);

} // namespace tollivar
