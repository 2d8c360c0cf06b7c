// Detections as rows of the Threat Shield and Threat Scan lists: the only record of a detection.
// Every new row starts checked and selected; texts are cut at 511 characters.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "engine/detection_rows.h"

namespace tollivar {

struct AutorunFinding;

// Adds the pair of Threat Shield rows for one drive (the autorun file, then the program it opens),
// unless a row's Infector already is that autorun file. True when the pair was added.
bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding);

// Appends one Threat Scan row. Safe from the scan worker: the list view runs the messages on its own
// thread and the texts travel in the caller's own buffers.
void AddScanRow(HWND scanList, const ScanRow& row);
void AddScanRow(HWND scanList, std::string_view infection, std::string_view kind, std::string_view identification);

// The root of the drive whose autorun.inf named the program of this row ("E:\"), kept with the row
// when it was added; empty for every other row.
std::string AutorunRootOfRow(HWND list, int row);

} // namespace tollivar
