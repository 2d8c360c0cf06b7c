// The drive letters a device notification names: bit 0 of the unit mask is A:, bit 25 is Z:.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tollivar {

// The roots ("E:\") of the letters whose bits are set, in letter order; bits above Z: name nothing.
std::vector<std::string> RootsOfUnitMask(std::uint32_t unitMask);

} // namespace tollivar
