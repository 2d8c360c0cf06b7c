// The removed-threats counter kept in count.uas and shown on the Main Info page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tollivar {

// Reads count.uas (created empty when missing) and, with increment 1, stores the count plus one.
// A file held open elsewhere is retried for a moment. The count now stored, or nothing when the file
// could not be read or the new count could not be stored.
std::optional<std::int32_t> UpdateCounterFile(const std::string& counterFile, int increment);

// The same on the install's count.uas.
std::optional<std::int32_t> UpdateRemovedCount(int increment);

} // namespace tollivar
