// The whole-file profile reader against a model of the platform reader's rules written here again in
// the simplest way: each key is looked up by scanning the file's lines from the top. Any disagreement
// aborts. The keys asked for are the program's own plus names taken from the file itself, in both
// cases, so that hits are common.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/profile_text.h"

namespace {

constexpr std::size_t kBuffer = 512; // the caller's buffer, zero included

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string_view CString(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '\0') return s.substr(0, i);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// What a buffer of kBuffer bytes receives for a stored value: a value that begins and ends with the
// same quote loses the opening quote; the copy then takes at most kBuffer - 1 characters, and when
// the closing quote fitted in the buffer's length the last copied character is dropped.
std::string Returned(std::string_view value) {
    bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted) value.remove_prefix(1);
    std::string copy(value.substr(0, kBuffer - 1));
    if (quoted && value.size() <= kBuffer) copy.pop_back();
    return copy;
}

// The lines of the first section of that name, as the model reads the file.
std::vector<std::string_view> ModelSection(std::string_view file, std::string_view section) {
    std::vector<std::string_view> lines;
    if (file.size() >= 3 && file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
    section = Trimmed(section);
    // Lines above the first header form the section without a name.
    bool inside = section.empty();
    std::size_t pos = 0;
    while (pos <= file.size()) {
        std::size_t end = pos;
        while (end < file.size() && file[end] != '\r' && file[end] != '\n')
            ++end;
        const std::string_view line = Trimmed(file.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        const std::size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string_view::npos) {
            if (inside) break; // only the first section of a name is read
            inside = SameName(Trimmed(CString(line.substr(1, close - 1))), section);
            continue;
        }
        if (inside) lines.push_back(line);
    }
    return lines;
}

std::string ModelRead(const std::vector<std::string_view>& lines, std::string_view key) {
    key = Trimmed(key);
    if (key.empty()) return {};
    for (std::string_view line : lines) {
        const std::size_t equals = line.find('=');
        if (!SameName(CString(Trimmed(line.substr(0, equals))), key)) continue;
        if (equals == std::string_view::npos) return {};
        return Returned(CString(Trimmed(line.substr(equals + 1))));
    }
    return {};
}

std::string SwapCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tollivar::ProfileText text = tollivar::ProfileText::Parse(bytes);

    std::vector<std::string> names = {"autorun", "open", "shellexecute", "1", "Th",
                                      "P1",      "F1",   "VER",          "",  " "};
    // Every piece of the file between the characters that end names is asked for as a section and
    // as a key (a piece may hold blanks or a zero byte: the reader must treat it as the model does).
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size() && names.size() < 30; ++i) {
        if (i == bytes.size() || bytes[i] == '[' || bytes[i] == ']' || bytes[i] == '=' || bytes[i] == '\r' ||
            bytes[i] == '\n') {
            if (i > start) names.emplace_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    const std::size_t own = names.size();
    for (std::size_t i = 0; i < own; ++i)
        names.push_back(SwapCase(names[i]));

    for (const std::string& section : names) {
        const std::vector<std::string_view> lines = ModelSection(bytes, section);
        for (const std::string& key : names) {
            const std::string got = text.Read(section, key);
            if (got.size() > kBuffer - 1) std::abort();
            if (got != ModelRead(lines, key)) std::abort();
        }
    }
    return 0;
}
