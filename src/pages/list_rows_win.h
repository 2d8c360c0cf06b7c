// Rows of the check-box list views: texts are UTF-8 here and UTF-16 in the list; every text passes
// through a 512-character buffer of the caller's own stack, so a column holds at most 511 UTF-16
// units and no buffer is shared between threads.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace tollivar {

// Item state of a row: state image 1 is an unchecked box, 2 a checked one.
inline constexpr UINT kRowUnchecked = 0x1000;
inline constexpr UINT kRowChecked = 0x2000;
inline constexpr UINT kCheckAndSelectMask = LVIS_STATEIMAGEMASK | LVIS_SELECTED; // 0xF002

int ListRowCount(HWND list);

// Appends a row at the end of the list with these column texts; returns its index (-1 on failure).
int AppendListRow(HWND list, std::initializer_list<std::string_view> columns);

// Sets the check box and the selection of one row.
void SetRowCheckAndSelection(HWND list, int row, UINT checkState);

std::string ListRowText(HWND list, int row, int column);

// A number kept with a row and never shown (the item's lParam); 0 unless set.
void SetRowData(HWND list, int row, LPARAM data);
LPARAM RowData(HWND list, int row);
bool RowIsChecked(HWND list, int row);

} // namespace tollivar
