// The files a drive's autorun.inf would start: each launch entry resolved on the drive, and a host
// program (rundll32, wscript, cmd /c, powershell -file, ...) seen through to the file it is handed.
// Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/autorun_inf.h"
#include "engine/autorun_rules.h"
#include "engine/environment_reference.h"

namespace tollivar {

enum class AutorunTargetKind {
    Program,      // the program of a plain value, by the "open" rule
    HostArgument, // the file a host program is handed (the payload)
    HostProgram,  // a host handed no file: the host itself, reported but never on the stick
};

// A host program is the system's own (the user's cmd.exe is no worm): no running process is listed,
// or terminated, for it.
inline bool MatchesProcesses(AutorunTargetKind kind) {
    return kind != AutorunTargetKind::HostProgram;
}

struct AutorunTarget {
    std::string path;
    std::string key; // the entry it came from, as written
    AutorunTargetKind kind = AutorunTargetKind::Program;
    bool operator==(const AutorunTarget& o) const { return path == o.path && key == o.key && kind == o.kind; }
};

struct AutorunTargets {
    std::string infPath;                // drive root + "autorun.inf"; empty without a target
    std::vector<AutorunTarget> targets; // distinct by ComparablePath, first spelling first
    // The file was UTF-16 or UTF-8: the paths are UTF-8 (root and environment values as given);
    // otherwise they are the file's ANSI bytes.
    bool pathsAreUtf8 = false;
    bool Found() const { return !targets.empty(); }
};

// The one target of a launch value as the profile reader would hand it over (one surrounding pair of
// quotes removed, at most 511 characters). The first word (or quoted text) names the program. When it
// is a host, written bare or with a path off the drive (also through a variable, "%ComSpec%"), in any
// case, with ".exe" or without, the target is the first argument that names a file:
//   rundll32            its first argument without the ",entry"
//   regsvr32, mshta     the first argument after the switches
//   wscript, cscript    the first argument after the "//" switches
//   cmd                 only with "/c" or "/k": the command after it (past "start", its switches, its
//                       "/d folder" and a quoted title) is resolved again, itself perhaps a host
//   powershell, pwsh    the script of "-file", or a ".ps1" path given bare or after "-command";
//                       switches that take a value skip it
// A quoted argument keeps what stands between its quotes; ".\x", "\x" and "x" lie on the drive; an
// argument without a colon has its first environment reference expanded, as for "open". A host
// handed no file (switches only, inline script, a web address) gives the host program itself: its
// written path, or for a bare name the system folder (SystemRoot, else windir, else C:\Windows).
// Any other value follows ResolveAutorunOpen. Empty path: no target.
AutorunTarget ResolveLaunchValue(std::string_view root, std::string_view profileValue,
                                 const EnvironmentLookup& environment);

// Every distinct target of the launch entries of a drive's autorun.inf, in file order.
AutorunTargets ResolveAutorunTargets(std::string_view root, const AutorunInf& inf,
                                     const EnvironmentLookup& environment);

// Reads an autorun.inf's bytes (the caller reads at most kAutorunReadLimit of them) and resolves its
// targets on the drive root ("E:\").
AutorunTargets AnalyzeAutorunText(std::string_view root, std::string_view bytes,
                                  const EnvironmentLookup& environment);

// One finding per target, in the targets' order, for the rows and healing that take an AutorunFinding.
std::vector<AutorunFinding> FindingsOf(const AutorunTargets& targets);

} // namespace tollivar
