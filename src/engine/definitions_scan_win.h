// The definitions walk over the real def.uas, processes, files and environment.
#pragma once

#include <string>

#include "engine/analyzing_text.h"
#include "engine/detection_rows.h"

namespace tollivar {

// Walks every threat of the definitions file: a row for each running process of a threat that the
// user controls and for each of its files that exists. The file is read once, whole; a file that is
// missing or unreadable has no threats and the walk only shows the Seeking text.
// The version in the [INFO] section of the definitions file, as Main Info shows it; empty without one.
std::string ReadDefinitionsVersion(const std::string& definitionsFile);

void RunDefinitionScan(const std::string& definitionsFile, const StatusSink& showStatus, const ScanRowSink& addRow);

} // namespace tollivar
