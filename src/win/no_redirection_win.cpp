#include "win/no_redirection_win.h"

#include <windows.h>

namespace tollivar {

NoFileRedirection::NoFileRedirection() {
#if !defined(_WIN64)
    disabled_ = Wow64DisableWow64FsRedirection(&old_) != FALSE;
#endif
}

NoFileRedirection::~NoFileRedirection() {
#if !defined(_WIN64)
    if (disabled_) Wow64RevertWow64FsRedirection(old_);
#endif
}

} // namespace tollivar
