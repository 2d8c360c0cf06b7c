// What a detection looks like as a row of the Threat Scan and Threat Shield lists. Platform-free.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tollivar {

struct AutorunFinding;

// Kind codes of the Threat Scan list's "#" column.
inline constexpr std::string_view kKindProcess = "P";
inline constexpr std::string_view kKindFile = "F";

// Built-in identifications and the Threat Shield's texts.
inline constexpr std::string_view kSuspicious = "suspicious.";
inline constexpr std::string_view kPossibleMalware = "possible malware.";
inline constexpr std::string_view kAutoitCC = "Win32.Autoit.CC";
inline constexpr std::string_view kAutorunTZ = "Win32.Autorun.TZ";

// One Threat Scan row: Infection, "#" kind code, Identification; each text holds at most 511 characters.
// autorunRoot is set only on the row of a program that a drive's autorun.inf names, or of a bait
// shortcut or its payload: the root of that drive ("E:\"). Healing takes such a file only from that drive.
// imagePath is set on the row of a running process that an autorun.inf names: the full path its image
// must have, so that healing ends that very program and no other of the same name. exactPlace is set
// on a row of a fixed threat path: healing takes it only where it is listed, no link leading elsewhere.
struct ScanRow {
    std::string infection;
    std::string kind;
    std::string identification;
    std::string autorunRoot = {};
    std::string imagePath = {};
    bool exactPlace = false;
    bool baitShortcut = false; // the row of a bait shortcut itself (healing gives the user's items back)
    bool operator==(const ScanRow& o) const {
        return infection == o.infection && kind == o.kind && identification == o.identification &&
               autorunRoot == o.autorunRoot && imagePath == o.imagePath && exactPlace == o.exactPlace &&
               baitShortcut == o.baitShortcut;
    }
};

// One Threat Shield row: Infector, Infection, Status.
struct ShieldRow {
    std::string infector;
    std::string infection;
    std::string status;
    std::string autorunRoot = {}; // as for ScanRow: set on the program's row
    bool baitShortcut = false;    // as for ScanRow
    bool operator==(const ShieldRow& o) const {
        return infector == o.infector && infection == o.infection && status == o.status &&
               autorunRoot == o.autorunRoot && baitShortcut == o.baitShortcut;
    }
};

// Every detector hands its rows to a sink; the caller decides which list (or test) receives them.
using ScanRowSink = std::function<void(const ScanRow&)>;

// The platform's existence test: true when a file exists at the path and can be opened for reading
// (a folder never counts).
using FileExistsTest = std::function<bool(const std::string& path)>;

// Builds a row with every text cut to what a list text holds.
ScanRow MakeScanRow(std::string_view infection, std::string_view kind, std::string_view identification);

// The root of the drive whose autorun.inf gave the finding ("E:\"); empty without a finding.
std::string AutorunRootOf(const AutorunFinding& finding);

// The pair of Threat Shield rows for one drive: the autorun file, then the program it opens.
std::array<ShieldRow, 2> ShieldRowsFor(const AutorunFinding& finding);

// The Threat Shield rows for one drive whose autorun.inf names several programs (its findings, all of
// one autorun file): the autorun file once, then each program.
std::vector<ShieldRow> ShieldRowsForDrive(const std::vector<AutorunFinding>& findings);

// The findings of a pass or a scan split by drive: consecutive findings of one autorun file together.
std::vector<std::vector<AutorunFinding>> FindingsByDrive(const std::vector<AutorunFinding>& findings);

// The drive checks' rows for an autorun finding, in list order: the running process (when processText
// is not empty), the autorun file, the program. No finding gives no rows.
std::vector<ScanRow> AutorunScanRows(const AutorunFinding& finding, std::string_view processText);

// The same for a drive whose autorun.inf names several programs: each program's running process
// (processTexts[i], empty for none), the autorun file once, then the programs.
std::vector<ScanRow> AutorunScanRowsForDrive(const std::vector<AutorunFinding>& findings,
                                             const std::vector<std::string>& processTexts);

// A file whose mere presence on a removable drive is a known threat.
struct FixedThreatPath {
    std::string path;
    std::string_view identification;
};

// The fixed malware paths of a removable drive, in the order they are tested.
std::array<FixedThreatPath, 3> FixedThreatPaths(std::string_view root);

} // namespace tollivar
