// The shortcut reader and the bait rule on any bytes, against a stick whose answers follow from the
// path asked: the reader never reads outside the bytes (sanitizers), gives valid UTF-8 and the same
// answer twice, and every item the rule names lies on the given drive root.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "config/text_rules.h"
#include "engine/bait_shortcut.h"
#include "engine/shell_link.h"

namespace {

using tollivar::BaitVerdict;
using tollivar::ShellLink;

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size()) return false;
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n + 1;
    }
    return true;
}

bool SameLink(const ShellLink& a, const ShellLink& b) {
    return a.flags == b.flags && a.fileAttributes == b.fileAttributes && a.linkInfoPath == b.linkInfoPath &&
           a.environmentPath == b.environmentPath && a.idListPath == b.idListPath &&
           a.targetPath == b.targetPath && a.name == b.name && a.relativePath == b.relativePath &&
           a.workingDir == b.workingDir && a.arguments == b.arguments && a.iconLocation == b.iconLocation;
}

bool SameVerdict(const BaitVerdict& a, const BaitVerdict& b) {
    return a.bait == b.bait && a.reason == b.reason && a.payloads == b.payloads &&
           a.webAddresses == b.webAddresses && a.openedItems == b.openedItems &&
           a.mirroredOriginal == b.mirroredOriginal;
}

// On the stick: the path's upper-cased hash decides whether it is there, hidden, a folder.
std::optional<std::uint32_t> StickAnswer(const std::string& path, std::size_t& asked) {
    ++asked;
    const std::size_t h = std::hash<std::string>()(tollivar::ToUpperAscii(path));
    if (h % 4 == 0) return std::nullopt;
    std::uint32_t attributes = 0x20;
    if (h & 0x10) attributes |= 0x2;
    if ((h & 0x60) == 0x60) attributes = (attributes & ~0x20u) | 0x10;
    return attributes;
}

void CheckOnRoot(const std::string& path, const std::string& root) {
    if (!tollivar::EqualsUpper(std::string_view(path).substr(0, root.size()), root) ||
        path.size() <= root.size())
        std::abort();
    // A path the rule gives is already in the form the rule resolves names to.
    const auto again = tollivar::StickPath(root, "", path);
    if (!again || *again != path) std::abort();
    if (!ValidUtf8(path)) std::abort();
}

void Judge(const ShellLink& link, const std::string& shortcut, const std::string& root) {
    std::size_t asked = 0;
    const tollivar::StickAttributes stick = [&asked](const std::string& path) {
        return StickAnswer(path, asked);
    };
    const BaitVerdict v = tollivar::JudgeShortcut(link, shortcut, root, stick);
    if (asked > 256 + 1) std::abort();
    if (!SameVerdict(v, tollivar::JudgeShortcut(link, shortcut, root, stick))) std::abort();
    if (!v.bait) {
        if (!v.reason.empty() || !v.payloads.empty() || !v.openedItems.empty() || !v.webAddresses.empty() ||
            !v.mirroredOriginal.empty())
            std::abort();
        return;
    }
    if (v.reason.empty()) std::abort();
    const std::string self = tollivar::StickPath(root, "", shortcut).value_or("");
    for (const std::string& p : v.payloads) {
        CheckOnRoot(p, root);
        if (tollivar::EqualsUpper(p, self) || tollivar::EqualsUpper(p, v.mirroredOriginal)) std::abort();
    }
    for (const std::string& p : v.openedItems)
        CheckOnRoot(p, root);
    if (!v.mirroredOriginal.empty()) CheckOnRoot(v.mirroredOriginal, root);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tollivar::ShellLinkReading reading = tollivar::ParseShellLink(bytes);
    if ((size > tollivar::kShellLinkMaxBytes) != (reading.error == tollivar::ShellLinkError::TooLarge))
        std::abort();
    const tollivar::ShellLinkReading again = tollivar::ParseShellLink(bytes);
    if (reading.error != again.error || !SameLink(reading.link, again.link)) std::abort();
    if (!reading.Ok()) return 0;
    const ShellLink& link = reading.link;
    for (const std::string* s :
         {&link.linkInfoPath, &link.environmentPath, &link.idListPath, &link.targetPath, &link.name,
          &link.relativePath, &link.workingDir, &link.arguments, &link.iconLocation})
        if (!ValidUtf8(*s)) std::abort();

    Judge(link, "E:\\Photos.lnk", "E:\\");
    // The shortcut named by the link's own text, in a folder, so the mirrored name is the input's.
    Judge(link, "e:\\Docs\\" + link.name + ".lnk", "E:\\");
    return 0;
}
