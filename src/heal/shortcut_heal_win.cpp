#include "heal/shortcut_heal_win.h"

#include <windows.h>

#include <atomic>

#include "engine/shortcut_scan_win.h"
#include "heal/autorun_target_check_win.h"
#include "heal/autorun_target_rule.h"
#include "heal/quarantine_names.h"
#include "win/no_redirection_win.h"

namespace tollivar {
namespace {

constexpr int kNameAttempts = 8;
std::atomic<std::uint32_t> g_sequence{0};

bool Lossless(const std::string& utf8) {
    return Utf8FromAnsi(AnsiText(utf8)) == utf8;
}

std::string WindowsFolderUtf8() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? Utf8FromWide(std::wstring(folder, n)) : std::string();
}

// The safety rule of autorun targets: only on the stick, never in the Windows or install folder. A
// name the ANSI functions can spell gets every check; one they cannot is judged on its lexical form.
bool MayBeTaken(const std::string& path, const std::string& root, const std::string& installFolder) {
    if (Lossless(path)) return AutorunTargetMayBeTaken(AnsiText(path), AnsiText(root), installFolder);
    const std::string windows = WindowsFolderUtf8();
    return !windows.empty() && PlaceOfAutorunTarget(path, root, windows, Utf8FromAnsi(installFolder)) ==
                                   AutorunTargetPlace::OnItsDrive;
}

// As HealThreatFile, through the wide functions for names outside the ANSI code page.
FileHealOutcome RemoveFile(const std::string& path, const ThreatRemoval& removal) {
    if (Lossless(path))
        return HealThreatFile(AnsiText(path), removal.destroyThreats, removal.quarantineFolder);
    const NoFileRedirection realPaths;
    const std::wstring wide = WideFromUtf8(path);
    if (!SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL))
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FileHealOutcome::AlreadyGone
                                                      : FileHealOutcome::NotHealed;
    if (removal.destroyThreats)
        return DeleteFileW(wide.c_str()) ? FileHealOutcome::Removed : FileHealOutcome::NotHealed;
    CreateDirectoryW(WideFromUtf8(Utf8FromAnsi(removal.quarantineFolder)).c_str(), nullptr);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const auto destination = QuarantineDestination(
            Utf8FromAnsi(removal.quarantineFolder), path,
            QuarantineSuffix(GetTickCount(), g_sequence.fetch_add(1), GetCurrentProcessId()));
        if (!destination) return FileHealOutcome::NotHealed;
        if (MoveFileExW(wide.c_str(), WideFromUtf8(*destination).c_str(), MOVEFILE_COPY_ALLOWED))
            return FileHealOutcome::Removed;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return FileHealOutcome::NotHealed;
    }
    return FileHealOutcome::NotHealed;
}

enum class Unhide { Done, NotNeeded, Failed };

// Clears hidden and system, keeping every other attribute; a missing item needs nothing.
Unhide UnhideItem(const std::string& path) {
    const NoFileRedirection realPaths;
    const std::wstring wide = WideFromUtf8(path);
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
        const bool present = !shortcutText.empty() && shortcutText.find('?') == std::string::npos &&
                             StickItemAttributes(Utf8FromAnsi(shortcutText)).has_value();
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
                heal.takenFiles.push_back(AnsiText(file));
                if (removal.countRemoval) removal.countRemoval();
                break;
            case FileHealOutcome::AlreadyGone:
                heal.takenFiles.push_back(AnsiText(file));
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
