// Hand-built shortcut images for the tests and the fuzz corpus: header, target ID list, link info,
// string data and extra data blocks laid out as the platform writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar::test {

inline void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// UTF-8 to UTF-16LE bytes (no terminator).
inline std::string Utf16(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) {
            cp = b & 0x07;
            n = 4;
        } else if (b >= 0xE0) {
            cp = b & 0x0F;
            n = 3;
        } else if (b >= 0xC0) {
            cp = b & 0x1F;
            n = 2;
        }
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            Put16(out, 0xD800 + (cp >> 10));
            Put16(out, 0xDC00 + (cp & 0x3FF));
        } else {
            Put16(out, cp);
        }
    }
    return out;
}

inline std::string WideZ(std::string_view utf8) {
    return Utf16(utf8) + std::string(2, '\0');
}

// Shell items (each without its size field; the builder adds it).
inline std::string ComputerItem() {
    std::string item("\x1F\x50", 2);
    const unsigned char guid[16] = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                    0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
    item.append(reinterpret_cast<const char*>(guid), 16);
    return item;
}

inline std::string DriveItem(std::string_view letterColonSlash) {
    std::string item("\x2F", 1);
    item += letterColonSlash;
    item.resize(0x17, '\0');
    return item;
}

// A file (or folder) item: its 8.3 primary name and, when longName is given, the long name in a
// version 9 extension block.
inline std::string FileItem(std::string_view shortName, std::string_view longName, bool folder,
                            std::uint16_t version = 9) {
    std::string item;
    item += static_cast<char>(folder ? 0x31 : 0x32);
    item += '\0';
    Put32(item, 1234); // size
    Put32(item, 0);    // DOS date and time
    Put16(item, folder ? 0x10 : 0x20);
    item += shortName;
    item += '\0';
    if ((item.size() + 2) % 2) item += '\0'; // the size field in front counts for the alignment
    if (!longName.empty()) {
        std::size_t nameAt = version >= 9 ? 0x2E : version == 8 ? 0x2A : version == 7 ? 0x26 : 0x14;
        std::string block;
        Put16(block, 0); // size, set below
        Put16(block, version);
        Put32(block, 0xBEEF0004);
        block.resize(nameAt, '\0');
        block += WideZ(longName);
        Put16(block, static_cast<std::uint32_t>(item.size() + 2)); // where the block begins
        block[0] = static_cast<char>(block.size() & 0xFF);
        block[1] = static_cast<char>(block.size() >> 8);
        item += block;
    }
    Put16(item, 0); // no further block
    return item;
}

class LinkImage {
  public:
    LinkImage& Unicode(bool on) {
        unicode_ = on;
        return *this;
    }
    LinkImage& Attributes(std::uint32_t a) {
        attributes_ = a;
        return *this;
    }
    LinkImage& Items(std::vector<std::string> items) {
        items_ = std::move(items);
        hasIdList_ = true;
        return *this;
    }
    LinkImage& RawIdList(std::string bytes) {
        rawIdList_ = std::move(bytes);
        hasIdList_ = true;
        return *this;
    }
    // Link info with a local base path (ANSI, and Unicode too when unicodeOffsets).
    LinkImage& LocalPath(std::string base, std::string suffix = "", bool unicodeOffsets = false) {
        localBase_ = std::move(base);
        suffix_ = std::move(suffix);
        unicodeInfo_ = unicodeOffsets;
        hasLinkInfo_ = true;
        return *this;
    }
    LinkImage& RawLinkInfo(std::string bytes) {
        rawLinkInfo_ = std::move(bytes);
        hasLinkInfo_ = true;
        return *this;
    }
    LinkImage& ForceNoLinkInfo() {
        extraFlags_ |= 0x100;
        return *this;
    }
    LinkImage& Name(std::string s) { return Set(0x4, name_, std::move(s)); }
    LinkImage& RelativePath(std::string s) { return Set(0x8, relative_, std::move(s)); }
    LinkImage& WorkingDir(std::string s) { return Set(0x10, workingDir_, std::move(s)); }
    LinkImage& Arguments(std::string s) { return Set(0x20, arguments_, std::move(s)); }
    LinkImage& Icon(std::string s) { return Set(0x40, icon_, std::move(s)); }
    LinkImage& Environment(std::string target) {
        std::string block;
        Put32(block, 0x314);
        Put32(block, 0xA0000001);
        std::string ansi = target.substr(0, 259);
        ansi.resize(260, '\0');
        std::string wide = Utf16(target).substr(0, 518);
        wide.resize(520, '\0');
        extra_ += block + ansi + wide;
        extraFlags_ |= 0x200;
        return *this;
    }
    LinkImage& RawExtra(std::string block) {
        extra_ += block;
        return *this;
    }
    LinkImage& NoTerminalBlock() {
        terminal_ = false;
        return *this;
    }

    std::uint32_t Flags() const {
        std::uint32_t flags = stringFlags_ | extraFlags_;
        if (hasIdList_) flags |= 0x1;
        if (hasLinkInfo_) flags |= 0x2;
        if (unicode_) flags |= 0x80;
        return flags;
    }

    std::string Build() const {
        std::string out;
        Put32(out, 0x4C);
        const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
        out.append(reinterpret_cast<const char*>(clsid), 16);
        Put32(out, Flags());
        Put32(out, attributes_);
        out.append(24, '\0'); // times
        Put32(out, 0);        // file size
        Put32(out, 0);        // icon index
        Put32(out, 1);        // show normal
        out.append(12, '\0'); // hot key and reserved
        if (hasIdList_) {
            std::string list = rawIdList_;
            if (list.empty()) {
                for (const std::string& item : items_) {
                    Put16(list, static_cast<std::uint32_t>(item.size() + 2));
                    list += item;
                }
                Put16(list, 0);
            }
            Put16(out, static_cast<std::uint32_t>(list.size()));
            out += list;
        }
        if (hasLinkInfo_) out += rawLinkInfo_.empty() ? LinkInfo() : rawLinkInfo_;
        for (const std::string* s : {&name_, &relative_, &workingDir_, &arguments_, &icon_}) {
            if (s->empty() && !HasString(s)) continue;
            if (unicode_) {
                const std::string wide = Utf16(*s);
                Put16(out, static_cast<std::uint32_t>(wide.size() / 2));
                out += wide;
            } else {
                Put16(out, static_cast<std::uint32_t>(s->size()));
                out += *s;
            }
        }
        out += extra_;
        if (terminal_) Put32(out, 0);
        return out;
    }

  private:
    LinkImage& Set(std::uint32_t flag, std::string& field, std::string value) {
        stringFlags_ |= flag;
        field = std::move(value);
        return *this;
    }
    bool HasString(const std::string* s) const {
        const std::pair<const std::string*, std::uint32_t> map[] = {
            {&name_, 0x4}, {&relative_, 0x8}, {&workingDir_, 0x10}, {&arguments_, 0x20}, {&icon_, 0x40}};
        for (const auto& [field, flag] : map)
            if (field == s) return (stringFlags_ & flag) != 0;
        return false;
    }
    std::string LinkInfo() const {
        const std::uint32_t header = unicodeInfo_ ? 0x24 : 0x1C;
        std::string volume;
        Put32(volume, 0x11);
        Put32(volume, 2); // removable
        Put32(volume, 0x1234ABCD);
        Put32(volume, 0x10);
        volume += '\0';
        const std::uint32_t volumeAt = header;
        const std::uint32_t baseAt = volumeAt + static_cast<std::uint32_t>(volume.size());
        const std::uint32_t suffixAt = baseAt + static_cast<std::uint32_t>(localBase_.size() + 1);
        std::uint32_t end = suffixAt + static_cast<std::uint32_t>(suffix_.size() + 1);
        std::uint32_t baseWideAt = 0, suffixWideAt = 0;
        if (unicodeInfo_) {
            if (end % 2) ++end;
            baseWideAt = end;
            suffixWideAt = baseWideAt + static_cast<std::uint32_t>(WideZ(localBase_).size());
            end = suffixWideAt + static_cast<std::uint32_t>(WideZ(suffix_).size());
        }
        std::string info;
        Put32(info, end);
        Put32(info, header);
        Put32(info, 0x1); // volume id and local base path
        Put32(info, volumeAt);
        Put32(info, baseAt);
        Put32(info, 0);
        Put32(info, suffixAt);
        if (unicodeInfo_) {
            Put32(info, baseWideAt);
            Put32(info, suffixWideAt);
        }
        info += volume;
        // The ANSI copies hold only what the code page can: '?' for the rest, as the platform does.
        for (const std::string* s : {&localBase_, &suffix_}) {
            for (char c : *s)
                info += static_cast<unsigned char>(c) < 0x80 ? c : '?';
            info += '\0';
        }
        if (unicodeInfo_) {
            info.resize(baseWideAt, '\0');
            info += WideZ(localBase_) + WideZ(suffix_);
        }
        return info;
    }

    bool unicode_ = true;
    std::uint32_t attributes_ = 0x20;
    bool hasIdList_ = false;
    std::vector<std::string> items_;
    std::string rawIdList_;
    bool hasLinkInfo_ = false;
    bool unicodeInfo_ = false;
    std::string localBase_, suffix_, rawLinkInfo_;
    std::uint32_t stringFlags_ = 0;
    std::uint32_t extraFlags_ = 0;
    std::string name_, relative_, workingDir_, arguments_, icon_;
    std::string extra_;
    bool terminal_ = true;
};

// The ID list of a path such as "C:\Windows\System32\cmd.exe": computer, drive, then one item per
// part (folders, then the file), each with its long name.
inline std::vector<std::string> PathItems(std::string_view path) {
    std::vector<std::string> items = {ComputerItem(), DriveItem(path.substr(0, 3))};
    std::string_view rest = path.substr(3);
    while (!rest.empty()) {
        const std::size_t cut = rest.find('\\');
        const std::string_view part = rest.substr(0, cut);
        const bool folder = cut != std::string_view::npos;
        std::string shortName(part.substr(0, 8));
        for (char& c : shortName)
            if (static_cast<unsigned char>(c) >= 0x80) c = '_';
        items.push_back(FileItem(shortName, part, folder));
        rest = folder ? rest.substr(cut + 1) : std::string_view();
    }
    return items;
}

} // namespace tollivar::test
