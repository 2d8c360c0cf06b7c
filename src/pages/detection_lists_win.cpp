#include "pages/detection_lists_win.h"

#include <commctrl.h>

#include "pages/list_rows_win.h"
#include "pages/shield_page_win.h"

namespace tollivar {
namespace {

// The drive letter of the autorun root travels as the row's hidden number.
LPARAM RowDataFor(const std::string& autorunRoot) {
    if (autorunRoot.size() == 3 && autorunRoot[1] == ':' && autorunRoot[2] == '\\')
        return static_cast<unsigned char>(autorunRoot[0]);
    return 0;
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
    if (!shieldList) return false;
    const std::array<ShieldRow, 2> rows = ShieldRowsFor(finding);
    // A drive is listed once, by its autorun file, whichever program that file names now.
    const int count = ListRowCount(shieldList);
    for (int i = 0; i < count; ++i)
        if (ListRowText(shieldList, i, 0) == rows[0].infector) return false;
    for (const ShieldRow& row : rows) {
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status}, RowDataFor(row.autorunRoot));
        ShowThreatIcon(shieldList, ListRowCount(shieldList) - 1);
    }
    return true;
}

void ShowShieldFindings(const std::vector<AutorunFinding>& findings) {
    HWND shieldList = ShieldList();
    if (!shieldList) return;
    for (const AutorunFinding& finding : findings) AddShieldDetection(shieldList, finding);
}

void AddScanRow(HWND scanList, const ScanRow& row) {
    AppendCheckedRow(scanList, {row.infection, row.kind, row.identification}, RowDataFor(row.autorunRoot));
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
        const LPARAM letter = RowData(list, row);
        if (letter > 0 && letter <= 255) record.autorunRoot = std::string(1, static_cast<char>(letter)) + ":\\";
        records.push_back(std::move(record));
    }
    return records;
}

void ClearDetectionList(HWND list) {
    if (list) SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

} // namespace tollivar
