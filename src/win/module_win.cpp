#include "win/module_win.h"

#include "resources/resource_ids.h"

namespace tollivar {
namespace {

HINSTANCE g_module = nullptr;
ShellIcons g_icons;

HICON LoadIconId(int id) { return LoadIconA(g_module, MAKEINTRESOURCEA(id)); }

} // namespace

HINSTANCE ModuleInstance() { return g_module; }
void SetModuleInstance(HINSTANCE module) { g_module = module; }

void LoadShellIcons(HWND mainWindow) {
    // Icons loaded from the module live as long as it; they are never released.
    g_icons.app = LoadIconId(IDI_APP_ICON);
    SendMessageA(mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_icons.app));
    g_icons.shield = LoadIconId(IDI_SHIELD_ICON);
    g_icons.scan = LoadIconId(IDI_SCAN_ICON);
    g_icons.heal = LoadIconId(IDI_HEAL_ICON);
    g_icons.settings = LoadIconId(IDI_SETTINGS_ICON);
    g_icons.threat = LoadIconId(IDI_THREAT_ICON);
}

const ShellIcons& Icons() { return g_icons; }

} // namespace tollivar
