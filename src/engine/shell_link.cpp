#include "engine/shell_link.h"

#include "config/utf8_text.h"

#include <array>
#include <utility>

namespace tollivar {
namespace {

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> kLinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                        0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::size_t kLinkInfoFixedSize = 0x1C;
constexpr std::size_t kLinkInfoUnicodeHeaderSize = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kCommonNetworkRelativeLink = 0x2;
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::size_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentAnsiSize = 260;
constexpr std::size_t kEnvironmentUnicodeSize = 520;
constexpr std::uint32_t kFileEntryExtension = 0xBEEF0004;

// A bounded view: every read says how many bytes it needs and fails instead of reading past the end.
class Bytes {
  public:
    explicit Bytes(std::string_view data) : data_(data) {}
    std::size_t size() const { return data_.size(); }
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint8_t U8(std::size_t offset) const { return static_cast<std::uint8_t>(data_[offset]); }
    std::uint16_t U16(std::size_t offset) const {
        return static_cast<std::uint16_t>(U8(offset) | (U8(offset + 1) << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
    }
    // Callers check Has first.
    Bytes Sub(std::size_t offset, std::size_t count) const { return Bytes(data_.substr(offset, count)); }
    std::string_view View(std::size_t offset, std::size_t count) const { return data_.substr(offset, count); }

    // The bytes from offset up to (not including) the first NUL; false when there is no NUL before
    // the end.
    bool AnsiZ(std::size_t offset, std::string_view& out) const {
        if (offset >= data_.size()) return false;
        const std::size_t end = data_.find('\0', offset);
        if (end == std::string_view::npos) return false;
        out = data_.substr(offset, end - offset);
        return true;
    }
    // UTF-16 units from offset up to the first NUL unit; false when there is none before the end.
    bool WideZ(std::size_t offset, std::string_view& out) const {
        for (std::size_t at = offset; Has(at, 2); at += 2) {
            if (U16(at) == 0) {
                out = data_.substr(offset, at - offset);
                return true;
            }
        }
        return false;
    }

  private:
    std::string_view data_;
};

std::string AnsiText(std::string_view bytes, const AnsiDecoder& ansi) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    if (ansi) return ansi(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::string JoinSuffix(std::string base, const std::string& suffix) {
    if (suffix.empty()) return base;
    if (!base.empty() && base.back() != '\\' && suffix.front() != '\\') base += '\\';
    return base + suffix;
}

// A NUL-terminated string at an offset recorded in a structure: only offsets past the structure's
// fixed header and inside it count, so a string never overlaps the fields that locate it.
std::string OffsetAnsi(const Bytes& part, std::uint32_t offset, std::size_t headerSize,
                       const AnsiDecoder& ansi) {
    std::string_view text;
    if (offset < headerSize || !part.AnsiZ(offset, text)) return {};
    return AnsiText(text, ansi);
}

std::string OffsetWide(const Bytes& part, std::uint32_t offset, std::size_t headerSize) {
    std::string_view text;
    if (offset < headerSize || !part.WideZ(offset, text)) return {};
    return Utf16ToUtf8(text);
}

std::string NetworkName(const Bytes& info, std::uint32_t offset, std::size_t headerSize,
                        const AnsiDecoder& ansi) {
    constexpr std::size_t kFixed = 0x14;
    if (offset < headerSize || !info.Has(offset, kFixed)) return {};
    const std::uint32_t size = info.U32(offset);
    if (size < kFixed || !info.Has(offset, size)) return {};
    const Bytes link = info.Sub(offset, size);
    const std::uint32_t nameOffset = link.U32(8);
    // A name offset past the fixed part means the two Unicode offsets follow it.
    if (nameOffset > kFixed && link.Has(kFixed, 8)) {
        const std::string wide = OffsetWide(link, link.U32(kFixed), kFixed + 8);
        if (!wide.empty()) return wide;
    }
    return OffsetAnsi(link, nameOffset, kFixed, ansi);
}

std::string LinkInfoPath(const Bytes& info, const AnsiDecoder& ansi) {
    const std::uint32_t headerSize = info.U32(4);
    if (headerSize < kLinkInfoFixedSize || headerSize > info.size()) return {};
    const std::uint32_t infoFlags = info.U32(8);
    const bool unicodeOffsets = headerSize >= kLinkInfoUnicodeHeaderSize;
    std::string suffix;
    if (unicodeOffsets) suffix = OffsetWide(info, info.U32(0x20), headerSize);
    if (suffix.empty()) suffix = OffsetAnsi(info, info.U32(0x18), headerSize, ansi);
    if (infoFlags & kVolumeIdAndLocalBasePath) {
        std::string base;
        if (unicodeOffsets) base = OffsetWide(info, info.U32(0x1C), headerSize);
        if (base.empty()) base = OffsetAnsi(info, info.U32(0x10), headerSize, ansi);
        if (!base.empty()) return JoinSuffix(base, suffix);
    }
    if (infoFlags & kCommonNetworkRelativeLink) {
        const std::string net = NetworkName(info, info.U32(0x14), headerSize, ansi);
        if (!net.empty()) return JoinSuffix(net, suffix);
    }
    return {};
}

// The long name of a file or folder item, from its 0xBEEF0004 extension block; empty without one.
std::string ExtensionLongName(const Bytes& item, std::size_t at) {
    while (item.Has(at, 8)) {
        const std::uint16_t size = item.U16(at);
        if (size < 8 || !item.Has(at, size)) return {};
        if (item.U32(at + 4) == kFileEntryExtension) {
            const std::uint16_t version = item.U16(at + 2);
            std::size_t nameAt = 0;
            if (version >= 9)
                nameAt = 0x2E;
            else if (version == 8)
                nameAt = 0x2A;
            else if (version == 7)
                nameAt = 0x26;
            else if (version >= 3)
                nameAt = 0x14;
            std::string_view wide;
            if (nameAt != 0 && item.Sub(at, size).WideZ(nameAt, wide)) return Utf16ToUtf8(wide);
            return {};
        }
        at += size;
    }
    return {};
}

// A file or folder item: its long name when it has one, else its primary name.
std::string FileEntryName(const Bytes& item, const AnsiDecoder& ansi) {
    constexpr std::size_t kNameAt = 14;
    const bool unicode = (item.U8(2) & 0x04) != 0;
    std::string_view primary;
    std::size_t after = 0;
    if (unicode) {
        if (!item.WideZ(kNameAt, primary)) return {};
        after = kNameAt + primary.size() + 2;
    } else {
        if (!item.AnsiZ(kNameAt, primary)) return {};
        after = kNameAt + primary.size() + 1;
    }
    if (after % 2) ++after;
    std::string longName = ExtensionLongName(item, after);
    if (!longName.empty()) return longName;
    return unicode ? Utf16ToUtf8(primary) : AnsiText(primary, ansi);
}

// The path the ID list leads to, when it is a drive followed by file and folder items; empty for
// anything else (network places, special folders, items of unknown kinds, inconsistent sizes).
std::string IdListPath(const Bytes& list, const AnsiDecoder& ansi) {
    std::string path;
    bool drive = false;
    std::size_t at = 0;
    while (list.Has(at, 2)) {
        const std::uint16_t size = list.U16(at);
        if (size == 0) break;
        if (size < 3 || !list.Has(at, size)) return {};
        const Bytes item = list.Sub(at, size);
        const std::uint8_t type = item.U8(2);
        if (type == 0x1F) {
            // A root folder (the computer): names nothing of the path itself.
        } else if ((type & 0x70) == 0x20) {
            std::string_view letter;
            if (!item.AnsiZ(3, letter) || letter.size() < 2 || letter[1] != ':') return {};
            const char c = letter[0];
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return {};
            path = std::string(1, c) + ":\\";
            drive = true;
        } else if ((type & 0x70) == 0x30) {
            if (!drive) return {};
            const std::string name = FileEntryName(item, ansi);
            if (name.empty()) return {};
            if (path.back() != '\\') path += '\\';
            path += name;
        } else {
            return {};
        }
        at += size;
    }
    return drive ? path : std::string();
}

std::string EnvironmentTarget(const Bytes& block) {
    std::string_view wide;
    if (block.Sub(8 + kEnvironmentAnsiSize, kEnvironmentUnicodeSize).WideZ(0, wide) && !wide.empty())
        return Utf16ToUtf8(wide);
    return {};
}

} // namespace

std::string Utf16ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const Bytes units(bytes);
    for (std::size_t at = 0; units.Has(at, 2); at += 2) {
        const std::uint32_t unit = units.U16(at);
        if (unit == 0) break;
        if (unit >= 0xD800 && unit <= 0xDBFF && units.Has(at + 2, 2)) {
            const std::uint32_t low = units.U16(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        AppendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
    }
    return out;
}

ShellLinkReading ParseShellLink(std::string_view data, const AnsiDecoder& ansi) {
    ShellLinkReading reading;
    if (data.size() > kShellLinkMaxBytes) {
        reading.error = ShellLinkError::TooLarge;
        return reading;
    }
    const Bytes bytes(data);
    if (!bytes.Has(0, kHeaderSize)) {
        reading.error = ShellLinkError::Truncated;
        return reading;
    }
    if (bytes.U32(0) != kHeaderSize ||
        bytes.View(4, 16) !=
            std::string_view(reinterpret_cast<const char*>(kLinkClassId.data()), kLinkClassId.size())) {
        reading.error = ShellLinkError::NotShortcut;
        return reading;
    }
    ShellLink link;
    link.flags = bytes.U32(0x14);
    link.fileAttributes = bytes.U32(0x18);
    std::size_t at = kHeaderSize;
    auto fail = [&reading](ShellLinkError error) {
        reading.error = error;
        return reading;
    };

    if (link.flags & kLinkHasIdList) {
        if (!bytes.Has(at, 2)) return fail(ShellLinkError::Truncated);
        const std::uint16_t size = bytes.U16(at);
        if (!bytes.Has(at + 2, size)) return fail(ShellLinkError::Truncated);
        link.idListPath = IdListPath(bytes.Sub(at + 2, size), ansi);
        at += 2 + size;
    }

    if (link.flags & kLinkHasLinkInfo) {
        if (!bytes.Has(at, 4)) return fail(ShellLinkError::Truncated);
        const std::uint32_t size = bytes.U32(at);
        if (size < kLinkInfoFixedSize) return fail(ShellLinkError::BadLinkInfo);
        if (!bytes.Has(at, size)) return fail(ShellLinkError::Truncated);
        if (!(link.flags & kLinkForceNoLinkInfo)) link.linkInfoPath = LinkInfoPath(bytes.Sub(at, size), ansi);
        at += size;
    }

    const bool unicode = (link.flags & kLinkIsUnicode) != 0;
    const std::pair<std::uint32_t, std::string*> strings[] = {
        {kLinkHasName, &link.name},
        {kLinkHasRelativePath, &link.relativePath},
        {kLinkHasWorkingDir, &link.workingDir},
        {kLinkHasArguments, &link.arguments},
        {kLinkHasIconLocation, &link.iconLocation},
    };
    for (const auto& [flag, text] : strings) {
        if (!(link.flags & flag)) continue;
        if (!bytes.Has(at, 2)) return fail(ShellLinkError::Truncated);
        const std::size_t length = std::size_t{bytes.U16(at)} * (unicode ? 2 : 1);
        if (!bytes.Has(at + 2, length)) return fail(ShellLinkError::Truncated);
        const std::string_view raw = bytes.View(at + 2, length);
        *text = unicode ? Utf16ToUtf8(raw) : AnsiText(raw, ansi);
        at += 2 + length;
    }

    while (bytes.Has(at, 4)) {
        const std::uint32_t size = bytes.U32(at);
        if (size < 4) break; // the terminal block
        if (size < 8 || !bytes.Has(at, size)) break;
        if (bytes.U32(at + 4) == kEnvironmentBlockSignature && size >= kEnvironmentBlockSize) {
            const Bytes block = bytes.Sub(at, kEnvironmentBlockSize);
            link.environmentPath = EnvironmentTarget(block);
            if (link.environmentPath.empty()) {
                std::string_view narrow;
                if (block.Sub(8, kEnvironmentAnsiSize).AnsiZ(0, narrow))
                    link.environmentPath = AnsiText(narrow, ansi);
            }
        }
        at += size;
    }

    for (const std::string* path : {&link.linkInfoPath, &link.environmentPath, &link.idListPath}) {
        if (!path->empty()) {
            link.targetPath = *path;
            break;
        }
    }
    reading.link = std::move(link);
    return reading;
}

} // namespace tollivar
