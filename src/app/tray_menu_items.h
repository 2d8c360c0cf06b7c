// The tray icon's popup menu, in order. An entry with id 0 and no text is a separator. Platform-free.
#pragma once

namespace tollivar {

struct TrayMenuItem {
    int id;
    const char* text;
};

inline constexpr TrayMenuItem kTrayMenuItems[] = {
    {101, "Show Main Window"},
    {102, "Hide Main Window"},
    {0, nullptr},
    {103, "Threat Shield"},
    {104, "Threat Scan"},
    {105, "Heal System"},
    {0, nullptr},
    {106, "Settings"},
    {0, nullptr},
    {107, "Quarantine"},
    {0, nullptr},
    {108, "Update"},
    {109, "Help and Support"},
    {111, "About"},
    {0, nullptr},
    {112, "Shutdown Security"},
};

} // namespace tollivar
