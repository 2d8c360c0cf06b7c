// Reading a Windows shortcut (.lnk) file into the texts that say what it starts. Platform-free: the
// caller reads the file's bytes and hands them in. Every length and offset is checked against the
// bytes given; nothing is read outside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tollivar {

// Shortcuts are small: a file larger than this is not read at all (the caller need not load it).
inline constexpr std::size_t kShellLinkMaxBytes = 64 * 1024;

// Link flag bits that say which parts follow the header.
inline constexpr std::uint32_t kLinkHasIdList = 0x1;
inline constexpr std::uint32_t kLinkHasLinkInfo = 0x2;
inline constexpr std::uint32_t kLinkHasName = 0x4;
inline constexpr std::uint32_t kLinkHasRelativePath = 0x8;
inline constexpr std::uint32_t kLinkHasWorkingDir = 0x10;
inline constexpr std::uint32_t kLinkHasArguments = 0x20;
inline constexpr std::uint32_t kLinkHasIconLocation = 0x40;
inline constexpr std::uint32_t kLinkIsUnicode = 0x80;
inline constexpr std::uint32_t kLinkForceNoLinkInfo = 0x100;
inline constexpr std::uint32_t kLinkHasExpString = 0x200;

// Every text is UTF-8. Empty means absent.
struct ShellLink {
    std::uint32_t flags = 0;
    std::uint32_t fileAttributes = 0; // of the target when the link was made
    // The target as each part of the file records it; a part that is missing or cannot be read
    // leaves its text empty.
    std::string linkInfoPath;    // local base path + common path suffix (or network name + suffix)
    std::string environmentPath; // the environment-variables block, unexpanded ("%windir%\...")
    std::string idListPath;      // rebuilt from a drive item and the file and folder items below it
    // The first of linkInfoPath, environmentPath, idListPath that is not empty.
    std::string targetPath;
    std::string name;
    std::string relativePath;
    std::string workingDir;
    std::string arguments;
    std::string iconLocation;
};

enum class ShellLinkError {
    None,
    TooLarge,    // more than kShellLinkMaxBytes
    NotShortcut, // header size or class id is not a shortcut's
    Truncated,   // a part the flags announce, or a length, runs past the end of the bytes
    BadLinkInfo, // the link info's size is smaller than its fixed header
};

struct ShellLinkReading {
    ShellLinkError error = ShellLinkError::None;
    ShellLink link; // filled only when error is None
    bool Ok() const { return error == ShellLinkError::None; }
};

// Turns text in the system's ANSI code page into UTF-8. An empty decoder maps each byte to the code
// point of the same value (ASCII is kept as it is).
using AnsiDecoder = std::function<std::string(std::string_view bytes)>;

// Reads the header, the target ID list, the link info, the string data and the extra data blocks.
// Errors are the header's and the sizes that decide where the next part begins; inside a part, an
// item or offset that is out of bounds or inconsistent is skipped (its text stays empty). Extra data
// is read block by block up to the terminal block; a block whose size runs past the end ends the
// walk and keeps what was read before it. Counted strings end at their first NUL, as the platform's
// own readers return them. Unpaired UTF-16 surrogates become U+FFFD.
ShellLinkReading ParseShellLink(std::string_view bytes, const AnsiDecoder& ansi = {});

// UTF-16LE code units (2 * units bytes) to UTF-8, up to the first NUL unit.
std::string Utf16ToUtf8(std::string_view bytes);

} // namespace tollivar
