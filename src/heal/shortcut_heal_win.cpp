#include "heal/shortcut_heal_win.h"

#include <windows.h>

#include "engine/shortcut_scan_win.h"
#include "heal/autorun_target_check_win.h"
#include "heal/quarantine_store_win.h"
#include "win/no_redirection_win.h"
#include "win/wide_text_win.h"

namespace tollivar {
namespace {

// The safety rule of autorun targets: only on the stick, never in the Windows or install folder,
// judged on where the file really is.
bool MayBeTaken(const std::string& path, const std::string& root, const std::string& installFolder) {
    return AutorunTargetMayBeTaken(path, root, installFolder);
}

FileHealOutcome RemoveFile(const std::string& path, const ThreatRemoval& removal) {
    return HealThreatFile(path, removal.destroyThreats, removal.quarantineFolder);
}

enum class Unhide { Done, NotNeeded, Failed };

// Clears hidden and system, keeping every other attribute; a missing item needs nothing.
Unhide UnhideItem(const std::string& path) {
    const NoFileRedirection realPaths;
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Unhide::NotNeeded;
    constexpr DWORD kHiding = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((attributes & kHiding) == 0) return Unhide::NotNeeded;
    DWORD kept = attributes & ~kHiding & ~FILE_ATTRIBUTE_DIRECTORY;
    if (kept == 0) kept = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesW(wide.c_str(), kept) ? Unhide::Done : Unhide::Failed;
}

} // namespace

ShortcutHeal HealBaitShortcut(const std::string& shortcutText, const std::string& root,
                              const ThreatRemoval& removal) {
    ShortcutHeal heal;
    const std::vector<ShortcutFinding> findings = BaitShortcutsNamed(shortcutText, root);
    if (findings.empty()) {
        // Gone is healed; still there but no longer bait is left alone.
        const bool present = !shortcutText.empty() && StickItemAttributes(shortcutText).has_value();
        heal.outcome = present ? FileHealOutcome::NotHealed : FileHealOutcome::AlreadyGone;
        return heal;
    }
    bool failed = false;
    for (const ShortcutFinding& finding : findings) {
        // Payloads first, the shortcut last: a repair stopped half way leaves the bait in place, so the
        // shortcut is found and can be healed again.
        std::vector<std::string> files = finding.verdict.payloads;
        files.push_back(finding.shortcut);
        for (const std::string& file : files) {
            if (failed || !MayBeTaken(file, finding.root, removal.installFolder)) {
                failed = true;
                break;
            }
            switch (RemoveFile(file, removal)) {
            case FileHealOutcome::Removed:
                ++heal.filesRemoved;
                heal.takenFiles.push_back(file);
                if (removal.countRemoval) removal.countRemoval();
                break;
            case FileHealOutcome::AlreadyGone:
                heal.takenFiles.push_back(file);
                break;
            case FileHealOutcome::NotHealed:
                failed = true;
                break;
            }
        }
        // The user's items come back only once the bait that would hide them again is gone.
        if (failed) continue;
        std::vector<std::string> items = finding.verdict.openedItems;
        if (!finding.verdict.mirroredOriginal.empty())
            items.insert(items.begin(), finding.verdict.mirroredOriginal);
        for (const std::string& item : items) {
            switch (UnhideItem(item)) {
            case Unhide::Done:
                ++heal.itemsUnhidden;
                break;
            case Unhide::NotNeeded:
                break;
            case Unhide::Failed:
                failed = true;
                break;
            }
        }
    }
    heal.outcome = failed ? FileHealOutcome::NotHealed : FileHealOutcome::Removed;
    return heal;
}

} // namespace tollivar
