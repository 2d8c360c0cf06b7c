// A volume's arrival, as Windows tells every top-level window: the shield looks at the new drives at
// once instead of waiting for its next tick.
#pragma once

#include <windows.h>

namespace tollivar {

// The pass for the arrived drives runs from the queue, after the notification has been answered: the
// sender (a broadcast to every window) never waits on a pass or on the alert it may open.
inline constexpr UINT kArrivalPassMessage = WM_APP + 0x41;

// WM_DEVICECHANGE: a volume's arrival queues a pass for its letters; everything else (removal
// included) leaves the rows to the next pass. Never denies a query; the caller answers TRUE.
void OnDeviceChange(HWND mainWindow, WPARAM event, LPARAM data);

// kArrivalPassMessage: the shield pass over those of the letters (a unit mask) that are removable
// drives the shield examines. Rests while a scan runs, as the timer's pass does; the scan's closing
// pass looks at every drive.
void RunArrivalPass(HWND mainWindow, WPARAM unitMask);

} // namespace tollivar
