// Which running processes count as copies of this program. Platform-free.
#pragma once

#include <string_view>

namespace tollivar {

// The executable name every copy runs under, compared after upper-casing.
inline constexpr std::string_view kProgramImageUpper = "TOLLGUARD.EXE";

// True when a process snapshot entry's executable name is this program's (case-insensitive, whole name).
bool IsProgramImageName(std::string_view exeName);

// Another copy runs when the snapshot holds two or more entries of this program (this copy counts itself).
inline bool AnotherCopyRuns(int copiesInSnapshot) { return copiesInSnapshot >= 2; }

} // namespace tollivar
