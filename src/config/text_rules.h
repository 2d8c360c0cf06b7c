// Small text rules shared by every subsystem. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

// Upper-cases ASCII letters; every other byte (those of UTF-8 characters) stays as it is.
std::string ToUpperAscii(std::string_view text);

// Case-insensitive whole-string comparison: both sides upper-cased, then compared exactly.
bool EqualsUpper(std::string_view a, std::string_view b);

// The start of a UTF-8 text of at most maxBytes bytes, cut before a whole character: a cut that
// would fall inside a character's bytes leaves that character out.
std::string_view CutBeforeCharacter(std::string_view text, std::size_t maxBytes);

// Cuts a text to the 511 bytes that list and status buffers hold, never inside a character.
std::string CutToBuffer(std::string_view text);

// The part of a path after its last backslash or slash (Windows takes both as separators); the whole
// path when it has neither.
std::string_view FileNameOfPath(std::string_view path);

} // namespace tollivar
