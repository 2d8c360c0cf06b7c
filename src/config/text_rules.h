// Small text rules shared by every subsystem. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

// Upper-cases ASCII letters; other bytes of the ANSI text stay as they are.
std::string ToUpperAscii(std::string_view text);

// Case-insensitive whole-string comparison: both sides upper-cased, then compared exactly.
bool EqualsUpper(std::string_view a, std::string_view b);

// Cuts a text to the 511 characters that list and status buffers hold.
std::string CutToBuffer(std::string_view text);

// The part of a path after its last backslash or slash (Windows takes both as separators); the whole
// path when it has neither.
std::string_view FileNameOfPath(std::string_view path);

} // namespace tollivar
