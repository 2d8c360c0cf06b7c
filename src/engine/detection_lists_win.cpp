#include "engine/detection_lists_win.h"

#include "engine/autorun_rules.h"
#include "pages/list_rows_win.h"

namespace tollivar {
namespace {

// The drive letter of the autorun root travels as the row's hidden number.
void AppendCheckedRow(HWND list, std::initializer_list<std::string_view> columns, const std::string& autorunRoot) {
    const int row = AppendListRow(list, columns);
    if (row < 0) return;
    if (autorunRoot.size() == 3 && autorunRoot[1] == ':' && autorunRoot[2] == '\\')
        SetRowData(list, row, static_cast<unsigned char>(autorunRoot[0]));
    SetRowCheckAndSelection(list, row, kRowChecked);
}

} // namespace

bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding) {
    if (!shieldList) return false;
    const std::array<ShieldRow, 2> rows = ShieldRowsFor(finding);
    // A drive is listed once, by its autorun file, whichever program that file names now.
    const int count = ListRowCount(shieldList);
    for (int i = 0; i < count; ++i)
        if (ListRowText(shieldList, i, 0) == rows[0].infector) return false;
    for (const ShieldRow& row : rows)
        AppendCheckedRow(shieldList, {row.infector, row.infection, row.status}, row.autorunRoot);
    return true;
}

void AddScanRow(HWND scanList, const ScanRow& row) {
    AppendCheckedRow(scanList, {row.infection, row.kind, row.identification}, row.autorunRoot);
}

void AddScanRow(HWND scanList, std::string_view infection, std::string_view kind, std::string_view identification) {
    AddScanRow(scanList, MakeScanRow(infection, kind, identification));
}

std::string AutorunRootOfRow(HWND list, int row) {
    const LPARAM letter = RowData(list, row);
    if (letter <= 0 || letter > 255) return {};
    return std::string(1, static_cast<char>(letter)) + ":\\";
}

} // namespace tollivar
