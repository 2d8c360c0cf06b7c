// The Resident Shield's look at the removable drives: one pass at start-up, on every monitor tick,
// when a drive arrives and after every scan. It only finds; the program decides what the findings
// show and do.
#pragma once

#include <string>
#include <vector>

#include "engine/autorun_rules.h"

namespace tollivar {

// One finding per program that the autorun.inf of a drive root given names, drive by drive in the
// order given and each drive's programs in file order. A drive's file is read again only when it
// changed (size, times, attributes) or was last read a few seconds ago; the scan reads afresh.
std::vector<AutorunFinding> ShieldFindings(const std::vector<std::string>& roots);

} // namespace tollivar
