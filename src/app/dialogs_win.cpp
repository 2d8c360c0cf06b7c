#include "app/dialogs_win.h"

namespace tollivar {

// Neither dialog exists yet: start-up and close go straight on.
void ShowSplashDialog(HWND) {}
void ShowTrayNotice(HWND) {}

} // namespace tollivar
