// After an update Tollivar is started directly only by an update program known to run without
// elevation; otherwise through the desktop shell, and where that fails the user is sent to the Start menu.
#include <gtest/gtest.h>

#include "updater/restart_route.h"

namespace tollivar {
namespace {

TEST(RestartRouteTest, OnlyAKnownUnelevatedUpdaterStartsTollivarItself) {
    const struct {
        std::optional<bool> elevated;
        RestartRoute route;
    } cases[] = {
        {false, RestartRoute::Directly},
        {true, RestartRoute::ThroughDesktopShell},
        {std::nullopt, RestartRoute::ThroughDesktopShell}, // rights unknown: never risk an elevated Tollivar
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseRestartRoute(c.elevated), c.route)
            << (c.elevated ? (*c.elevated ? "elevated" : "not") : "?");
}

TEST(RestartRouteTest, TheUserLearnsWhatToDoWhenNothingStarted) {
    const std::string program = R"(C:\Program Files\Tollivar\tollguard.exe)";
    EXPECT_NE(RestartNotDoneText(RestartRoute::Directly, program).find(program), std::string::npos);
    const std::string shell = RestartNotDoneText(RestartRoute::ThroughDesktopShell, program);
    EXPECT_NE(shell.find("Start menu"), std::string::npos) << shell;
    EXPECT_NE(shell.find("administrator rights"), std::string::npos) << shell;
}

} // namespace
} // namespace tollivar
