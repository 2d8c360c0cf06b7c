#include "engine/analyzing_text.h"

#include "config/install_paths.h"
#include "config/text_rules.h"

namespace tollivar {

std::string AnalyzingText(std::string_view text) {
    static constexpr std::string_view kPrefix = " Analyzing >>  ";
    std::string s;
    s.reserve(kMaxPathText);
    s.append(kPrefix);
    s.append(CutBeforeCharacter(text, kMaxPathText - kPrefix.size()));
    return s;
}

} // namespace tollivar
