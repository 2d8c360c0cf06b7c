#include "engine/detection_lists_win.h"

#include "engine/autorun_rules.h"
#include "pages/list_rows_win.h"

namespace tollivar {
namespace {

void AppendCheckedRow(HWND list, std::initializer_list<std::string_view> columns) {
    const int row = AppendListRow(list, columns);
    if (row >= 0) SetRowCheckAndSelection(list, row, kRowChecked);
}

} // namespace

bool AddShieldDetection(HWND shieldList, const AutorunFinding& finding) {
    if (!shieldList) return false;
    const std::array<ShieldRow, 2> rows = ShieldRowsFor(finding);
    // A drive is listed once, by its autorun file, whichever program that file names now.
    const int count = ListRowCount(shieldList);
    for (int i = 0; i < count; ++i)
        if (ListRowText(shieldList, i, 0) == rows[0].infector) return false;
    for (const ShieldRow& row : rows) AppendCheckedRow(shieldList, {row.infector, row.infection, row.status});
    return true;
}

void AddScanRow(HWND scanList, const ScanRow& row) {
    AppendCheckedRow(scanList, {row.infection, row.kind, row.identification});
}

void AddScanRow(HWND scanList, std::string_view infection, std::string_view kind, std::string_view identification) {
    AddScanRow(scanList, MakeScanRow(infection, kind, identification));
}

} // namespace tollivar
