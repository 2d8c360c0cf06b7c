// The autorun.inf reader and the resolution of its targets: any bytes read, and every answer keeps
// the reader's limits, lies on the drive or names a full path, and is the same every time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "engine/autorun_targets.h"

namespace {

// Short ASCII values only, so that the longest target is known.
constexpr std::size_t kLongestValue = 16;

std::optional<std::string> Environment(const std::string& name) {
    if (name == "windir" || name == "SystemRoot") return std::string("C:\\WINDOWS");
    if (name == "SUB") return std::string("tools\\");
    if (name.size() % 2 == 1) return std::nullopt;
    return std::string(name.size() % kLongestValue, 'v') + "\\";
}

bool ValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t length = c < 0x80                   ? 1
                             : (c >= 0xC2 && c <= 0xDF) ? 2
                             : (c >= 0xE0 && c <= 0xEF) ? 3
                             : (c >= 0xF0 && c <= 0xF4) ? 4
                                                        : 0;
        if (length == 0 || i + length > s.size()) return false;
        std::uint32_t cp = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = cp << 6 | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tollivar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view root = "E:\\";

    const AutorunInf inf = ReadAutorunInf(bytes);
    AutorunTextEncoding encoding{};
    const std::string text = DecodeAutorunText(bytes, encoding);
    // A file taken for UTF-16 by its zero bytes alone may be read again as ANSI.
    const bool readAgain =
        inf.encoding == AutorunTextEncoding::Ansi &&
        (encoding == AutorunTextEncoding::Utf16Le || encoding == AutorunTextEncoding::Utf16Be) &&
        bytes.substr(0, 2) != "\xFF\xFE" && bytes.substr(0, 2) != "\xFE\xFF";
    if (encoding != inf.encoding && !readAgain) std::abort();
    if (encoding != AutorunTextEncoding::Ansi && !ValidUtf8(text)) std::abort();
    for (const AutorunEntry& e : inf.launchEntries) {
        for (const std::string* s : {&e.key, &e.value, &e.verb}) {
            if (s->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
            if (!s->empty() && (IsBlank(s->front()) || IsBlank(s->back()))) std::abort();
            if (inf.TextIsUtf8() && !ValidUtf8(*s)) std::abort();
        }
        if (e.key.empty()) std::abort();
    }

    const AutorunTargets targets = ResolveAutorunTargets(root, inf, Environment);
    if (targets.Found() != !targets.infPath.empty()) std::abort();
    std::set<std::string> distinct;
    for (const AutorunTarget& t : targets.targets) {
        if (t.path.empty() || t.key.empty()) std::abort();
        if (t.path.size() > root.size() + 511 + kLongestValue + 8) std::abort();
        const bool onDrive = t.path.compare(0, root.size(), root) == 0;
        const bool full = t.path.find(':') != std::string::npos || t.path.compare(0, 2, "\\\\") == 0;
        if (!onDrive && !full) std::abort();
        if (t.kind == AutorunTargetKind::HostProgram && onDrive) std::abort();
        if (inf.TextIsUtf8() && !ValidUtf8(t.path)) std::abort();
        if (!distinct.insert(ComparablePath(t.path)).second) std::abort();
    }
    if (FindingsOf(targets).size() != targets.targets.size()) std::abort();

    // The same bytes give the same answer.
    const AutorunTargets again = AnalyzeAutorunText(root, bytes, Environment);
    if (!(again.infPath == targets.infPath && again.targets == targets.targets)) std::abort();
    return 0;
}
