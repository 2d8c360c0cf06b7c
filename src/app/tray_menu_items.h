// The tray icon's popup menu, in order. An entry with id 0 and no text is a separator. Platform-free.
#pragma once

#include "resources/resource_ids.h"

namespace tollivar {

struct TrayMenuItem {
    int id;
    const char* text;
};

inline constexpr TrayMenuItem kTrayMenuItems[] = {
    {IDM_SHOW_MAIN_WINDOW, "Show Main Window"},
    {IDM_HIDE_MAIN_WINDOW, "Hide Main Window"},
    {0, nullptr},
    {IDM_THREAT_SHIELD, "Threat Shield"},
    {IDM_THREAT_SCAN, "Threat Scan"},
    {IDM_HEAL_SYSTEM, "Heal System"},
    {0, nullptr},
    {IDM_SETTINGS, "Settings"},
    {0, nullptr},
    {IDM_QUARANTINE, "Quarantine"},
    {0, nullptr},
    {IDM_UPDATE, "Update"},
    {IDM_HELP, "Help and Support"},
    {IDM_ABOUT, "About"},
    {0, nullptr},
    {IDM_SHUTDOWN, "Shutdown Security"},
};

} // namespace tollivar
