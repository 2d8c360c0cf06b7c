#include "pages/page_controls_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "config/install_paths_win.h"
#include "pages/tab_control_win.h"
#include "win/fonts_win.h"

namespace tollivar {

void PageControls::Add(int id, HWND control) {
    const int index = id - firstId_;
    if (index >= 0 && index < static_cast<int>(handles_.size())) handles_[static_cast<std::size_t>(index)] = control;
}

HWND PageControls::Get(int id) const {
    const int index = id - firstId_;
    if (index < 0 || index >= static_cast<int>(handles_.size())) return nullptr;
    return handles_[static_cast<std::size_t>(index)];
}

void PageControls::Show(bool show) const {
    for (HWND control : handles_)
        if (control) ShowWindow(control, show ? SW_SHOWNORMAL : SW_HIDE);
}

void SetControlFont(HWND control, ControlFont font) {
    if (!control || font == ControlFont::None) return;
    HFONT handle = font == ControlFont::Bold ? BoldFont() : NormalFont();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(handle), 0);
}

void SetControlText(HWND control, std::string_view text) {
    char buffer[512] = {};
    std::memcpy(buffer, text.data(), std::min(text.size(), sizeof buffer - 1));
    SetWindowTextA(control, buffer);
}

namespace {

constexpr DWORD kCommonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

struct ClassAndStyle {
    const char* className;
    DWORD style;
};

ClassAndStyle ClassAndStyleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Text:
        return {"Static", SS_LEFT | SS_REALSIZEIMAGE};
    case ControlKind::CentredText:
        return {"Static", SS_CENTER | SS_REALSIZEIMAGE};
    case ControlKind::Icon:
        return {"Static", SS_ICON | SS_CENTERIMAGE};
    case ControlKind::Group:
        return {"Button", BS_GROUPBOX};
    case ControlKind::Command:
        return {"Button", BS_USERBUTTON};
    case ControlKind::CheckBox:
        return {"Button", BS_AUTOCHECKBOX};
    case ControlKind::Radio:
        return {"Button", BS_AUTORADIOBUTTON};
    }
    return {"Static", SS_LEFT};
}

} // namespace

HWND CreatePageControl(HWND mainWindow, const ControlSpec& spec, PageControls& page) {
    const ClassAndStyle cs = ClassAndStyleOf(spec.kind);
    // Commands are children of the main window so that their clicks reach its command table.
    HWND parent = spec.kind == ControlKind::Command ? mainWindow : PagePanel();
    HWND control = CreateWindowExA(0, cs.className, spec.text, kCommonStyle | cs.style, spec.x, spec.y, spec.width,
                                   spec.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                   ModuleInstance(), nullptr);
    if (spec.kind == ControlKind::Icon && spec.icon && control)
        SendMessageA(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(Icons().*spec.icon));
    SetControlFont(control, spec.font);
    page.Add(spec.id, control);
    return control;
}

HWND CreateCheckListView(int id, int x, int y, int width, int height, const ListColumn* columns, int columnCount,
                         PageControls& page) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "Listview",
                                kCommonStyle | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_AUTOARRANGE, x, y, width,
                                height, PagePanel(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ModuleInstance(), nullptr);
    page.Add(id, list);
    if (!list) return nullptr;
    SetControlFont(list, ControlFont::Normal);
    const DWORD extended = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, static_cast<LPARAM>(-1));
    for (int i = 0; i < columnCount; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = columns[i].width;
        column.pszText = const_cast<char*>(columns[i].header);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void AttachRowIcon(HWND list, HICON icon) {
    if (!list) return;
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 0);
    if (!images) return;
    // Without LVS_SHAREIMAGELISTS the list view destroys the image list when it goes, so nothing
    // here may own it.
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    ImageList_AddIcon(images, icon);
}

} // namespace tollivar
