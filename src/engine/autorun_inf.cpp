#include "engine/autorun_inf.h"

#include <cstdint>

#include "config/utf8_text.h"
#include "config/text_rules.h"

namespace tollivar {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Zero bytes before or after a line's text are padding like blanks.
std::string_view TrimLine(std::string_view s) {
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::string_view UpToZero(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

constexpr std::uint32_t kReplacement = 0xFFFD;

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    return out;
}

// Keeps well-formed UTF-8 and replaces each ill-formed sequence with U+FFFD.
std::string ValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t min = 0;
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, min = 0x10000;
        }
        bool ok = length != 0 && i + length <= bytes.size();
        std::uint32_t cp = length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) ok = false;
            cp = cp << 6 | (next & 0x3F);
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (ok) {
            out.append(bytes.substr(i, length));
            i += length;
        } else {
            AppendUtf8(out, kReplacement);
            ++i;
        }
    }
    return out;
}

// UTF-16 without a mark: ASCII text in it has a zero byte in every other position, which ANSI text
// (even padded with zero bytes) does not show on one side only.
AutorunTextEncoding GuessUnmarked(std::string_view bytes) {
    std::size_t highZero = 0; // little-endian ASCII: "x", 0
    std::size_t lowZero = 0;  // big-endian ASCII: 0, "x"
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const bool first = bytes[2 * i] == '\0';
        const bool second = bytes[2 * i + 1] == '\0';
        if (second && !first) ++highZero;
        if (first && !second) ++lowZero;
    }
    const auto oneSided = [units](std::size_t side, std::size_t other) {
        return (side >= 8 || 2 * side >= units) && side > 0 && 4 * other <= side;
    };
    if (oneSided(highZero, lowZero)) return AutorunTextEncoding::Utf16Le;
    if (oneSided(lowZero, highZero)) return AutorunTextEncoding::Utf16Be;
    return AutorunTextEncoding::Ansi;
}

bool IsAutorunSection(std::string_view name) {
    const std::string upper = ToUpperAscii(name);
    return upper == "AUTORUN" || upper.rfind("AUTORUN.", 0) == 0;
}

// "shell\<verb>\command" in any case, blanks around its parts allowed; gives the verb as written.
bool IsVerbCommand(std::string_view name, std::string& verb) {
    const std::size_t first = name.find('\\');
    const std::size_t last = name.rfind('\\');
    if (first == std::string_view::npos || first == last) return false;
    if (!EqualsUpper(Trim(name.substr(0, first)), "SHELL")) return false;
    if (!EqualsUpper(Trim(name.substr(last + 1)), "COMMAND")) return false;
    verb = std::string(Trim(name.substr(first + 1, last - first - 1)));
    return !verb.empty();
}

} // namespace

std::string DecodeAutorunText(std::string_view bytes, AutorunTextEncoding& encoding) {
    bytes = bytes.substr(0, kAutorunReadLimit);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        encoding = AutorunTextEncoding::Utf8;
        return ValidUtf8(bytes.substr(3));
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        encoding = AutorunTextEncoding::Utf16Le;
        return Utf16ToUtf8(bytes.substr(2), false);
    }
    if (bytes.substr(0, 2) == "\xFE\xFF") {
        encoding = AutorunTextEncoding::Utf16Be;
        return Utf16ToUtf8(bytes.substr(2), true);
    }
    encoding = GuessUnmarked(bytes);
    if (encoding == AutorunTextEncoding::Ansi) return std::string(bytes);
    return Utf16ToUtf8(bytes, encoding == AutorunTextEncoding::Utf16Be);
}

namespace {

void ReadLaunchEntries(std::string_view text, AutorunInf& inf) {
    bool inAutorun = false;
    bool haveDefaultVerb = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimLine(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            // A header that lost its "]" still names its section.
            line.remove_prefix(1);
            inAutorun = IsAutorunSection(Trim(UpToZero(line.substr(0, line.find(']')))));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inAutorun || equals == std::string_view::npos) continue;
        const std::string_view name = Trim(UpToZero(line.substr(0, equals)));
        const std::string_view value = Trim(UpToZero(line.substr(equals + 1)));
        std::string verb;
        if (EqualsUpper(name, "OPEN") || EqualsUpper(name, "SHELLEXECUTE") || IsVerbCommand(name, verb)) {
            inf.launchEntries.push_back({std::string(name), std::string(value), std::move(verb)});
        } else if (!haveDefaultVerb && EqualsUpper(name, "SHELL")) {
            inf.defaultVerb = std::string(value);
            haveDefaultVerb = true;
        }
    }
}

} // namespace

AutorunInf ReadAutorunInf(std::string_view bytes) {
    AutorunInf inf;
    ReadLaunchEntries(DecodeAutorunText(bytes, inf.encoding), inf);
    const bool guessed =
        (inf.encoding == AutorunTextEncoding::Utf16Le || inf.encoding == AutorunTextEncoding::Utf16Be) &&
        bytes.substr(0, 2) != "\xFF\xFE" && bytes.substr(0, 2) != "\xFE\xFF";
    if (guessed && inf.launchEntries.empty()) {
        // Zero bytes laid out to look like UTF-16 must not hide an ANSI file's entries.
        inf = AutorunInf{};
        ReadLaunchEntries(bytes.substr(0, kAutorunReadLimit), inf);
    }
    return inf;
}

} // namespace tollivar
