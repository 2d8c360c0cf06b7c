// The definitions walk: every threat of def.uas, its running processes and its existing files.
// Platform-free: the file, the environment, the existence test and the process lookup are injected.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/analyzing_text.h"
#include "engine/detection_rows.h"
#include "engine/environment_reference.h"

namespace tollivar {

// Reads one key of one section of the definitions file exactly as the platform's profile reader
// returns it with a 512-byte buffer; empty when the section, the key or its value is missing.
using ProfileReader = std::function<std::string(const std::string& section, const std::string& key)>;

// The process text of a running process with that image name that may be reported; empty when none.
using ProcessLookup = std::function<std::string(const std::string& imageName)>;

// The path an "F" entry names: its first environment reference expanded. An undefined variable or a
// "%" without its closing "%" names no path.
std::optional<std::string> ExpandDefinitionPath(std::string_view value, const EnvironmentLookup& environment);

// The expanded path when a file exists there; nothing otherwise.
std::optional<std::string> ResolveDefinitionPath(std::string_view value, const EnvironmentLookup& environment,
                                                 const FileExistsTest& fileExists);

struct DefinitionScanHooks {
    ProfileReader read;
    EnvironmentLookup environment;
    FileExistsTest fileExists;
    ProcessLookup findProcess;
    StatusSink showStatus;
    ScanRowSink addRow;
};

// Walks threats "1", "2", ... up to the first without a "Th" name. For each it shows the name, then
// reports its running processes ("P1", "P2", ... up to the first empty) and its existing files ("F1",
// "F2", ...), all identified by the name. Ends by showing the Seeking text. Reads every key once, in
// order, so a reader over the whole file in memory makes the walk linear in the file's size.
void RunDefinitionScan(const DefinitionScanHooks& hooks);

} // namespace tollivar
