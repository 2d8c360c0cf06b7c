#include "heal/heal_lists_win.h"

#include <commctrl.h>

#include <cctype>
#include <set>

#include "app/handles_win.h"
#include "config/install_paths_win.h"
#include "config/settings_win.h"
#include "config/text_rules.h"
#include "engine/detection_lists_win.h"
#include "engine/file_access_win.h"
#include "engine/process_text.h"
#include "heal/autorun_target_rule.h"
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

// The long form of an existing path; the path itself when it has none.
std::string LongFormOf(const std::string& path) {
    char longPath[MAX_PATH * 2] = {};
    const DWORD n = GetLongPathNameA(path.c_str(), longPath, sizeof longPath);
    return n > 0 && n < sizeof longPath ? std::string(longPath, n) : path;
}

// Where the file really is, links on the way resolved, as a drive path ("\\?\E:\..."); empty when it
// cannot be opened or the platform names it some other way (a volume or host path says nothing about
// drive letters and is not judged).
std::string FinalPathOf(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return {};
    char finalPath[MAX_PATH * 2] = {};
    const DWORD n = GetFinalPathNameByHandleA(file.get(), finalPath, sizeof finalPath, FILE_NAME_NORMALIZED);
    if (n == 0 || n >= sizeof finalPath) return {};
    const std::string found(finalPath, n);
    const std::size_t start = found.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
    const bool drivePath = found.size() >= start + 3 && std::isalpha(static_cast<unsigned char>(found[start])) &&
                           found[start + 1] == ':' && found[start + 2] == '\\';
    return drivePath ? found : std::string();
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    return n > 0 && n < sizeof folder ? std::string(folder, n) : std::string();
}

} // namespace

// Every name of the target (as listed, its long form, where a link leads) is judged against both
// forms of both folders.
bool AutorunTargetMayBeTaken(const std::string& target, const std::string& root, const std::string& installFolder) {
    const NoFileRedirection noRedirection;
    const std::string windows = WindowsFolder();
    // Without the Windows folder nothing can be ruled out: take nothing.
    if (windows.empty()) return false;
    const std::string folders[][2] = {{windows, installFolder},
                                      {LongFormOf(windows), installFolder.empty() ? "" : LongFormOf(installFolder)}};
    for (const std::string& name : {target, LongFormOf(target), FinalPathOf(target)}) {
        if (name.empty()) continue;
        for (const auto& pair : folders)
            if (PlaceOfAutorunTarget(name, root, pair[0], pair[1]) != AutorunTargetPlace::OnItsDrive) return false;
    }
    return true;
}

namespace {

ThreatRemoval InstallRemoval() {
    ThreatRemoval removal;
    removal.installFolder = Paths().installFolder;
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
        const std::string autorunRoot = AutorunRootOfRow(list, row);
        if (!autorunRoot.empty() && !AutorunTargetMayBeTaken(text, autorunRoot, removal.installFolder)) {
            ++tally.notHealed; // reported in the status line, left where it is
            continue;
        }
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
