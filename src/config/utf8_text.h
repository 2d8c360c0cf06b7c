// UTF-8 checks for texts that leave the program (quarantine records, event log texts). Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tollivar {

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The longest start of a valid UTF-8 text that has at most maxBytes bytes and ends on a whole character.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

// Appends one code point as UTF-8 (no check: the caller passes a scalar value).
void AppendUtf8(std::string& out, std::uint32_t codePoint);

} // namespace tollivar
