// Reads a drive's autorun.inf and resolves the programs its launch entries start.
#pragma once

#include <string>
#include <vector>

#include "engine/autorun_rules.h"
#include "engine/autorun_targets.h"

namespace tollivar {

// Every distinct target of the drive root's ("E:\") autorun.inf, read by its wide name and at most
// kAutorunReadLimit bytes of it; none when the file is missing, a folder or cannot be read. Paths
// come back in UTF-8, those of an ANSI file converted from the ANSI code page. Keeps no state: the shield
// pass and the scan may analyse drives at the same time.
AutorunTargets AnalyzeAutorunTargets(const std::string& root);

// One finding per target, in file order; empty when the drive's autorun.inf names no program.
std::vector<AutorunFinding> AnalyzeAutorunFindings(const std::string& root);

// The first of them; all fields empty without one.
AutorunFinding AnalyzeAutorun(const std::string& root);

} // namespace tollivar
