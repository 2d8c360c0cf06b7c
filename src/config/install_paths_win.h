// The install folder, its paths, the two shared fonts and the hide-at-start flag, set once at start-up.
#pragma once

#include <windows.h>

#include "config/install_paths.h"

namespace tollivar {

enum class PathSetup { Ok, FolderRefused };

// Creates the fonts, derives every path from the executable's folder, marks def.uas read-only,
// hidden and system, and decides whether to start hidden. On FolderRefused the user has been told.
PathSetup SetUpPathsAndFonts(HWND mainWindow);

const InstallPaths& Paths();
HFONT NormalFont();
HFONT BoldFont();

// A font of its own from the record of NormalFont (or BoldFont), for a dialog that owns and deletes it.
HFONT NewTahomaFont(bool bold);

bool HideAtStart();
void ClearHideAtStart();

} // namespace tollivar
