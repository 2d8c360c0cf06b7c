// How def.uas is read: one decision of its encoding, shared by the scan and the update program's
// check, so that a file the check accepts is read by the scan exactly as the check read it.
// Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

enum class DefinitionsEncoding {
    Ansi,       // no UTF-16 mark and no zero byte: read as it stands
    Utf16Ascii, // a UTF-16 mark (either byte order) and only ASCII characters: read from its ASCII text
    Utf16Wide,  // well-formed UTF-16 with characters beyond ASCII: only the platform's profile reader
                // knows their code-page form, so the scan leaves it to that reader and the check refuses it
    NotUtf16,   // a UTF-16 mark on bytes that are not UTF-16 text: odd length, no zero byte (the brackets
                // and names of a definitions file are ASCII), a zero character or a lone surrogate
    NotText,    // no UTF-16 mark but zero bytes: not a text file
};

struct DefinitionsText {
    DefinitionsEncoding encoding = DefinitionsEncoding::Ansi;
    // What the whole-file reader parses: the bytes themselves (Ansi, and NotUtf16 and NotText, which the
    // scan reads as 8-bit text rather than find nothing), the ASCII text of a Utf16Ascii file, and
    // nothing for Utf16Wide.
    std::string text;
};

DefinitionsText DecodeDefinitionsFile(std::string_view bytes);

// True for the encodings the update program accepts.
inline bool DefinitionsEncodingAccepted(DefinitionsEncoding encoding) {
    return encoding == DefinitionsEncoding::Ansi || encoding == DefinitionsEncoding::Utf16Ascii;
}

} // namespace tollivar
