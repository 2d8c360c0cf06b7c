#include "heal/removed_count_win.h"

#include <vector>

#include "win/handles_win.h"
#include "config/install_paths_win.h"
#include "heal/removed_count_bytes.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr int kOpenAttempts = 20;
constexpr DWORD kRetryPauseMs = 25;

// Opened without sharing, so two updates never interleave; someone else holding it is waited for.
UniqueFile OpenCounter(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    for (int attempt = 0;; ++attempt) {
        UniqueFile file(CreateFileW(WidePath(path).c_str(), access, share, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return file;
        const DWORD error = GetLastError();
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || attempt + 1 >= kOpenAttempts)
            return file;
        Sleep(kRetryPauseMs);
    }
}

std::optional<std::int32_t> ReadCount(HANDLE file) {
    std::vector<std::uint8_t> bytes(4);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), 4, &read, nullptr)) return std::nullopt;
    bytes.resize(read);
    return DecodeRemovedCount(bytes);
}

} // namespace

std::optional<std::int32_t> UpdateCounterFile(const std::string& counterFile, int increment) {
    UniqueFile file = OpenCounter(counterFile, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    if (!file) {
        if (increment != 0) return std::nullopt;
        // Only showing: a count.uas that is read-only, or that someone else is reading, still holds
        // the true count.
        file = OpenCounter(counterFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        if (!file) return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional<std::int32_t>(0) : std::nullopt;
    }
    const std::optional<std::int32_t> count = ReadCount(file.get());
    if (!count || increment == 0) return count;

    const std::int32_t next = NextRemovedCount(*count);
    const auto bytes = EncodeRemovedCount(next);
    DWORD written = 0;
    if (SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return std::nullopt;
    if (!WriteFile(file.get(), bytes.data(), 4, &written, nullptr) || written != 4) return std::nullopt;
    return next;
}

std::optional<std::int32_t> UpdateRemovedCount(int increment) {
    return UpdateCounterFile(Paths().counterFile, increment);
}

std::optional<std::int32_t> RemovedCounter::Add(int removals) {
    pending_ += removals;
    std::optional<std::int32_t> count;
    if (pending_ == 0) return UpdateCounterFile(file_, 0);
    while (pending_ > 0) {
        const std::optional<std::int32_t> next = UpdateCounterFile(file_, 1);
        if (!next) return count;
        count = next;
        --pending_;
    }
    return count;
}

} // namespace tollivar
