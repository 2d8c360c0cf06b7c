#include "heal/heal_lists_win.h"

#include <commctrl.h>

#include <set>

#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "config/text_rules.h"
#include "engine/process_text.h"
#include "heal/process_terminate_win.h"
#include "heal/quarantine_store_win.h"
#include "heal/removed_count_win.h"
#include "pages/list_rows_win.h"
#include "pages/scan_page_win.h"
#include "pages/shield_page_win.h"

namespace tollivar {
namespace {

bool HealProcessRow(const std::string& text) {
    const auto parts = ParseProcessText(text);
    if (!parts) return false; // no id that a scan could have written: nothing can be ended safely
    return TerminateListedProcess(parts->processId, parts->imageName) != TerminateOutcome::Failed;
}

ThreatRemoval InstallRemoval() {
    ThreatRemoval removal;
    removal.destroyThreats = Settings().destroyThreats == 1;
    removal.quarantineFolder = Paths().quarantineFolder;
    removal.countRemoval = [] { UpdateRemovedCount(nullptr, 1); };
    return removal;
}

} // namespace

HealTally HealCheckedRows(HWND list, bool processRows, const ThreatRemoval& removal) {
    HealTally tally;
    std::set<std::string> removedPaths; // upper-cased: a second row for a removed file is healed already
    const int rows = ListRowCount(list);
    for (int row = 0; row < rows; ++row) {
        const std::string text = ListRowText(list, row, 0);
        if (!RowIsChecked(list, row)) continue;
        ++tally.checkedRows;

        if (processRows && !text.empty() && text.front() == '[') {
            if (!HealProcessRow(text)) ++tally.notHealed;
            continue;
        }
        const std::string key = ToUpperAscii(text);
        if (removedPaths.count(key)) continue;
        switch (HealThreatFile(text, removal.destroyThreats, removal.quarantineFolder)) {
        case FileHealOutcome::Removed:
            removedPaths.insert(key);
            ++tally.filesRemoved;
            if (removal.countRemoval) removal.countRemoval();
            break;
        case FileHealOutcome::AlreadyGone:
            break;
        case FileHealOutcome::NotHealed:
            ++tally.notHealed;
            break;
        }
    }
    return tally;
}

void HealShieldList() {
    HWND shieldList = ShieldList();
    if (ListRowCount(shieldList) == 0) return;
    const HealTally tally = HealCheckedRows(shieldList, false, InstallRemoval());
    SendMessageA(shieldList, LVM_DELETEALLITEMS, 0, 0);
    SetShieldStatusText(HealStatusText(HealedList::Shield, tally));
}

void HealScanList() {
    HWND scanList = ScanList();
    if (ListRowCount(scanList) == 0) return;
    const HealTally tally = HealCheckedRows(scanList, true, InstallRemoval());
    SendMessageA(scanList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(ShieldList(), LVM_DELETEALLITEMS, 0, 0);
    SetScanStatusText(HealStatusText(HealedList::Scan, tally));
}

} // namespace tollivar
