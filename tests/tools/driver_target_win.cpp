// A small window for the driver's own tests: a check-box list view, a status bar and a button that
// asks a question, so that reading them across processes is proven before the program relies on it.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

constexpr int kListId = 100;
constexpr int kStatusId = 101;
constexpr int kAskId = 102;

void AddRow(HWND list, int index, const std::string& a, const std::string& b, bool checked) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(a.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(b.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ListView_SetCheckState(list, index, checked);
}

void Build(HWND window) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 400, 200, window,
                                reinterpret_cast<HMENU>(kListId), module, nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const char* titles[] = {"Infection", "#"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = const_cast<char*>(titles[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    AddRow(list, 0, "E:\\autorun.inf", "1", true);
    AddRow(list, 1, "E:\\run.exe", "2", false);
    AddRow(list, 2, std::string(600, 'x'), "", true);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);

    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                  reinterpret_cast<HMENU>(kStatusId), module, nullptr);
    int edges[2] = {200, -1};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(" left part"));
    CreateWindowExA(0, "BUTTON", "Ask", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 420, 10, 80, 24, window,
                    reinterpret_cast<HMENU>(kAskId), module, nullptr);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Build(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kAskId) {
            const int answer = MessageBoxA(window, "Line one\n\rline two ?", "Target Box", MB_YESNO | MB_ICONWARNING);
            const std::string text = "answer=" + std::to_string(answer);
            SendDlgItemMessageA(window, kStatusId, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    WNDCLASSA cls{};
    cls.lpfnWndProc = TargetProc;
    cls.hInstance = module;
    cls.lpszClassName = "TollivarDriverTarget";
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&cls);
    CreateWindowExA(0, cls.lpszClassName, "Driver Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 560, 300,
                    nullptr, nullptr, module, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
