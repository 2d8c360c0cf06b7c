// A detection row as healing sees it: plain values read out of a list, so that healing decides and
// acts without a window. Platform-free.
#pragma once

#include <string>
#include <vector>

namespace tollivar {

// Set by the detector that made the row, never guessed from its text.
// Shortcut: the row of a bait shortcut; healing re-judges it, takes it and its payloads, and gives
// back the user's items it hid.
enum class RowKind { File, Process, Shortcut };

struct HealRecord {
    std::string text;         // the path of a file row, "[id] - name" of a process row
    bool checked = false;
    RowKind kind = RowKind::File;
    // "E:\" when a drive's autorun.inf named this program, or the drive of a bait shortcut or its
    // payload; empty otherwise.
    std::string autorunRoot;
    std::string imagePath;    // a process row of an autorun target: the full path its image must have
    bool exactPlace = false;  // a fixed threat path: taken only where it is listed
    std::string threat = {};  // what the row says the file is: a scan row's Identification, a shield row's Status
};

// What healing did with one record.
enum class RowOutcome {
    Unchecked,    // left alone
    Healed,       // removed, ended, or already gone
    AlreadyTaken, // a file an earlier row of this heal removed
    NotHealed,    // still there, or not to be taken
    TooLarge,     // not taken into quarantine: larger than kLargestQuarantinedFile (counted not healed)
};

// Copying and hashing a file into quarantine runs on the UI thread: a larger file is not quarantined
// (it can still be destroyed), and the user is told. Threats that spread on sticks are small.
inline constexpr unsigned long long kLargestQuarantinedFile = 100ull * 1024 * 1024;

} // namespace tollivar
