// Healing the checked rows of the Threat Shield and Threat Scan lists.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "heal/heal_status_text.h"

namespace tollivar {

struct ThreatRemoval {
    bool destroyThreats = false;
    std::string quarantineFolder;          // ends in a backslash
    std::function<void()> countRemoval;    // once for every file really moved or deleted
    std::string installFolder;             // an autorun target inside it is never taken
};

// Heals every checked row of the list in row order, reading the row count once: a file path is
// removed (once, however many rows name it); with processRows a "[id] - name" row ends that process
// if it still is the listed one. The rows themselves stay. A row of a program that a drive's
// autorun.inf named is taken only when the program lies on that drive and outside the Windows folder
// and the install folder, under every name the platform knows it by; otherwise it stays and counts
// as not healed.
HealTally HealCheckedRows(HWND list, bool processRows, const ThreatRemoval& removal);

// Whether healing may take the program a drive's autorun.inf (at root, "E:\") names: it must lie on
// that drive and outside the Windows folder and the install folder, under every name the platform
// knows it by.
bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder);

// Heals the Threat Shield list, empties it and tells the result in its status line. An empty list
// is left alone, status line included.
void HealShieldList();

// Heals the Threat Scan list (files and processes), empties both detection lists and tells the
// result in the Threat Scan status line. An empty list is left alone.
void HealScanList();

} // namespace tollivar
