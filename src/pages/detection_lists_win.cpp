#include "pages/detection_lists_win.h"

#include <commctrl.h>

#include <set>
#include <unordered_map>

#include "pages/list_rows_win.h"
#include "pages/shield_page_win.h"
#include "win/module_win.h"

namespace tollivar {
namespace {

// What the detector said of a row beyond its texts, kept by the row's hidden number (UI thread only).
// Entries of rows since removed are few and small; they stay until the list is cleared or the program ends.
struct RowFacts {
    std::string autorunRoot;
    std::string imagePath;
    bool exactPlace = false;
    bool baitShortcut = false;
};
std::unordered_map<LPARAM, RowFacts> g_rowFacts;
LPARAM g_nextRowId = 1;

LPARAM RowDataFor(const std::string& autorunRoot, const std::string& imagePath = {}, bool exactPlace = false,
                  bool baitShortcut = false) {
    if (autorunRoot.empty() && imagePath.empty() && !exactPlace && !baitShortcut) return 0;
    const LPARAM id = g_nextRowId++;
    g_rowFacts[id] = RowFacts{autorunRoot, imagePath, exactPlace, baitShortcut};
    return id;
}

bool ListsInfector(HWND list, const std::string& infector) {
    const int count = ListRowCount(list);
    for (int i = 0; i < count; ++i)
        if (ListRowText(list, i, 0) == infector) return true;
    return false;
}

void AppendCheckedRow(HWND list, std::initializer_list<std::string_view> columns, LPARAM data) {
    const int row = AppendListRow(list, columns);
    if (row < 0) return;
    if (data != 0) SetRowData(list, row, data);
    SetRowCheckAndSelection(list, row, kRowChecked);
}

// The Threat Shield's rows all show its one threat icon.
void ShowThreatIcon(HWND shieldList, int row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = 0;
    SendMessageA(shieldList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

} // namespace

bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding) {
    return AddShieldDriveDetection(shieldList, {finding});
}

bool AddShieldDriveDetection(HWND shieldList, const std::vector<AutorunFinding>& findings) {
    if (!shieldList || findings.empty()) return false;
    const std::vector<ShieldRow> rows = ShieldRowsForDrive(findings);
    // A drive is listed once, by its autorun file, whichever programs that file names now.
    if (ListsInfector(shieldList, rows.front().infector)) return false;
    for (const ShieldRow& row : rows) {
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status}, RowDataFor(row.autorunRoot));
        ShowThreatIcon(shieldList, ListRowCount(shieldList) - 1);
    }
    return true;
}

std::vector<AutorunFinding> ShowShieldFindings(const std::vector<AutorunFinding>& findings) {
    std::vector<AutorunFinding> added;
    HWND shieldList = ShieldList();
    if (!shieldList) return added;
    for (const std::vector<AutorunFinding>& drive : FindingsByDrive(findings))
        if (AddShieldDriveDetection(shieldList, drive)) added.insert(added.end(), drive.begin(), drive.end());
    return added;
}

namespace {

// Adds the rows of one finding whose Infectors are not in listed; listed grows with them.
int AddShortcutRows(HWND shieldList, const ShortcutFinding& finding, std::set<std::string>& listed,
                    std::vector<ShieldRow>* addedRows = nullptr) {
    const std::vector<ShieldRow> rows = ShortcutShieldRows(finding);
    if (listed.count(rows[0].infector)) return 0;
    int added = 0;
    for (const ShieldRow& row : rows) {
        // A payload that several shortcuts run is listed once.
        if (!listed.insert(row.infector).second) continue;
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status},
                         RowDataFor(row.autorunRoot, {}, false, row.baitShortcut));
        if (addedRows) addedRows->push_back(row);
        ++added;
    }
    return added;
}

// The Infector of every row, read once per pass: a pass over many shortcuts asks the list nothing more.
std::set<std::string> ListedInfectors(HWND list) {
    std::set<std::string> infectors;
    const int count = ListRowCount(list);
    for (int i = 0; i < count; ++i) infectors.insert(ListRowText(list, i, 0));
    return infectors;
}

} // namespace

int AddShortcutDetection(HWND shieldList, const ShortcutFinding& finding) {
    if (!shieldList) return 0;
    std::set<std::string> listed = ListedInfectors(shieldList);
    return AddShortcutRows(shieldList, finding, listed);
}

std::vector<ShieldRow> ShowShortcutFindings(const std::vector<ShortcutFinding>& findings) {
    std::vector<ShieldRow> added;
    HWND shieldList = ShieldList();
    if (!shieldList || findings.empty()) return added;
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(shieldList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    std::set<std::string> listed = ListedInfectors(shieldList);
    // Every row shows the first image: one icon is enough, however many shortcuts a pass finds.
    if (images && ImageList_GetImageCount(images) == 0) ImageList_AddIcon(images, Icons().threat);
    for (const ShortcutFinding& finding : findings) AddShortcutRows(shieldList, finding, listed, &added);
    return added;
}

void AddScanRow(HWND scanList, const ScanRow& row) {
    AppendCheckedRow(scanList, {row.infection, row.kind, row.identification},
                     RowDataFor(row.autorunRoot, row.imagePath, row.exactPlace, row.baitShortcut));
}

std::vector<HealRecord> ReadHealRecords(HWND list, DetectionList which) {
    std::vector<HealRecord> records;
    const int count = ListRowCount(list);
    for (int row = 0; row < count; ++row) {
        HealRecord record;
        record.text = ListRowText(list, row, 0);
        record.checked = RowIsChecked(list, row);
        // The scan's "#" column holds the kind its detector gave; every shield row is a file.
        if (which == DetectionList::Scan && ListRowText(list, row, 1) == kKindProcess) record.kind = RowKind::Process;
        // Both lists say in their third column what the row was taken for.
        record.threat = ListRowText(list, row, 2);
        const auto facts = g_rowFacts.find(RowData(list, row));
        if (facts != g_rowFacts.end()) {
            record.autorunRoot = facts->second.autorunRoot;
            record.imagePath = facts->second.imagePath;
            record.exactPlace = facts->second.exactPlace;
            if (facts->second.baitShortcut && !record.autorunRoot.empty()) record.kind = RowKind::Shortcut;
        }
        records.push_back(std::move(record));
    }
    return records;
}

void RemoveFirstRows(HWND list, int count) {
    if (!list) return;
    const int listed = ListRowCount(list);
    for (int i = 0; i < count && i < listed; ++i) {
        g_rowFacts.erase(RowData(list, 0));
        SendMessageA(list, LVM_DELETEITEM, 0, 0);
    }
}

void ClearDetectionList(HWND list) {
    if (!list) return;
    const int count = ListRowCount(list);
    for (int row = 0; row < count; ++row) g_rowFacts.erase(RowData(list, row));
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

} // namespace tollivar
