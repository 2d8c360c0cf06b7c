// Which script a script host (wscript.exe, cscript.exe, mshta.exe) was started to run, read from its
// command line. Platform-free.
//
// bin\unscript.bat ends the script hosts that run a script from a removable drive just before healing;
// it reads command lines in PowerShell with exactly these rules and these two patterns (the shipped-files
// test holds the two together). The script is the first word after the program that is not one of
// the host's own "//" switches, e.g. wscript.exe //B //E:vbscript "E:\x.vbs" or mshta "E:\x.hta"; a
// drive named anywhere else (an argument to a script on C:) says nothing about where the script is.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar {

// A word: quoted and unquoted parts up to a blank outside quotes; an unclosed quote runs to the end.
// The same in .NET and ECMAScript regular expressions (\x22 is the double quote, which the .bat
// cannot hold inside its quoted PowerShell command).
inline constexpr char kCommandWordPattern[] = R"((?:\x22[^\x22]*\x22?|[^\s\x22]+)+)";
// A verbatim or device prefix ("\\?\", "\\.\") taken off the script path before its drive is read.
inline constexpr char kDevicePrefixPattern[] = R"(^\\\\[?.]\\)";

// The words of a command line with their quotes removed. Blanks are space, tab, CR, LF, VT and FF.
std::vector<std::string> CommandLineWords(std::string_view commandLine);

// The script argument without a device prefix, or nothing when the command line names no script.
std::optional<std::string> ScriptArgument(std::string_view commandLine);

// True when the script argument lies on one of the drives, given as "E:" (any case): it starts with
// that letter and a colon ("E:\x.vbs", "e:/x.vbs", "E:x.vbs" relative to E:'s current folder).
bool RunsScriptFromDrive(std::string_view commandLine, const std::vector<std::string>& drives);

} // namespace tollivar
