#include "config/log_event_win.h"

#include "win/event_log_win.h"

namespace tollivar {

void WriteLogEvent(const LogEvent& event) {
    WORD type = EVENTLOG_INFORMATION_TYPE;
    if (event.severity == EventSeverity::Warning) type = EVENTLOG_WARNING_TYPE;
    if (event.severity == EventSeverity::Error) type = EVENTLOG_ERROR_TYPE;
    ReportToEventLog(event.id, type, event.text);
}

} // namespace tollivar
