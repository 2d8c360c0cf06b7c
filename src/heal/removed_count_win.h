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

// Removals counted into a counter file. A removal that cannot be stored now (the file held by
// someone else past the retries) is kept pending and stored with the next call that can write, so
// no removal is lost while the program runs.
class RemovedCounter {
  public:
    explicit RemovedCounter(std::string counterFile) : file_(std::move(counterFile)) {}
    // Adds removals (0 only reads) plus what is pending; the count now stored, or nothing when the
    // file could not be used (the removals then stay pending).
    std::optional<std::int32_t> Add(int removals);
    int Pending() const { return pending_; }

  private:
    std::string file_;
    int pending_ = 0;
};

} // namespace tollivar
