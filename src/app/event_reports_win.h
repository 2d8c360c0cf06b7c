// What the program writes to the Windows event log as it detects, heals and repairs: one event per
// detection row, per file or process healed or left, and per system repair.
#pragma once

#include <string>
#include <vector>

#include "engine/autorun_rules.h"
#include "engine/detection_rows.h"
#include "heal/detection_heal_win.h"

namespace tollivar {

// The Threat Shield rows of findings whose rows were just added.
void LogShieldDetections(const std::vector<AutorunFinding>& added);
// Threat Shield rows just added (a bait shortcut and its payloads).
void LogShieldRows(const std::vector<ShieldRow>& added);

void LogScanDetection(const ScanRow& row);

// Every checked record of a heal: quarantined (with where), destroyed, process ended, or not healed.
// Rows already gone or taken by an earlier row are not logged again.
void LogHealOutcomes(const std::vector<HealRecord>& records, const HealResult& result);

// The Infection texts of the system repairs applied; nothing when none was ticked.
void LogSystemRepairs(const std::vector<std::string>& repairedRows);

} // namespace tollivar
