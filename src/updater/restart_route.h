// How the update program starts Tollivar again after an update. Platform-free.
//
// The update program runs with administrator rights; a Tollivar it starts itself would inherit them, and
// the tray program would then read sticks and heal with those rights for the rest of the session. It is
// started as the desktop user instead, through the shell's own process; where that cannot be done it is
// not started at all and the user is told how to start it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tollivar {

enum class RestartRoute {
    Directly,            // the update program is not elevated: start Tollivar as any program starts one
    ThroughDesktopShell, // elevated, or its rights could not be read: ask the desktop's shell to start it
};

// updaterElevated: whether the update program's token is elevated, nothing when it could not be read.
RestartRoute ChooseRestartRoute(std::optional<bool> updaterElevated);

// What the user is told when the route did not start the program (a full path).
std::string RestartNotDoneText(RestartRoute route, std::string_view program);

} // namespace tollivar
