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

std::string_view CutBeforeCharacter(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    // Back over the continuation bytes (10xxxxxx) of the character the cut falls in; at most three.
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    if ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) cut = maxBytes; // not UTF-8: cut as asked
    return text.substr(0, cut);
}

std::string CutToBuffer(std::string_view text) {
    return std::string(CutBeforeCharacter(text, kMaxPathText));
}

std::string_view FileNameOfPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace tollivar
