#include "engine/resident_shield_win.h"

namespace tollivar {
namespace {

int g_lastAlertCount = 0;

} // namespace

void ResetAlertCount() { g_lastAlertCount = 0; }

// The drives are not examined yet: a pass changes nothing.
void ResidentShieldPass(HWND) {}

} // namespace tollivar
