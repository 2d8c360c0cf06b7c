#include "config/text_rules.h"

#include "config/install_paths.h"

namespace tollivar {

std::string ToUpperAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool EqualsUpper(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

std::string CutToBuffer(std::string_view text) { return std::string(text.substr(0, kMaxPathText)); }

std::string_view FileNameOfPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace tollivar
