// Detections as rows of the Threat Shield and Threat Scan lists: the only record of a detection.
// Every new row starts checked and selected; texts are cut at 511 characters. A scan row's kind is
// its "#" column; each row keeps, out of sight, the drive whose autorun.inf named it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/autorun_rules.h"
#include "engine/detection_rows.h"
#include "engine/shortcut_rows.h"
#include "heal/heal_record.h"

namespace tollivar {

// Adds the pair of Threat Shield rows for one drive (the autorun file, then the program it opens),
// unless a row's Infector already is that autorun file. True when the pair was added.
bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding);

// The same for a drive whose autorun.inf names several programs (all findings of one autorun file):
// the autorun file once, then each program, unless the drive is listed already.
bool AddShieldDriveDetection(HWND shieldList, const std::vector<AutorunFinding>& findings);

// The Threat Shield rows of one pass's findings, each drive with its row icon. Returns the findings
// whose rows were added (not those already listed).
std::vector<AutorunFinding> ShowShieldFindings(const std::vector<AutorunFinding>& findings);

// Adds the Threat Shield rows of one bait shortcut (texts in UTF-8): the shortcut's row,
// then each payload not listed yet; nothing when a row's Infector already is that shortcut. The number
// of rows added.
int AddShortcutDetection(HWND shieldList, const ShortcutFinding& finding);

// The Threat Shield rows of one pass's bait shortcuts; returns the rows added (not those listed already).
std::vector<ShieldRow> ShowShortcutFindings(const std::vector<ShortcutFinding>& findings);

// Appends one Threat Scan row (UI thread).
void AddScanRow(HWND scanList, const ScanRow& row);

enum class DetectionList { Shield, Scan };

// Every row of a detection list as healing sees it, in row order.
std::vector<HealRecord> ReadHealRecords(HWND list, DetectionList which);

// Takes the first rows out of a detection list (the rows read for a heal; rows come in at the end).
void RemoveFirstRows(HWND list, int count);

// Empties a detection list.
void ClearDetectionList(HWND list);

} // namespace tollivar
