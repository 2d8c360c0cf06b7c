#include "engine/drive_scan_win.h"

#include "engine/drive_walk.h"
#include "engine/file_access_win.h"
#include "engine/shortcut_scan_win.h"

namespace tollivar {

void WalkRemovableDrive(const std::string& root, const StatusSink& showStatus, const ScanRowSink& addRow) {
    DriveWalkHooks hooks;
    hooks.list = ListFolder;
    hooks.fileExists = FileExists;
    hooks.showStatus = showStatus;
    hooks.addRow = addRow;
    hooks.examineShortcut = [&](const std::string& path) {
        for (const ShortcutFinding& finding : BaitShortcutsNamed(path, root))
            for (const ScanRow& row : ShortcutScanRows(finding))
                if (addRow) addRow(row);
    };
    WalkRemovableDrive(root, hooks);
}

} // namespace tollivar
