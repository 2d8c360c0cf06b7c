// Healing the row of a bait shortcut: judged again on the stick as it is now, the shortcut and its
// payloads taken away, then the user's items it hid shown again.
#pragma once

#include <string>
#include <vector>

#include "heal/detection_heal_win.h"
#include "heal/quarantine_store_win.h"

namespace tollivar {

struct ShortcutHeal {
    FileHealOutcome outcome = FileHealOutcome::NotHealed;
    int filesRemoved = 0;                // the shortcut(s) and payloads moved or deleted
    int itemsUnhidden = 0;               // items whose hidden or system attribute was cleared
    std::vector<std::string> takenFiles; // as list texts (UTF-8), for rows of the same heal
};

// shortcutText is the row's path (UTF-8, as the list holds it), root the drive it was found on. The
// shortcut is read and judged again first: one that is no longer bait is left alone (not healed);
// one that is gone is healed already. Otherwise every payload, then the shortcut (only files on that
// stick, outside the Windows and install folders) are quarantined or deleted as removal says; a file
// that cannot be taken stops the repair there (the shortcut stays, to be healed again). Then hidden
// and system are cleared on the item it mirrors and on every item its command opens; nothing
// else is moved, renamed or deleted. Removed only when every step succeeded.
ShortcutHeal HealBaitShortcut(const std::string& shortcutText, const std::string& root,
                              const ThreatRemoval& removal);

} // namespace tollivar
