// Healing the checked rows of the Threat Shield and Threat Scan lists, given as plain records.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "heal/heal_record.h"
#include "heal/heal_status_text.h"

namespace tollivar {

struct ThreatRemoval {
    bool destroyThreats = false;
    std::string quarantineFolder;          // ends in a backslash
    std::function<void()> countRemoval;    // once for every file really moved or deleted
    std::string installFolder;             // an autorun target inside it is never taken
};

// What healing did to one record's file, for the program's log.
struct RowRemoval {
    bool removedHere = false;    // this heal moved or deleted the file (not already gone)
    std::string quarantinedPath; // where it went when quarantined
};

struct HealResult {
    std::vector<RowOutcome> rows; // one per record, in record order
    std::vector<RowRemoval> removals; // one per record, in record order
    HealTally tally;
};

// Heals every checked record in order: a file row's path is removed (once, however many rows name
// it); a process row ends that process if it still is the listed one. A row of a program that a
// drive's autorun.inf named is taken only when the program may be taken from that drive (see
// AutorunTargetMayBeTaken); otherwise it stays and counts as not healed. A bait shortcut's row is
// healed as HealBaitShortcut says; the files it takes count as taken for the later rows.
HealResult HealRecords(const std::vector<HealRecord>& records, const ThreatRemoval& removal);

} // namespace tollivar
