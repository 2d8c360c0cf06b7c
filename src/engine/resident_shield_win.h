// The Resident Shield's look at the removable drives: one pass at start-up, on every monitor tick,
// when a drive arrives and after every scan. It only finds; the program decides what the findings
// show and do.
#pragma once

#include <string>
#include <vector>

#include "engine/autorun_rules.h"

namespace tollivar {

// The finding of every drive root given whose autorun.inf names a program, in the order given. An
// autorun.inf unchanged since the last pass is not read again, so only one thread (the UI thread,
// which runs every pass) may call this.
std::vector<AutorunFinding> ShieldFindings(const std::vector<std::string>& roots);

} // namespace tollivar
