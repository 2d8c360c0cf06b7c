#include "engine/analyzing_text.h"

#include "config/install_paths.h"

namespace tollivar {

std::string AnalyzingText(std::string_view text) {
    static constexpr std::string_view kPrefix = " Analyzing >>  ";
    std::string s;
    s.reserve(kMaxPathText);
    s.append(kPrefix);
    s.append(text.substr(0, kMaxPathText - kPrefix.size()));
    return s;
}

} // namespace tollivar
