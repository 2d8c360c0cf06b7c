// The program's text is UTF-8, paths found on disks included; the platform's wide functions take
// UTF-16. These convert at the boundary, so no name outside the ANSI code page turns into "?" or
// into the best-fit spelling of another file's name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tollivar {

// UTF-8 <-> UTF-16. An invalid UTF-8 sequence becomes U+FFFD (which no file name on a stick can
// hold); a lone surrogate of a wide name becomes U+FFFD too.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// Text of a code page (CP_ACP for ANSI files, values and the platform's A answers) as UTF-8.
std::string Utf8FromCodePage(UINT codePage, std::string_view text);
std::string Utf8FromAnsi(std::string_view ansi);

// A UTF-8 path for the wide file functions: paths longer than MAX_PATH - 1 get the "\\?\" prefix
// ("\\?\UNC\" for a share) so that the platform takes them whole; a path already in a device form
// is kept as it stands.
std::wstring WidePath(std::string_view utf8Path);

} // namespace tollivar
