// A drive's autorun.inf read as leniently as the Windows shell reads it from a stick, so that a file
// written to slip past simple readers (junk lines, odd encodings, sloppy headers) still shows every
// entry that can start a program. Platform-free: the caller reads the file's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar {

// The most of an autorun.inf that is read: a 100 MB file must not stall the shield pass. Callers read
// at most this many bytes; ReadAutorunInf also looks at no more than this prefix of what it is given.
inline constexpr std::size_t kAutorunReadLimit = 1024 * 1024;

enum class AutorunTextEncoding {
    Ansi,    // bytes of the ANSI code page, kept as they are
    Utf8,    // UTF-8 with a byte-order mark
    Utf16Le, // with a byte-order mark, or without one when the zero bytes say so
    Utf16Be,
};

// One entry that can start a program: "open", "shellexecute" or "shell\<verb>\command".
struct AutorunEntry {
    std::string key;   // as written, blanks around it removed ("Shell\Open\Command")
    std::string value; // as written, blanks around it removed; quotes are kept
    std::string verb;  // the verb of a "shell\<verb>\command" entry, as written; empty otherwise
    bool operator==(const AutorunEntry& o) const {
        return key == o.key && value == o.value && verb == o.verb;
    }
};

struct AutorunInf {
    AutorunTextEncoding encoding = AutorunTextEncoding::Ansi;
    std::vector<AutorunEntry> launchEntries; // in file order
    std::string defaultVerb;                 // the first "shell=" value; empty without one
    // Texts of a UTF-16 or UTF-8 file are UTF-8; those of an ANSI file are its bytes.
    bool TextIsUtf8() const { return encoding != AutorunTextEncoding::Ansi; }
};

// The file's text as one string: a UTF-8 byte-order mark is dropped and the rest kept (invalid
// sequences become U+FFFD); UTF-16 (either byte order, with a mark or recognised by its zero bytes)
// becomes UTF-8 (a lone surrogate becomes U+FFFD, an odd last byte is dropped); anything else is
// ANSI and kept byte for byte. Only the first kAutorunReadLimit bytes are looked at.
std::string DecodeAutorunText(std::string_view bytes, AutorunTextEncoding& encoding);

// Every launch entry of the autorun sections, in file order. Lines end at CR or LF; blanks, tabs and
// zero bytes around a line do not count. A line whose first character is "[" starts a section named
// up to its "]" (or up to the line's end when the "]" is missing); section names match without regard
// to case, blanks inside the brackets do not count. The autorun sections are every "[autorun]" and
// every platform section "[autorun.<name>]" (such as AutoRun.Amd64, which the shell reads first on
// x64), wherever they stand in the file. A line starting with ";" is a comment; a line without "=" is
// junk and skipped; blanks and tabs around names, "=" and values do not count; a name or value ends
// at a zero byte. Key names match without regard to case, blanks around the parts of
// "shell \ verb \ command" do not count. A file taken for UTF-16 by its zero bytes alone that gives no
// entry is read again as ANSI.
AutorunInf ReadAutorunInf(std::string_view bytes);

} // namespace tollivar
