#include "pages/list_selection_win.h"

#include "pages/list_rows_win.h"

namespace tollivar {

void SelectAllRows(HWND list, int select) {
    const int count = ListRowCount(list);
    const UINT check = select == 1 ? kRowChecked : kRowUnchecked;
    for (int row = 0; row < count; ++row) SetRowCheckAndSelection(list, row, check);
}

} // namespace tollivar
