#include "win/event_log_win.h"

#include <string>

#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// Registered once for the life of the program; a failed registration is not retried, so a missing
// event log service costs one call, not one per event.
HANDLE EventSource() {
    static const HANDLE source = RegisterEventSourceW(nullptr, L"Tollivar");
    return source;
}

} // namespace

void ReportToEventLog(std::uint32_t id, WORD type, std::string_view utf8Text) {
    const HANDLE source = EventSource();
    if (!source) return;
    const std::wstring text = WideFromUtf8(utf8Text);
    LPCWSTR strings[] = {text.c_str()};
    ReportEventW(source, type, 0, static_cast<DWORD>(id), nullptr, 1, 0, strings, nullptr); // errors ignored
}

} // namespace tollivar
