// The update program's exit codes, which tell a caller (or a silent update) what happened.
#pragma once

namespace tollivar {

inline constexpr int kUpdateReplaced = 0;       // def.uas replaced, the old one kept as def.uas.bak
inline constexpr int kUpdateCancelled = 1;      // the user chose no file or answered No
inline constexpr int kUpdateNotNewer = 2;       // refused: same version or older than the installed one
inline constexpr int kUpdateUnreadable = 3;     // refused: not a definitions file the program can read
inline constexpr int kUpdateFailed = 4;         // accepted, but the files could not be written
inline constexpr int kUpdateBadCommandLine = 5;

} // namespace tollivar
