// The update program's checks on a new def.uas: is it a definitions file the program can read, with a
// version, newer than the installed one. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "updater/definition_entry_rules.h"

namespace tollivar {

// A definitions version is one or more decimal numbers joined by dots ("2026.12.1"). Versions compare
// number by number from the left; a missing number counts as 0, so "2027.1" equals "2027.1.0".
using DefinitionsVersion = std::vector<std::uint32_t>;
std::optional<DefinitionsVersion> ParseDefinitionsVersion(std::string_view text);
int CompareDefinitionsVersions(const DefinitionsVersion& a, const DefinitionsVersion& b); // <0, 0, >0

// Larger files are refused: ten thousand threats take about a megabyte.
inline constexpr std::size_t kMaxDefinitionsFileSize = 16u * 1024u * 1024u;

enum class DefinitionsProblem {
    None,
    Empty,           // no bytes at all
    TooLarge,        // more than kMaxDefinitionsFileSize
    NotText,         // holds zero bytes: not a text file
    NoVersion,       // INFO/Version missing or empty
    BadVersion,      // INFO/Version is not a version of numbers and dots
    NoThreats,       // threat "1" has no name
    UnreachableThreat, // a numbered threat after a gap: the scan would never read it
    ProcessWithFolder, // a "P" entry holds a folder: process image names are bare file names
    ProtectedProcess,  // a "P" entry names a process Windows or Tollivar cannot do without
    NotUtf16,          // begins with a UTF-16 mark but is not UTF-16 text
    WideUtf16,         // UTF-16 with characters beyond ASCII, which the scan could read otherwise
    FileNotFullPath,   // an "F" entry is not a full path on a drive
    FileIsFolder,      // an "F" entry names a drive root or a folder
    FileOfTollivar,    // an "F" entry names the install folder, something in it, or the program's files
    FileOfUser,        // an "F" entry names one of the user's top folders or the user's documents
    FileOfWindows,     // an "F" entry names a file Windows ships and protects
};

struct DefinitionsCheck {
    DefinitionsProblem problem = DefinitionsProblem::None;
    std::string version;      // INFO/Version as the program shows it
    std::size_t threats = 0;  // threats the scan reads: "1", "2", ... up to the first without a name
    std::string detail;       // the section or entry that shows the problem, when there is one
};

// Reads the whole file the way the scan reads def.uas (DecodeDefinitionsFile, then the whole-file
// profile reader) and reports the first problem found. Only 8-bit files and UTF-16 files of ASCII
// characters are accepted. Every "P" entry the scan reads must be a bare image name that is not a
// never-ended process, and every "F" entry it reads must pass JudgeFileEntry under safety.
DefinitionsCheck CheckDefinitionsText(std::string_view fileBytes, const DefinitionsSafety& safety);

enum class UpdateVerdict {
    Replace,     // the new file is readable and newer (or the installed one has no readable version)
    SameVersion, // refused: the installed file already has this version
    Older,       // refused: the installed file is newer
    Unreadable,  // refused: the new file is not a definitions file the program can read
};

struct UpdateDecision {
    UpdateVerdict verdict = UpdateVerdict::Unreadable;
    DefinitionsCheck candidate;
    std::string installedVersion; // empty when there is no installed file or it has no version
};

// installedText is empty when no def.uas is installed. An installed file without a readable version
// is replaced by any readable new file: that is how a damaged installation is repaired.
UpdateDecision DecideUpdate(std::string_view installedText, std::string_view candidateText,
                            const DefinitionsSafety& safety);

// What the user is told about a refused or accepted file, lines separated by "\r\n".
std::string DescribeProblem(const DefinitionsCheck& check);
std::string DescribeDecision(const UpdateDecision& decision);

} // namespace tollivar
