#include "engine/definitions_encoding.h"

namespace tollivar {
namespace {

unsigned Byte(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

} // namespace

DefinitionsText DecodeDefinitionsFile(std::string_view bytes) {
    DefinitionsText out;
    const bool little = bytes.size() >= 2 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE;
    const bool big = bytes.size() >= 2 && Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF;
    if (!little && !big) {
        out.encoding = bytes.find('\0') == std::string_view::npos ? DefinitionsEncoding::Ansi
                                                                  : DefinitionsEncoding::NotText;
        out.text = std::string(bytes);
        return out;
    }

    const std::string_view units = bytes.substr(2);
    bool utf16 = units.size() % 2 == 0 && units.find('\0') != std::string_view::npos;
    bool ascii = true;
    std::string text;
    for (std::size_t i = 0; utf16 && i < units.size(); i += 2) {
        const unsigned unit =
            little ? Byte(units, i) | Byte(units, i + 1) << 8 : Byte(units, i) << 8 | Byte(units, i + 1);
        if (unit == 0) {
            utf16 = false;
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            // A high surrogate needs its low one next.
            const bool pair = i + 3 < units.size();
            const unsigned next = !pair    ? 0
                                  : little ? Byte(units, i + 2) | Byte(units, i + 3) << 8
                                           : Byte(units, i + 2) << 8 | Byte(units, i + 3);
            utf16 = next >= 0xDC00 && next <= 0xDFFF;
            ascii = false;
            i += 2;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            utf16 = false;
        } else if (unit > 0x7F) {
            ascii = false;
        } else {
            text += static_cast<char>(unit);
        }
    }
    if (!utf16) {
        out.encoding = DefinitionsEncoding::NotUtf16;
        out.text = std::string(bytes);
    } else if (!ascii) {
        out.encoding = DefinitionsEncoding::Utf16Wide;
    } else {
        out.encoding = DefinitionsEncoding::Utf16Ascii;
        out.text = std::move(text);
    }
    return out;
}

} // namespace tollivar
