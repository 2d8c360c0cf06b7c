// The Windows Application log under the source "Tollivar". Writing never blocks or fails the program:
// when the log cannot be opened or written the event is dropped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace tollivar {

// Reports one event: its id (the message file's id), type (EVENTLOG_INFORMATION_TYPE,
// EVENTLOG_WARNING_TYPE or EVENTLOG_ERROR_TYPE) and its text in UTF-8, the message's only insert.
void ReportToEventLog(std::uint32_t id, WORD type, std::string_view utf8Text);

} // namespace tollivar
