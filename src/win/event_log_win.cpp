#include "win/event_log_win.h"

#include <string>

namespace tollivar {
namespace {

// Registered once for the life of the program; a failed registration is not retried, so a missing
// event log service costs one call, not one per event.
HANDLE EventSource() {
    static const HANDLE source = RegisterEventSourceW(nullptr, L"Tollivar");
    return source;
}

std::wstring WideOfUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

} // namespace

void ReportToEventLog(std::uint32_t id, WORD type, std::string_view utf8Text) {
    const HANDLE source = EventSource();
    if (!source) return;
    const std::wstring text = WideOfUtf8(utf8Text);
    LPCWSTR strings[] = {text.c_str()};
    ReportEventW(source, type, 0, static_cast<DWORD>(id), nullptr, 1, 0, strings, nullptr); // errors ignored
}

} // namespace tollivar
