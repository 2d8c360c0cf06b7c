// The walk of a real removable drive.
#pragma once

#include <string>

#include "engine/analyzing_text.h"
#include "engine/detection_rows.h"

namespace tollivar {

// Walks every folder of the drive root ("E:\") for hidden files with listed extensions and for
// folder-named executables, and judges every shortcut it meets, reporting rows and the path being examined.
void WalkRemovableDrive(const std::string& root, const StatusSink& showStatus, const ScanRowSink& addRow);

} // namespace tollivar
