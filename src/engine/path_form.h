// How the platform reads a path before it opens it: which kind of path it is and its normalized form
// (the lexical rules of the full-path conversion; no file is consulted). Platform-free.
//
// Only a plain drive path ("E:\...") or an exact verbatim one ("\\?\E:\...") lies on a drive letter.
// Every other device or object form ("\\.\", "/\?\", "\??\", "\\?\UNC\", "\\?\Volume{...}",
// "\\?\GLOBALROOT\", a DOS device such as CON) is no drive path, whatever letters it holds.
#pragma once

#include <string>
#include <string_view>

namespace tollivar {

enum class PathForm {
    Drive,    // on a drive letter: "E:\..." or the verbatim "\\?\E:\..."
    Unc,      // "\\server\share\..."
    Device,   // any other device or object path
    Relative, // "x", "\x", "E:x": relative to a current folder that is not known here
};

struct NormalPath {
    PathForm form = PathForm::Relative;
    // Case kept. Drive: "E:\" or "E:\a\b" (a verbatim prefix dropped); Unc: "\\server\share\a";
    // Device: the device root ("\\.\" or "\\?\") and its normalized parts, or a verbatim or "\??\"
    // path as it stands; Relative: its normalized parts. No trailing separator except a drive root's.
    std::string text;
    bool verbatim = false;    // began with exactly "\\?\": taken as it stands, never normalized
    bool namesFolder = false; // a root, a trailing separator, or a last part of "." or ".." (or only dots
                              // and blanks): it cannot name a file
};

// "/" and "\" alike, except in a verbatim path. Runs of separators count as one; "." parts go; ".."
// removes the part before it but never the root ("E:\", "\\server\share", or the device prefix
// alone, so "/\?\E:\..\UNC\s\h\x" is "\\?\UNC\s\h\x"); trailing dots and blanks of every part go.
// A verbatim drive path counts as Drive only while it holds no "/" and no empty, "." or ".." part
// (the platform would take those literally, and what they open is not known here).
NormalPath NormalizePath(std::string_view path);

// The drive letter, upper-cased, of a Drive path; 0 for any other form.
char DriveLetterOf(const NormalPath& path);

} // namespace tollivar
