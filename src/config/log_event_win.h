// Writes one of the program's event kinds to the Windows Application log (never failing the caller).
#pragma once

#include "config/event_kinds.h"

namespace tollivar {

void WriteLogEvent(const LogEvent& event);

} // namespace tollivar
