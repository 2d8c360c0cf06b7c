#include "updater/restart_route.h"

namespace tollivar {

RestartRoute ChooseRestartRoute(std::optional<bool> updaterElevated) {
    return updaterElevated == std::optional<bool>(false) ? RestartRoute::Directly
                                                         : RestartRoute::ThroughDesktopShell;
}

std::string RestartNotDoneText(RestartRoute route, std::string_view program) {
    if (route == RestartRoute::Directly) return "Tollivar could not be started:\r\n" + std::string(program);
    return "Tollivar was not started from here, because it would run with the administrator rights of this "
           "update program.\r\n\r\nStart Tollivar from the Start menu.";
}

} // namespace tollivar
