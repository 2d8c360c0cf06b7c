#include "ui_driver_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <utility>

#include "bench_win.h"
#include "png_writer.h"

namespace tollivar::test {
namespace {

// A block of memory inside another process, for the control messages that take pointers.
class RemoteMemory {
  public:
    RemoteMemory(DWORD pid, SIZE_T size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Ok() const { return address_ != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    LPARAM Param(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }
    std::string ReadText(SIZE_T offset, SIZE_T max) const {
        std::string s(max, '\0');
        if (!Read(offset, s.data(), max)) return {};
        s.resize(std::strlen(s.c_str()));
        return s;
    }
    void Clear() const {
        std::string zeros(size_, '\0');
        Write(0, zeros.data(), size_);
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

DWORD OwnerPid(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

struct TopWindowSearch {
    DWORD pid;
    const char* className;
    const char* caption;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TopWindowSearch*>(param);
    if (s->pid && OwnerPid(window) != s->pid) return TRUE;
    if (s->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (s->className && ClassOf(window) != s->className) return TRUE;
    if (s->caption && WindowText(window) != s->caption) return TRUE;
    s->found = window;
    return FALSE;
}

void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

HWND OpenTrayMenu(HWND mainWindow, DWORD pid) {
    PostTrayClick(mainWindow, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindTopWindow(pid, "#32768", nullptr, true)) != nullptr; }, 3000, 10);
    return menu;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return condition();
        Sleep(stepMs);
    }
}

RunningApp RunningApp::Start(const std::string& exePath, const std::string& arguments) {
    const std::wstring exe = Widen(exePath);
    std::wstring commandLine = L"\"" + exe + L"\"" + Widen(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup,
                        &info))
        return RunningApp(nullptr, 0);
    CloseHandle(info.hThread);
    return RunningApp(info.hProcess, info.dwProcessId);
}

RunningApp RunningApp::StartWithWineDebug(const std::string& exePath, const std::string& wineDebug,
                                          const std::string& arguments) {
    // The child takes its environment from ours: set WINEDEBUG for the start only.
    wchar_t previous[512] = {};
    const bool hadPrevious = GetEnvironmentVariableW(L"WINEDEBUG", previous, 512) > 0;
    SetEnvironmentVariableW(L"WINEDEBUG", Widen(wineDebug).c_str());
    RunningApp app = Start(exePath, arguments);
    SetEnvironmentVariableW(L"WINEDEBUG", hadPrevious ? previous : nullptr);
    return app;
}

RunningApp::RunningApp(RunningApp&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

RunningApp::~RunningApp() {
    Kill();
    if (process_) CloseHandle(process_);
}

bool RunningApp::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningApp::WaitForExit(DWORD timeoutMs) const {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void RunningApp::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
}

HWND RunningApp::WaitForMainWindow(bool visible, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(pid_, "#32770", "Tollivar", visible)) != nullptr; }, timeoutMs);
    return found;
}

HWND FindTopWindow(DWORD pid, const char* className, const char* caption, bool visibleOnly) {
    TopWindowSearch search{pid, className, caption, visibleOnly, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Control(HWND parent, int id) { return GetDlgItem(parent, id); }

void ClickButton(HWND parent, int id) { PostMessageA(Control(parent, id), BM_CLICK, 0, 0); }

void PostCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    // WM_GETTEXT is carried across processes by the system.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return buffer;
}

std::string ControlText(HWND parent, int id) { return WindowText(Control(parent, id)); }

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsShown(HWND window) { return IsWindowVisible(window) && !IsIconic(window); }

std::vector<std::string> StatusBarTexts(HWND statusBar) {
    std::vector<std::string> texts;
    const int parts = static_cast<int>(SendMessageA(statusBar, SB_GETPARTS, 0, 0));
    RemoteMemory remote(OwnerPid(statusBar), 4096);
    if (!remote.Ok()) return texts;
    for (int part = 0; part < parts; ++part) {
        remote.Clear();
        SendMessageA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), remote.Param());
        texts.push_back(remote.ReadText(0, 4096));
    }
    return texts;
}

std::vector<int> StatusBarRightEdges(HWND statusBar) {
    const int parts = static_cast<int>(SendMessageA(statusBar, SB_GETPARTS, 0, 0));
    std::vector<int> edges(parts > 0 ? parts : 0);
    RemoteMemory remote(OwnerPid(statusBar), sizeof(int) * 256);
    if (!remote.Ok() || edges.empty()) return edges;
    SendMessageA(statusBar, SB_GETPARTS, static_cast<WPARAM>(parts), remote.Param());
    remote.Read(0, edges.data(), sizeof(int) * edges.size());
    return edges;
}

int ListColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<ListRow> ReadListView(HWND list) {
    std::vector<ListRow> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const int columns = ListColumnCount(list) > 0 ? ListColumnCount(list) : 1;
    constexpr SIZE_T kTextOffset = sizeof(LVITEMA);
    constexpr SIZE_T kTextSize = 1024;
    RemoteMemory remote(OwnerPid(list), kTextOffset + kTextSize);
    if (!remote.Ok()) return rows;
    for (int row = 0; row < count; ++row) {
        ListRow r;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iSubItem = column;
            item.pszText = remote.At(kTextOffset);
            item.cchTextMax = static_cast<int>(kTextSize);
            remote.Clear();
            remote.Write(0, &item, sizeof item);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), remote.Param());
            r.columns.push_back(remote.ReadText(kTextOffset, kTextSize));
        }
        const UINT state = static_cast<UINT>(
            SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK | LVIS_SELECTED));
        r.checked = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        r.selected = (state & LVIS_SELECTED) != 0;
        rows.push_back(r);
    }
    return rows;
}

std::vector<std::vector<std::wstring>> ReadListViewWide(HWND list) {
    std::vector<std::vector<std::wstring>> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const int columns = ListColumnCount(list) > 0 ? ListColumnCount(list) : 1;
    constexpr SIZE_T kTextOffset = sizeof(LVITEMW);
    constexpr SIZE_T kTextUnits = 1024;
    RemoteMemory remote(OwnerPid(list), kTextOffset + kTextUnits * sizeof(wchar_t));
    if (!remote.Ok()) return rows;
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
            item.cchTextMax = static_cast<int>(kTextUnits);
            remote.Clear();
            remote.Write(0, &item, sizeof item);
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), remote.Param());
            std::wstring text(kTextUnits, L'\0');
            if (!remote.Read(kTextOffset, text.data(), kTextUnits * sizeof(wchar_t))) text.clear();
            text.resize(std::wcslen(text.c_str()));
            texts.push_back(text);
        }
        rows.push_back(texts);
    }
    return rows;
}

std::vector<std::string> ListColumnTitles(HWND list) {
    std::vector<std::string> titles;
    const int count = ListColumnCount(list);
    constexpr SIZE_T kTextOffset = sizeof(LVCOLUMNA);
    constexpr SIZE_T kTextSize = 256;
    RemoteMemory remote(OwnerPid(list), kTextOffset + kTextSize);
    if (!remote.Ok()) return titles;
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = remote.At(kTextOffset);
        column.cchTextMax = static_cast<int>(kTextSize);
        remote.Clear();
        remote.Write(0, &column, sizeof column);
        SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), remote.Param());
        titles.push_back(remote.ReadText(kTextOffset, kTextSize));
    }
    return titles;
}

std::vector<int> ListColumnWidths(HWND list) {
    std::vector<int> widths;
    for (int i = 0; i < ListColumnCount(list); ++i)
        widths.push_back(static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0)));
    return widths;
}

bool SelectListRow(HWND list, int row) {
    RemoteMemory remote(OwnerPid(list), sizeof(LVITEMA));
    if (!remote.Ok()) return false;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    return SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.Param()) != FALSE;
}

bool InsertListRow(HWND list, const std::string& text, bool checked) {
    constexpr SIZE_T kTextOffset = sizeof(LVITEMA);
    constexpr SIZE_T kTextSize = 512;
    RemoteMemory remote(OwnerPid(list), kTextOffset + kTextSize);
    if (!remote.Ok() || text.size() >= kTextSize) return false;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = remote.At(kTextOffset);
    remote.Clear();
    remote.Write(0, &item, sizeof item);
    remote.Write(kTextOffset, text.c_str(), text.size() + 1);
    const LRESULT row = SendMessageA(list, LVM_INSERTITEMA, 0, remote.Param());
    if (row < 0) return false;
    const DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    if (!(extended & LVS_EX_CHECKBOXES)) return true;
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    remote.Write(0, &state, sizeof state);
    return SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), remote.Param()) != FALSE;
}

std::vector<std::string> TabTexts(HWND tab) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    constexpr SIZE_T kTextOffset = sizeof(TCITEMA);
    constexpr SIZE_T kTextSize = 256;
    RemoteMemory remote(OwnerPid(tab), kTextOffset + kTextSize);
    if (!remote.Ok()) return texts;
    for (int i = 0; i < count; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote.At(kTextOffset);
        item.cchTextMax = static_cast<int>(kTextSize);
        remote.Clear();
        remote.Write(0, &item, sizeof item);
        SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), remote.Param());
        texts.push_back(remote.ReadText(kTextOffset, kTextSize));
    }
    return texts;
}

int TabSelection(HWND tab) { return static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)); }

bool ClickTab(HWND tab, int index) {
    RemoteMemory remote(OwnerPid(tab), sizeof(RECT));
    if (!remote.Ok()) return false;
    if (!SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), remote.Param())) return false;
    RECT rect{};
    if (!remote.Read(0, &rect, sizeof rect)) return false;
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(tab, WM_LBUTTONUP, 0, point);
    return true;
}

std::optional<MessageBoxView> ReadMessageBox(HWND box) {
    if (!box || !IsWindow(box)) return std::nullopt;
    MessageBoxView view;
    view.window = box;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string cls = ClassOf(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (cls == "Button") {
            if (IsWindowVisible(child)) view.buttons.push_back(WindowText(child));
        } else if (cls == "Static") {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                if (SendMessageA(child, STM_GETICON, 0, 0)) view.hasIcon = true;
            } else if (view.text.empty()) {
                view.text = WindowText(child);
            }
        }
    }
    return view;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, const char* caption, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindTopWindow(pid, "#32770", caption, true)) != nullptr; }, timeoutMs))
        return std::nullopt;
    return ReadMessageBox(box);
}

void AnswerMessageBox(HWND box, int buttonId) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

void PostTrayClick(HWND mainWindow, UINT mouseMessage) {
    PostMessageA(mainWindow, kTrayCallbackMessage, 0, static_cast<LPARAM>(mouseMessage));
}

bool PickTrayMenuItem(HWND mainWindow, DWORD pid, int choosablePosition) {
    HWND menu = OpenTrayMenu(mainWindow, pid);
    if (!menu) return false;
    for (int i = 0; i <= choosablePosition; ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
    return WaitUntil([&] { return !IsWindowVisible(menu); }, 3000, 10);
}

bool OpenAndCancelTrayMenu(HWND mainWindow, DWORD pid) {
    HWND menu = OpenTrayMenu(mainWindow, pid);
    if (!menu) return false;
    PostKey(menu, VK_ESCAPE);
    return WaitUntil([&] { return !IsWindowVisible(menu); }, 3000, 10);
}

bool TrayIconExists(HWND window, UINT id) {
    // Modifying nothing succeeds only for an icon the shell holds.
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = id;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

std::optional<std::string> TrayIconTip(HWND window, UINT id) {
    if (!TrayIconExists(window, id)) return std::nullopt;
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return std::nullopt;
    const DWORD trayPid = OwnerPid(tray);
    // The tray keeps one tooltip per icon; the tip of our icon is among their tools.
    std::vector<std::string> tips;
    HWND tooltip = nullptr;
    while ((tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
        if (OwnerPid(tooltip) != trayPid) continue;
        const int tools = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        constexpr SIZE_T kTextOffset = sizeof(TTTOOLINFOA);
        RemoteMemory remote(trayPid, kTextOffset + 1024);
        if (!remote.Ok()) continue;
        for (int t = 0; t < tools; ++t) {
            remote.Clear();
            TTTOOLINFOA info{};
            info.cbSize = sizeof info;
            info.lpszText = remote.At(kTextOffset);
            remote.Write(0, &info, sizeof info);
            if (SendMessageA(tooltip, TTM_ENUMTOOLSA, static_cast<WPARAM>(t), remote.Param()))
                tips.push_back(remote.ReadText(kTextOffset, 1024));
        }
    }
    if (tips.size() != 1) return tips.empty() ? std::nullopt : std::optional<std::string>(tips.back());
    return tips.front();
}

void PressCloseBox(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void PressKey(HWND window, WPARAM key) { PostKey(window, key); }

void PressAltF4(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void Minimise(HWND window) { ShowWindowAsync(window, SW_MINIMIZE); }

std::string SaveScreenshot(const std::string& name, HWND window) {
    // Let the program finish the paints its last messages caused.
    if (window) SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    Sleep(400);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window) GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string written;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
        const auto* bgra = static_cast<const std::uint8_t*>(bits);
        for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
            rgb[i * 3] = bgra[i * 4 + 2];
            rgb[i * 3 + 1] = bgra[i * 4 + 1];
            rgb[i * 3 + 2] = bgra[i * 4];
        }
        const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
        const std::string path = ScreenshotPath(name);
        if (WriteTextFile(path, std::string(png.begin(), png.end()))) written = path;
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

} // namespace tollivar::test
