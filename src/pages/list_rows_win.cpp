#include "pages/list_rows_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace tollivar {
namespace {

constexpr int kTextBuffer = 512;

// Copies a text into the buffer, cut to what it holds.
void FillBuffer(char (&buffer)[kTextBuffer], std::string_view text) {
    std::memset(buffer, 0, sizeof buffer);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(kTextBuffer - 1));
    std::memcpy(buffer, text.data(), length);
}

} // namespace

int ListRowCount(HWND list) { return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0; }

int AppendListRow(HWND list, std::initializer_list<std::string_view> columns) {
    if (!list || columns.size() == 0) return -1;
    char buffer[kTextBuffer];
    auto text = columns.begin();
    FillBuffer(buffer, *text);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListRowCount(list);
    item.pszText = buffer;
    item.cchTextMax = kTextBuffer;
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    int column = 1;
    for (++text; text != columns.end(); ++text, ++column) {
        FillBuffer(buffer, *text);
        LVITEMA sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = row;
        sub.iSubItem = column;
        sub.pszText = buffer;
        sub.cchTextMax = kTextBuffer;
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

void SetRowCheckAndSelection(HWND list, int row, UINT checkState) {
    LVITEMA item{};
    item.iSubItem = 0;
    item.stateMask = kCheckAndSelectMask;
    item.state = checkState | LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListRowText(HWND list, int row, int column) {
    char buffer[kTextBuffer] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kTextBuffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    buffer[kTextBuffer - 1] = '\0';
    return buffer;
}

void SetRowData(HWND list, int row, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM RowData(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

bool RowIsChecked(HWND list, int row) {
    const UINT state =
        static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == kRowChecked;
}

} // namespace tollivar
