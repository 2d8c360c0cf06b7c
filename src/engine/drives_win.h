// The drives the shield and the scan examine.
#pragma once

#include <string>
#include <vector>

namespace tollivar {

enum class DriveKind { Removable, Fixed };

// The roots ("E:\") of the drives of that kind now, in letter order. The floppy letters A: and B:
// are never examined as removable drives (asking for their medium would stall on a floppy drive).
std::vector<std::string> DriveRoots(DriveKind kind);

} // namespace tollivar
