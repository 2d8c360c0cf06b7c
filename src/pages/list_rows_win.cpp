#include "pages/list_rows_win.h"

#include <commctrl.h>

#include <algorithm>

#include "win/wide_text_win.h"

namespace tollivar {
namespace {

constexpr int kTextBuffer = 512;

// Copies a UTF-8 text into the buffer as UTF-16, cut to what it holds (never inside a surrogate pair).
void FillBuffer(wchar_t (&buffer)[kTextBuffer], std::string_view text) {
    std::fill(std::begin(buffer), std::end(buffer), L'\0');
    const std::wstring wide = WideFromUtf8(text);
    std::size_t length = std::min(wide.size(), static_cast<std::size_t>(kTextBuffer - 1));
    if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
    std::copy_n(wide.data(), length, buffer);
}

} // namespace

int ListRowCount(HWND list) { return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0; }

int AppendListRow(HWND list, std::initializer_list<std::string_view> columns) {
    if (!list || columns.size() == 0) return -1;
    wchar_t buffer[kTextBuffer];
    auto text = columns.begin();
    FillBuffer(buffer, *text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListRowCount(list);
    item.pszText = buffer;
    item.cchTextMax = kTextBuffer;
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return -1;
    int column = 1;
    for (++text; text != columns.end(); ++text, ++column) {
        FillBuffer(buffer, *text);
        LVITEMW sub{};
        sub.mask = LVIF_TEXT;
        sub.iItem = row;
        sub.iSubItem = column;
        sub.pszText = buffer;
        sub.cchTextMax = kTextBuffer;
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&sub));
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
    wchar_t buffer[kTextBuffer] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kTextBuffer;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    buffer[kTextBuffer - 1] = L'\0';
    return Utf8FromWide(buffer);
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
