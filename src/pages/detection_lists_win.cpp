#include "pages/detection_lists_win.h"

#include <commctrl.h>

#include <set>

#include "pages/list_rows_win.h"
#include "pages/shield_page_win.h"
#include "win/module_win.h"

namespace tollivar {
namespace {

// The drive letter of the autorun root travels as the row's hidden number, with a bit for the row of
// a bait shortcut.
constexpr LPARAM kBaitShortcutBit = 0x100;

LPARAM RowDataFor(const std::string& autorunRoot, bool baitShortcut = false) {
    if (autorunRoot.size() == 3 && autorunRoot[1] == ':' && autorunRoot[2] == '\\')
        return static_cast<unsigned char>(autorunRoot[0]) | (baitShortcut ? kBaitShortcutBit : 0);
    return 0;
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

// A fresh small-image list for the Threat Shield rows; the one it replaces is destroyed.
HIMAGELIST RenewShieldImages(HWND shieldList) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    const auto old = reinterpret_cast<HIMAGELIST>(
        SendMessageA(shieldList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old && old != images) ImageList_Destroy(old);
    return images;
}

} // namespace

bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding) {
    if (!shieldList) return false;
    const std::array<ShieldRow, 2> rows = ShieldRowsFor(finding);
    // A drive is listed once, by its autorun file, whichever program that file names now.
    if (ListsInfector(shieldList, rows[0].infector)) return false;
    for (const ShieldRow& row : rows)
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status},
                         RowDataFor(row.autorunRoot));
    return true;
}

void ShowShieldFindings(const std::vector<AutorunFinding>& findings) {
    HWND shieldList = ShieldList();
    if (!shieldList) return;
    HIMAGELIST images = RenewShieldImages(shieldList);
    for (const AutorunFinding& finding : findings) {
        if (images) ImageList_AddIcon(images, Icons().threat);
        AddShieldDetection(shieldList, finding);
    }
}

namespace {

// Adds the rows of one finding whose Infectors are not in listed; listed grows with them.
int AddShortcutRows(HWND shieldList, const ShortcutFinding& finding, std::set<std::string>& listed) {
    const std::vector<ShieldRow> rows = ShortcutShieldRows(finding);
    if (listed.count(rows[0].infector)) return 0;
    int added = 0;
    for (const ShieldRow& row : rows) {
        // A payload that several shortcuts run is listed once.
        if (!listed.insert(row.infector).second) continue;
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status},
                         RowDataFor(row.autorunRoot, row.baitShortcut));
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

void ShowShortcutFindings(const std::vector<ShortcutFinding>& findings) {
    HWND shieldList = ShieldList();
    if (!shieldList || findings.empty()) return;
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(shieldList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    std::set<std::string> listed = ListedInfectors(shieldList);
    // Every row shows the first image: one icon is enough, however many shortcuts a pass finds.
    if (images && ImageList_GetImageCount(images) == 0) ImageList_AddIcon(images, Icons().threat);
    for (const ShortcutFinding& finding : findings) AddShortcutRows(shieldList, finding, listed);
}

void AddScanRow(HWND scanList, const ScanRow& row) {
    AppendCheckedRow(scanList, {row.infection, row.kind, row.identification},
                     RowDataFor(row.autorunRoot, row.baitShortcut));
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
        const LPARAM data = RowData(list, row);
        const LPARAM letter = data & 0xFF;
        if (letter > 0 && (data & kBaitShortcutBit) != 0) record.kind = RowKind::Shortcut;
        if (letter > 0) record.autorunRoot = std::string(1, static_cast<char>(letter)) + ":\\";
        records.push_back(std::move(record));
    }
    return records;
}

void ClearDetectionList(HWND list) {
    if (list) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

} // namespace tollivar
