// The install folder, its paths and the hide-at-start flag, set once at start-up.
#pragma once

#include <windows.h>

#include "config/install_paths.h"

namespace tollivar {

enum class PathSetup { Ok, FolderRefused };

// Derives every path from the executable's folder, marks def.uas read-only,
// hidden and system, and decides whether to start hidden. On FolderRefused the user has been told.
PathSetup SetUpPaths(HWND mainWindow);

const InstallPaths& Paths();
bool HideAtStart();
void ClearHideAtStart();

} // namespace tollivar
