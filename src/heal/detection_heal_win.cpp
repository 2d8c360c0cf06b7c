#include "heal/detection_heal_win.h"

#include <windows.h>

#include <set>

#include "config/text_rules.h"
#include "engine/process_text.h"
#include "heal/autorun_target_check_win.h"
#include "heal/process_terminate_win.h"
#include "heal/quarantine_store_win.h"
#include "heal/shortcut_heal_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

bool HealProcessRow(const HealRecord& record) {
    const auto parts = ParseProcessText(record.text);
    if (!parts) return false; // no id that a scan could have written: nothing can be ended safely
    return TerminateListedProcess(parts->processId, parts->imageName, record.imagePath) != TerminateOutcome::Failed;
}

// The size of an existing file; 0 when it cannot be asked (the heal then says what it finds).
unsigned long long FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

HealResult HealRecords(const std::vector<HealRecord>& records, const ThreatRemoval& removal) {
    HealResult result;
    HealTally& tally = result.tally;
    std::set<std::string> removedPaths; // upper-cased: a second row for a removed file is healed already
    for (const HealRecord& record : records) {
        RowOutcome& outcome = result.rows.emplace_back(RowOutcome::Unchecked);
        RowRemoval& removed = result.removals.emplace_back();
        if (!record.checked) continue;
        ++tally.checkedRows;

        if (record.kind == RowKind::Process) {
            outcome = HealProcessRow(record) ? RowOutcome::Healed : RowOutcome::NotHealed;
            if (outcome == RowOutcome::NotHealed) ++tally.notHealed;
            continue;
        }
        const std::string key = ToUpperAscii(record.text);
        if (removedPaths.count(key)) {
            outcome = RowOutcome::AlreadyTaken;
            continue;
        }
        if (record.kind == RowKind::Shortcut) {
            const ShortcutHeal heal = HealBaitShortcut(record.text, record.autorunRoot, removal);
            for (const std::string& taken : heal.takenFiles)
                removedPaths.insert(ToUpperAscii(taken));
            tally.filesRemoved += heal.filesRemoved;
            tally.itemsUnhidden += heal.itemsUnhidden;
            outcome = heal.outcome == FileHealOutcome::NotHealed ? RowOutcome::NotHealed : RowOutcome::Healed;
            if (outcome == RowOutcome::NotHealed) ++tally.notHealed;
            continue;
        }
        // A program a drive named, or a fixed threat path, is judged on where the file really is.
        const TargetCheck check = !record.autorunRoot.empty()
                                      ? CheckAutorunTarget(record.text, record.autorunRoot, removal.installFolder)
                                  : record.exactPlace ? CheckListedPlace(record.text)
                                                      : TargetCheck::MayBeTaken;
        if (check == TargetCheck::Gone) {
            outcome = RowOutcome::Healed;
            continue;
        }
        if (check == TargetCheck::Refused) {
            outcome = RowOutcome::NotHealed; // reported in the status line, left where it is
            ++tally.notHealed;
            continue;
        }
        if (!removal.destroyThreats && FileSizeOf(record.text) > kLargestQuarantinedFile) {
            outcome = RowOutcome::TooLarge;
            ++tally.notHealed;
            continue;
        }
        switch (HealThreatFile(record.text, removal.destroyThreats, removal.quarantineFolder, record.threat,
                               &removed.quarantinedPath)) {
        case FileHealOutcome::Removed:
            removed.removedHere = true;
            removedPaths.insert(key);
            ++tally.filesRemoved;
            outcome = RowOutcome::Healed;
            if (removal.countRemoval) removal.countRemoval();
            break;
        case FileHealOutcome::AlreadyGone:
            outcome = RowOutcome::Healed;
            break;
        case FileHealOutcome::NotHealed:
            outcome = RowOutcome::NotHealed;
            ++tally.notHealed;
            break;
        }
    }
    return result;
}

} // namespace tollivar
