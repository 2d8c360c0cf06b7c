// The bait-shortcut rule: whether a shortcut on a removable drive is one a shortcut worm left in place
// of the user's item, what it runs, and which hidden items of the user's it stands for. Conservative:
// ordinary shortcuts (to documents, folders, programs on the computer, a visible portable program on
// the stick) are never bait. Platform-free: the stick is asked about through an injected query.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/shell_link.h"

namespace tollivar {

inline constexpr std::string_view kShortcutWorm = "shortcut worm.";

// The attributes (the platform's values) of the item at a path on the stick, or nothing when no item
// is there. Only the hidden and directory bits are used.
using StickAttributes = std::function<std::optional<std::uint32_t>(const std::string& path)>;

struct BaitVerdict {
    bool bait = false;
    // What the user sees beside kShortcutWorm: what it runs and what it hides, e.g.
    // "cmd runs E:\x.vbs; hides E:\Photos". Empty when not bait.
    std::string reason;
    // Files on the stick the shortcut runs (never the shortcut itself nor the item it mirrors).
    std::vector<std::string> payloads;
    // Web addresses its command reaches, as written once carets and quotes are taken out.
    std::vector<std::string> webAddresses;
    // Other items on the stick its command names and opens (the folder in "start explorer <folder>",
    // a document it starts after the payload): the user's, given back when healed. Names are kept
    // byte for byte, blank-looking ones (U+00A0, spaces) included.
    std::vector<std::string> openedItems;
    // The hidden item beside the shortcut with the shortcut's name without ".lnk" ("E:\Photos.lnk"
    // mirrors "E:\Photos", folder or file); empty when there is none or it is not hidden.
    std::string mirroredOriginal;
    // All of the above are empty unless bait is true.
};

// Whether a shortcut at shortcutPath on the drive whose root is root ("E:\") is bait.
// (a) A target (any of the link's recorded targets) is a command interpreter, script host or loader
//     (cmd, wscript, cscript, rundll32, regsvr32, mshta, powershell, pwsh, msiexec; any folder, any
//     case, with or without ".exe") and its arguments name a file on the stick or a web address.
//     Relative names resolve against the working directory when it is on the stick (or given as
//     "%~dp0"/"%cd%"), else against the shortcut's folder; carets are taken out as cmd does.
//     A payload is the script, library or page the host is given first (wscript, cscript, rundll32,
//     regsvr32, mshta) and every named file with a program or script extension; other named files
//     and folders are opened items.
// (b) A target is a program or script (by extension) on the stick that is hidden.
// Every payload and opened item is a path on root; paths that leave the drive, devices, UNC paths,
// streams and wildcards are never taken for items on the stick.
BaitVerdict JudgeShortcut(const ShellLink& link, std::string_view shortcutPath, std::string_view root,
                          const StickAttributes& stick);

// The name of the interpreter, host or loader a target path starts, lower-case without ".exe"
// ("cmd", "wscript", ...), or empty for any other program.
std::string LauncherName(std::string_view target);

// A name from a shortcut resolved to a path on the drive root ("E:\"): absolute on that drive,
// root-relative ("\x") or relative to base (a folder on the drive, or empty when relative names
// cannot be resolved). "." and ".." are applied lexically and never rise above the root. Nothing for
// names on other drives, UNC and device paths, web addresses, names with a stream, a wildcard or a
// character no file name holds, and for a root that is not "X:\" or "X:".
std::optional<std::string> StickPath(std::string_view root, std::string_view base, std::string_view name);

} // namespace tollivar
