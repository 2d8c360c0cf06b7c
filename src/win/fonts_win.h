// The two shared Tahoma fonts of the window and its pages, made once at start-up.
#pragma once

#include <windows.h>

namespace tollivar {

void CreateShellFonts();
HFONT NormalFont();
HFONT BoldFont();

// A font of its own from the record of NormalFont (or BoldFont), for a dialog that owns and deletes it.
HFONT NewTahomaFont(bool bold);

} // namespace tollivar
