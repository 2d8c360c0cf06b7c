// The drives the shield and the scan examine.
#pragma once

#include <string>
#include <vector>

namespace tollivar {

enum class DriveKind { Removable, Fixed };

// The roots ("E:\") of the drives of that kind now, in letter order. The floppy letters A: and B:
// are never examined as removable drives (asking for their medium would stall on a floppy drive).
// The letters are asked every time; their kinds are kept while the letters stay the same, for at
// most a few seconds.
std::vector<std::string> DriveRoots(DriveKind kind);

// Those of the roots given that DriveRoots(DriveKind::Removable) would list now, in the order given.
std::vector<std::string> RemovableRootsAmong(const std::vector<std::string>& roots);

} // namespace tollivar
