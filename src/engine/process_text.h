// The process text of a Threat Scan row, "[%lX] - name", and the lookup of a running process by image
// name over a process snapshot. Platform-free: the caller takes the snapshot and decides which
// processes may be reported.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tollivar {

// "[" + id in upper-case hexadecimal without leading zeros + "] - " + the image name as listed,
// cut to 511 characters.
std::string FormatProcessText(std::uint32_t processId, std::string_view imageName);

struct ProcessTextParts {
    std::uint32_t processId = 0;
    std::string imageName;
};

// Reads a process text back. Only the exact form FormatProcessText makes is accepted: upper-case hex
// digits without leading zeros that fit 32 bits, "] - " and a nonempty name, 511 characters in all.
// Anything else is no process text (a file path never begins with "[").
std::optional<ProcessTextParts> ParseProcessText(std::string_view text);

struct ProcessEntry {
    std::uint32_t processId = 0;
    std::string imageName; // as the snapshot lists it
};

// Decides whether a matching process may be reported (the platform's full-access test, and for an
// autorun target the image path comparison).
using ProcessFilter = std::function<bool(const ProcessEntry&)>;

// One snapshot of the running processes, indexed by upper-cased image name so that many lookups
// (one per definitions entry) stay cheap.
class ProcessSnapshot {
  public:
    explicit ProcessSnapshot(std::vector<ProcessEntry> entries);

    // The process text of the first process in snapshot order whose image name is the whole name
    // without regard to case and that the filter accepts (no filter accepts every match); empty when
    // there is none. A name with a folder or a wildcard therefore never matches, nor does an empty one.
    std::string FindProcessText(std::string_view name, const ProcessFilter& mayReport = {}) const;

  private:
    std::vector<ProcessEntry> entries_;
    std::unordered_map<std::string, std::vector<std::size_t>> byUpperName_;
};

} // namespace tollivar
