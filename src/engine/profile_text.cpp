#include "engine/profile_text.h"

#include "config/install_paths.h"
#include "config/text_rules.h"

namespace tollivar {
namespace {

// The reader's white space, including the end-of-file mark some editors leave behind.
bool IsProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsProfileSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsProfileSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A value is a C string to the reader: it ends at an embedded zero byte.
std::string_view UpToZero(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

} // namespace

ProfileText ProfileText::Parse(std::string_view text) {
    ProfileText profile;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // Keys before the first header belong to a section without a name.
    profile.sections_.emplace_back();
    profile.firstSection_.emplace(std::string(), 0);
    Section* current = &profile.sections_.back();

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                profile.sections_.emplace_back();
                current = &profile.sections_.back();
                profile.firstSection_.emplace(ToUpperAscii(Trim(UpToZero(line.substr(1, close - 1)))),
                                              profile.sections_.size() - 1);
                continue;
            }
            // A "[" line without "]" is an ordinary key line.
        }
        const std::size_t equals = line.find('=');
        const std::string_view name = Trim(line.substr(0, equals));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
        current->values.emplace(ToUpperAscii(UpToZero(name)), std::string(UpToZero(value)));
    }
    return profile;
}

std::string ProfileText::Read(std::string_view section, std::string_view key) const {
    const std::string_view k = Trim(key);
    if (k.empty()) return {};
    const auto s = firstSection_.find(ToUpperAscii(Trim(section)));
    if (s == firstSection_.end()) return {};
    const auto& values = sections_[s->second].values;
    const auto v = values.find(ToUpperAscii(k));
    if (v == values.end()) return {};
    return ProfileValue(v->second);
}

std::string ProfileValue(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
        // The reader copies from after the opening quote and then drops the last character it copied:
        // a quoted text of exactly 511 characters therefore comes back one shorter.
        if (value.size() == kMaxPathText) value.remove_suffix(1);
    }
    return std::string(value.substr(0, kMaxPathText));
}

} // namespace tollivar
