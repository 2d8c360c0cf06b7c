// Resolving the "open" entry of a drive's autorun.inf to the program it starts. Platform-free: the
// caller reads the entry (section "autorun", key "open") with the profile reader and hands the value in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/environment_reference.h"

namespace tollivar {

// All three fields are empty when there is no finding.
struct AutorunFinding {
    std::string infPath;    // drive root + "autorun.inf"
    std::string targetPath; // the resolved path of the program
    std::string targetName; // targetPath after its last backslash (all of it without one)
    bool Found() const { return !infPath.empty(); }
};

// The autorun file of a drive root such as "E:\".
std::string AutorunInfPath(std::string_view root);

// The program part of an "open" value: ends just before the first "/" that has a character before it
// (the switch and everything after it go), then trailing blanks are dropped, then a leading quoted
// program keeps only what stands between its quotes ("\"my prog.exe\" /s" gives "my prog.exe").
std::string CutOpenArguments(std::string_view value);

// Resolves an "open" value as the profile reader returned it (blanks and a surrounding pair of quotes
// already removed, at most 511 characters). A value without a colon has its first environment
// reference expanded; an undefined variable or an unclosed "%" leaves it unexpanded. A value that
// still has no colon is relative to the drive root. A value that ends up empty gives no finding.
AutorunFinding ResolveAutorunOpen(std::string_view root, std::string_view openValue,
                                  const EnvironmentLookup& environment);

// Upper-cased normalized form of a path (see NormalizePath) without a trailing separator, so that two
// names of one file compare equal. Only an exact verbatim prefix "\\?\" before a drive path is
// dropped; every other device form keeps its prefix and so never equals a drive path.
std::string ComparablePath(std::string_view path);

// A volume's device name as the platform lists it ("\Device\HarddiskVolume3") and the drive letter
// it is mounted on ("E:").
struct VolumeDrive {
    std::string device;
    std::string drive;
};

// True when a running process's full image path (as the platform reports it: a drive path, possibly
// with a verbatim prefix, or a "\Device\HarddiskVolumeN\" path, which counts only when volumes maps
// that device to a letter) is the autorun target itself, so that a program of the same name elsewhere
// (the system's own svchost.exe) is never taken for it. Compared without regard to case on both
// paths' normalized forms; only drive paths and shares match, never a relative or device form.
bool ProcessImageIsTarget(std::string_view imagePath, std::string_view targetPath,
                          const std::vector<VolumeDrive>& volumes = {});

} // namespace tollivar
