#include "engine/drive_units.h"

namespace tollivar {

std::vector<std::string> RootsOfUnitMask(std::uint32_t unitMask) {
    std::vector<std::string> roots;
    for (int letter = 0; letter < 26; ++letter)
        if (unitMask & (std::uint32_t{1} << letter))
            roots.push_back(std::string(1, static_cast<char>('A' + letter)) + ":\\");
    return roots;
}

} // namespace tollivar
