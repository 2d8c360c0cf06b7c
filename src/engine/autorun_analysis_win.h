// Reads a drive's autorun.inf and resolves the program its "open" entry starts.
#pragma once

#include <optional>
#include <string>

#include "engine/autorun_read_cache.h"
#include "engine/autorun_rules.h"

namespace tollivar {

// The finding for a drive root such as "E:\"; all fields empty when the drive's autorun.inf names no
// program. Keeps no state: the shield pass and the scan may analyse drives at the same time.
AutorunFinding AnalyzeAutorun(const std::string& root);

// The same finding, with the "open" value taken from the cache while the file is unchanged. The
// value is resolved afresh each time (the environment may have changed). Only the cache's owner
// thread may call it.
AutorunFinding AnalyzeAutorun(const std::string& root, AutorunReadCache& cache);

// The identity of the root's autorun.inf now, or nothing when there is no file that can be opened.
std::optional<FileStamp> AutorunFileStamp(const std::string& root);

} // namespace tollivar
