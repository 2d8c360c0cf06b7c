// A bait shortcut as rows of the Threat Shield and Threat Scan lists. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/bait_shortcut.h"
#include "engine/detection_rows.h"

namespace tollivar {

// One bait shortcut on a drive: its path, the drive's root and the verdict.
struct ShortcutFinding {
    std::string shortcut;
    std::string root; // "E:\"
    BaitVerdict verdict;
};

// What the shortcut's row says it runs: its first payload, else the first web address it reaches,
// else the verdict's reason.
std::string WhatShortcutRuns(const BaitVerdict& verdict);

// The shortcut's row (Infector = the shortcut, Infection = what it runs, Status = kShortcutWorm), then
// one row per payload (Infector = the payload, Infection = the shortcut). Every row carries the
// drive; the first is marked as the bait shortcut's. Texts are cut to what a list text holds.
std::vector<ShieldRow> ShortcutShieldRows(const ShortcutFinding& finding);

// The same for the Threat Scan list: the shortcut, then each payload, kind "F", kShortcutWorm.
std::vector<ScanRow> ShortcutScanRows(const ShortcutFinding& finding);

} // namespace tollivar
