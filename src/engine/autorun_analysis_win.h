// Reads a drive's autorun.inf and resolves the program its "open" entry starts.
#pragma once

#include <string>

#include "engine/autorun_rules.h"

namespace tollivar {

// The finding for a drive root such as "E:\"; all fields empty when the drive's autorun.inf names no
// program. Keeps no state: the shield pass and the scan may analyse drives at the same time.
AutorunFinding AnalyzeAutorun(const std::string& root);

} // namespace tollivar
